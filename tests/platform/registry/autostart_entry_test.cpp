#include "platform/registry/autostart_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/registry/registry_store.h"
#include "support/registry_test.h"

namespace {

namespace fs = std::filesystem;
using namespace win;
using Arguments = std::vector<std::string>;
using testsupport::readFile;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string entryWith(const std::string& exec) {
    std::string entry = "[Desktop Entry]\nType=Application\nName=TarnixIM\nExec=";
    entry += exec;
    entry += "\nX-GNOME-Autostart-enabled=true\nTerminal=false\n";
    return entry;
}

TEST(ExecValue, QuotesReservedCharactersThenEscapesBackslashesAndPercents) {
    struct Case {
        Arguments arguments;
        std::string exec;  // as the file holds it
    };
    for (const Case& c : {
             Case{{"/opt/tarnix/tarnix"}, "/opt/tarnix/tarnix"},
             Case{{"/opt/Tarnix IM/tarnix"}, "\"/opt/Tarnix IM/tarnix\""},
             Case{{"/opt/my \"x\"/tarnix"}, "\"/opt/my \\\\\"x\\\\\"/tarnix\""},
             Case{{"/opt/a`b/tarnix"}, "\"/opt/a\\\\`b/tarnix\""},
             Case{{"/opt/$HOME/tarnix"}, "\"/opt/\\\\$HOME/tarnix\""},
             Case{{"/opt/a\\b/tarnix"}, "\"/opt/a\\\\\\\\b/tarnix\""},
             Case{{"/opt/100%/tarnix"}, "/opt/100%%/tarnix"},
             Case{{"/opt/it's 100%/tarnix"}, "\"/opt/it's 100%%/tarnix\""},
             Case{{"/opt/jos\xC3\xA9;/tarnix"}, "\"/opt/jos\xC3\xA9;/tarnix\""},
             Case{{"tarnix", "--a=1", "", "two words"}, "tarnix --a=1 \"\" \"two words\""},
         }) {
        EXPECT_EQ(platform::execValue(c.arguments).value(), c.exec) << c.arguments[0];
        EXPECT_EQ(platform::autostartEntry(c.arguments).value(), entryWith(c.exec));
    }
}

TEST(ExecValue, RefusesWhatALineOfTheFileCannotHold) {
    for (const Arguments& arguments :
         {Arguments{"/opt/a\nb"}, Arguments{"/opt/a\rb"}, Arguments{"/opt/a\tb"},
          Arguments{"/opt/\xFF"}, Arguments{"/opt/\xC3"}, Arguments{"/opt/\xE0\x82\xA9"},
          Arguments{"/opt/\xED\xA0\x80"}, Arguments{"/opt/\xC2\x85"}, Arguments{"/opt/a=b/tarnix"},
          Arguments{"/opt/t", "x\ny"}, Arguments{""}, Arguments{}}) {
        EXPECT_FALSE(platform::execValue(arguments)) << testing::PrintToString(arguments);
    }
}

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder());
        for (const char* name : {"tarnix", "other.exe"}) {
            testsupport::writeFile(folder() / name, "");
        }
    }
    // A folder with a blank, holding "tarnix" and "other.exe".
    fs::path folder() const { return dir_.path() / "Tarnix IM"; }
    std::string windows(const std::string& name) const { return folder().string() + "\\" + name; }
    std::string between(const char* before, const std::string& name, const char* after) const {
        std::string text = before;
        text += windows(name);
        text += after;
        return text;
    }

    testsupport::TempDir dir_;
};

TEST_F(CommandLine, NamesTheRealExecutableAndSplitsTheArguments) {
    const std::string tarnix = (folder() / "tarnix").string();
    struct Case {
        std::string commandLine;
        Arguments arguments;
    };
    for (const Case& c : {
             Case{windows("tarnix.exe"), {tarnix}},
             Case{between(" ", "tarnix.exe", "\t"), {tarnix}},
             Case{windows("tarnix.EXE") + " --min \"a b\"", {tarnix, "--min", "a b"}},
             Case{windows("other.exe"), {(folder() / "other.exe").string()}},
             Case{between("\"", "tarnix.exe", "\" -x"), {tarnix, "-x"}},
             Case{between("\"", "gone.exe", ""), {(folder() / "gone").string()}},
             Case{"\"/t\" a\\\\\"b c\" d\\\"e f\\g \"h\"\"i\"",
                  {"/t", "a\\b c", "d\"e", "f\\g", "h\"i"}},
             Case{"/nowhere/a b.exe", {"/nowhere/a b"}},
             Case{"notepad.exe", {"notepad"}},
         }) {
        EXPECT_EQ(platform::commandArguments(c.commandLine).value(), c.arguments) << c.commandLine;
    }
}

TEST_F(CommandLine, RefusesNoProgramAndRelativePaths) {
    for (const char* commandLine : {"", "  ", "\"\" x", "C:\\Program Files\\x.exe", "a/b"}) {
        EXPECT_FALSE(platform::commandArguments(commandLine)) << commandLine;
    }
}

class AutostartMirror : public testsupport::RegistryTest {
  protected:
    fs::path entry(const std::string& name) const {
        return configDir() / "autostart" / (name + ".desktop");
    }
    static int32_t set(HKEY root, const std::string& path, const std::string& name,
                       const std::string& data, uint32_t type = REG_SZ) {
        return testsupport::storeValue(platform::registryStore(), path, name, type, data, root);
    }
    static int32_t remove(const std::string& path, const std::string& name) {
        HKEY key = 0;
        int32_t status = RegOpenKeyA(HKEY_CURRENT_USER, path, key);
        status = status == kRegOk ? RegDeleteValueA(key, name) : status;
        RegCloseKey(key);
        return status;
    }
};

TEST_F(AutostartMirror, ARunValueMakesItsEntryAndLosesItWithTheValueOrTheKey) {
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "Tarnix.exe", "/opt/Tarnix IM\\tarnix.exe"), kRegOk);
    EXPECT_EQ(readFile(entry("Tarnix.exe")), entryWith("\"/opt/Tarnix IM/tarnix\""));
    // Another spelling names the same value, and so the same entry.
    ASSERT_EQ(set(HKEY_CURRENT_USER, "SOFTWARE\\microsoft\\Windows\\CurrentVersion\\RUN",
                  "TARNIX.EXE", "/opt/tarnix\\tarnix.exe"),
              kRegOk);
    EXPECT_EQ(readFile(entry("Tarnix.exe")), entryWith("/opt/tarnix/tarnix"));
    EXPECT_EQ(testsupport::filesIn(configDir() / "autostart").size(), 1u);
    ASSERT_EQ(remove(kRun, "tarnix.exe"), kRegOk);
    EXPECT_FALSE(fs::exists(entry("Tarnix.exe")));

    // The data is Windows-1252 bytes; the entry is UTF-8.
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "caf\xC3\xA9", "/opt/caf\xE9\\c.exe"), kRegOk);
    EXPECT_EQ(readFile(entry("caf\xC3\xA9")), entryWith("/opt/caf\xC3\xA9/c"));
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "b", "/opt/b"), kRegOk);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kRun), kRegOk);
    EXPECT_EQ(testsupport::filesIn(configDir() / "autostart"), Arguments{});
}

TEST_F(AutostartMirror, ValuesElsewhereMakeNoEntry) {
    const std::string run = kRun;
    ASSERT_EQ(set(HKEY_LOCAL_MACHINE, run, "x.exe", "/opt/x"), kRegOk);
    ASSERT_EQ(set(HKEY_USERS, run, "x.exe", "/opt/x"), kRegOk);
    ASSERT_EQ(set(HKEY_CURRENT_USER, run + "Once", "x.exe", "/opt/x"), kRegOk);
    ASSERT_EQ(set(HKEY_CURRENT_USER, run + "\\Sub", "x.exe", "/opt/x"), kRegOk);
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\Run", "x.exe", "/opt/x"), kRegOk);
    EXPECT_FALSE(fs::exists(configDir() / "autostart"));
}

TEST_F(AutostartMirror, AValueThatCannotBeAnEntryIsRefusedInOneLineAndWritesNothing) {
    for (const auto& [name, data, type] :
         {std::tuple<std::string, std::string, uint32_t>{"x.exe", "/opt/x\n-evil", REG_SZ},
          {"x.exe", "/opt/x\x81", REG_SZ},  // undefined in Windows-1252: a C1 control
          {"x.exe", "/opt/x", REG_EXPAND_SZ},
          {"x.exe", "relative\\x.exe", REG_SZ},
          {"a/b", "/opt/x", REG_SZ},
          {"", "/opt/x", REG_SZ}}) {
        testing::internal::CaptureStderr();
        ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, name, data, type), kRegOk);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("tarnix: no autostart entry for the Run value ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(fs::exists(configDir() / "autostart")) << data;
    }
}

TEST_F(AutostartMirror, ARefusedValueTakesTheEntryOfItsEarlierDataAway) {
    for (const uint32_t type : {REG_SZ, REG_EXPAND_SZ}) {
        ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
        ASSERT_TRUE(fs::exists(entry("x.exe")));
        testing::internal::CaptureStderr();
        ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe",
                      type == REG_SZ ? "relative\\x.exe" : "/opt/y", type),
                  kRegOk);
        testing::internal::GetCapturedStderr();
        EXPECT_FALSE(fs::exists(entry("x.exe"))) << type;
    }
}

TEST_F(AutostartMirror, StoringTheSameCommandAgainLeavesTheFile) {
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
    struct stat before {};
    ASSERT_EQ(::stat(entry("x.exe").c_str(), &before), 0);
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", std::string("/opt/x\0", 7)), kRegOk);
    struct stat after {};
    ASSERT_EQ(::stat(entry("x.exe").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(AutostartMirror, ABatchMirrorsOnlyWhatItCommits) {
    {
        platform::RegistryBatch batch;
        ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
        EXPECT_FALSE(fs::exists(entry("x.exe")));
    }
    EXPECT_FALSE(fs::exists(entry("x.exe")));
    platform::RegistryBatch batch;
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
    ASSERT_EQ(batch.commit(), kRegOk);
    EXPECT_TRUE(fs::exists(entry("x.exe")));
}

TEST_F(AutostartMirror, TheFolderIsTarnixAutostartDirElseUnderXdgConfigHomeElseHome) {
    testsupport::TempDir home;
    testsupport::ScopedEnvironment environment({{"HOME", home.path().c_str()}});
    const fs::path inHome = home.path() / ".config" / "autostart" / "x.exe.desktop";
    for (const char* config : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        environment.set("XDG_CONFIG_HOME", config);
        ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
        EXPECT_TRUE(fs::exists(inHome)) << (config ? config : "unset");
        ASSERT_EQ(remove(kRun, "x.exe"), kRegOk);
        EXPECT_FALSE(fs::exists(inHome));
    }
    EXPECT_FALSE(fs::exists(configDir() / "autostart"));
    // A folder of its own wins over both.
    environment.set("TARNIX_AUTOSTART_DIR", (home.path() / "demo").c_str());
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
    EXPECT_TRUE(fs::exists(home.path() / "demo" / "x.exe.desktop"));
}

TEST_F(AutostartMirror, WithoutAnyFolderItSaysSoOnceAndStoresTheValue) {
    testsupport::ScopedEnvironment environment(
        {{"HOME", nullptr}, {"XDG_CONFIG_HOME", nullptr}, {"TARNIX_AUTOSTART_DIR", ""}});
    testing::internal::CaptureStderr();
    ASSERT_EQ(set(HKEY_CURRENT_USER, kRun, "x.exe", "/opt/x"), kRegOk);
    ASSERT_EQ(remove(kRun, "x.exe"), kRegOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tarnix: neither XDG_CONFIG_HOME nor HOME is an absolute path; the Run key's "
              "autostart entries are not kept\n");
}

}  // namespace
