#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "support/loopback_server.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;

class FirstRunDefaults : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
    }
    std::string folder() const { return programFolder(); }
};

// The registry file's text for a folder: "\" doubled inside quoted data.
std::string quotedPath(const std::string& path) {
    std::string out;
    for (char c : path) {
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    return out;
}

// One "registry set" trace line: the key below HKEY_CURRENT_USER, the value, its type and size.
std::string setLine(const std::string& key, const std::string& value, int type, size_t bytes) {
    return "set key=\"HKEY_CURRENT_USER\\\\" + quotedPath(key) + "\" value=\"" + value +
           "\" type=" + std::to_string(type) + " bytes=" + std::to_string(bytes);
}

TEST_F(FirstRunDefaults, AreWrittenInOrderWithAnUnquotedAutostartEntry) {
    auto& form = load();
    const int32_t hwnd = form.hWnd();
    headless().clearTrace();
    frmTarnixTestAccess::WriteFirstRunDefaults(form);

    constexpr int kNumber = 4;  // REG_DWORD
    constexpr int kText = 1;    // REG_SZ, stored without a terminating NUL
    const std::string key = kSettingsKey;
    const std::string exe = platform::EXEName() + ".exe";
    const std::string notify = folder() + "\\sounds\\notify.wav";
    const std::string doorbell = folder() + "\\sounds\\doorbell08.wav";
    const std::string knock = folder() + "\\sounds\\knock.wav";
    EXPECT_EQ(traced("registry"),
              (std::vector<std::string>{
                  setLine(key, "X6Installed", kNumber, 4),
                  setLine(key, "X6OnTop", kNumber, 4),
                  setLine(key, "OnWindowsLoad", kNumber, 4),
                  setLine("Software\\Microsoft\\Windows\\CurrentVersion\\Run", exe, kText,
                          (folder() + "\\" + exe).size()),
                  setLine(key + "\\Alerts", "ContactOnline", kNumber, 4),
                  setLine(key + "\\Alerts", "ChatRequest", kNumber, 4),
                  setLine(key + "\\Alerts", "NewMail", kNumber, 4),
                  setLine(key + "\\Sounds", "Login", kText, notify.size()),
                  setLine(key + "\\Sounds", "ContactOnline", kText, notify.size()),
                  setLine(key + "\\Sounds", "ChatRequest", kText, doorbell.size()),
                  setLine(key + "\\Sounds", "NewMail", kText, knock.size()),
              }));
    // Made top-most without being moved, sized or activated.
    EXPECT_EQ(traced("window"), (std::vector<std::string>{"topmost hwnd=" + std::to_string(hwnd) +
                                                          " name=frmTarnix on=1"}));

    for (const auto& [name, file] : {std::pair<const char*, std::string>{"ContactOnline", notify},
                                     {"ChatRequest", doorbell},
                                     {"NewMail", knock}}) {
        EXPECT_EQ(oRegistry().GetSettingString(1, key + "\\Sounds", name), file) << name;
    }
    EXPECT_TRUE(form.TopMost());
}

TEST_F(FirstRunDefaults, ReplaceStoredValuesAndLeaveTheOthers) {
    setText("\\Sounds", "Login", "C:\\mine.wav");
    setText("\\Sounds", "GenAlert", "C:\\alert.wav");
    setNumber("X6OnTop", 0);
    frmTarnixTestAccess::WriteFirstRunDefaults(load());

    EXPECT_EQ(oRegistry().GetSettingString(1, std::string(kSettingsKey) + "\\Sounds", "Login"),
              folder() + "\\sounds\\notify.wav");
    EXPECT_EQ(oRegistry().GetSettingString(1, std::string(kSettingsKey) + "\\Sounds", "GenAlert"),
              "C:\\alert.wav");
    EXPECT_EQ(number("", "X6OnTop"), 1);
    EXPECT_EQ(number("\\Alerts", "GenAlert"), -99);
}

struct InstalledCase {
    const char* name;
    std::optional<int32_t> installed;
    std::optional<int32_t> onTop;
    bool defaultsWritten;
    bool topMost;
};

void PrintTo(const InstalledCase& c, std::ostream* os) {
    *os << c.name;
}

class SignInPageOpening : public MainWindowTest,
                          public ::testing::WithParamInterface<InstalledCase> {};

TEST_P(SignInPageOpening, WritesTheDefaultsUnlessInstalledElseAppliesOnTop) {
    const auto& param = GetParam();
    writeIni("1");
    testsupport::LoopbackServer server;
    setText("\\DAPLinks", "X6Domain", server.url("/status/200"));
    if (param.installed) {
        setNumber("X6Installed", *param.installed);
    }
    if (param.onTop) {
        setNumber("X6OnTop", *param.onTop);
    }
    auto& form = load();
    win::RunUntil(1000);

    ASSERT_EQ(form.lblInformation.Caption(), "Initializing Application.");
    EXPECT_EQ(number("", "X6Installed"), param.defaultsWritten ? 1 : *param.installed);
    EXPECT_EQ(number("", "OnWindowsLoad"), param.defaultsWritten ? 1 : -99);
    EXPECT_EQ(lInstalled, param.installed.value_or(0));
    EXPECT_EQ(form.TopMost(), param.topMost);
}

INSTANTIATE_TEST_SUITE_P(States, SignInPageOpening,
                         ::testing::Values(InstalledCase{"FreshKey", std::nullopt, std::nullopt,
                                                         true, true},
                                           InstalledCase{"InstalledNotOnTop", 1, 0, false, false},
                                           InstalledCase{"InstalledAnyOnTop", 1, 7, false, true},
                                           InstalledCase{"TwoIsFirstRun", 2, 0, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
