#include "platform/registry/registry_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files/regular_file.h"
#include "platform/registry/hive_file.h"
#include "support/registry_test.h"
#include "support/writer_processes.h"

namespace {

using namespace win;
using platform::RegistryStore;
using testsupport::filesIn;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

int32_t save(RegistryStore& store, const std::string& path, const std::string& name, uint32_t type,
             const std::string& data) {
    HKEY key = 0;
    int32_t status = store.createKey(HKEY_CURRENT_USER, path, key);
    if (status == kRegOk) {
        status = store.setValue(key, name, type, reinterpret_cast<const uint8_t*>(data.data()),
                                static_cast<uint32_t>(data.size()));
    }
    store.closeKey(key);
    return status;
}

// Type and bytes of a value, or nullopt when it cannot be read.
std::optional<std::pair<uint32_t, std::string>> load(RegistryStore& store, const std::string& path,
                                                     const std::string& name) {
    HKEY key = 0;
    if (store.openKey(HKEY_CURRENT_USER, path, key) != kRegOk) {
        return std::nullopt;
    }
    uint32_t type = 0;
    uint32_t size = 0;
    std::optional<std::pair<uint32_t, std::string>> result;
    if (store.queryValue(key, name, &type, nullptr, &size) == kRegOk) {
        std::string data(size, '\0');
        store.queryValue(key, name, &type, reinterpret_cast<uint8_t*>(data.data()), &size);
        result.emplace(type, data);
    }
    store.closeKey(key);
    return result;
}

class RegistryStoreTest : public testsupport::RegistryTest {};

TEST_F(RegistryStoreTest, AFreshStoreReadsBackWhatAnotherWrote) {
    struct Stored {
        std::string path, name;
        uint32_t type;
        std::string data;
    };
    const Stored values[] = {
        {"Software\\Pexar", "X6Installed", REG_DWORD, std::string("\x01\0\0\0", 4)},
        {"Software\\Pexar", "", REG_SZ, "bob"},
        {"Software\\Pexar\\Sounds", "Terminated", REG_SZ, std::string("abc\0", 4)},
        {"Software\\Pexar\\Bytes", "Odd", 0x7FFF1234, std::string("\0\xff", 2)},
        {"Software\\" + std::string(5000, 'L'), std::string(20000, 'n'), REG_BINARY, ""},
    };
    {
        RegistryStore writer(registryDir());
        for (const auto& v : values) {
            ASSERT_EQ(save(writer, v.path, v.name, v.type, v.data), kRegOk) << v.name;
        }
    }
    RegistryStore reader(registryDir());
    for (const auto& v : values) {
        EXPECT_EQ(load(reader, v.path, v.name), std::make_pair(v.type, v.data)) << v.name;
    }
    EXPECT_EQ(filesIn(registryDir()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

TEST_F(RegistryStoreTest, AFileEditedOnDiskIsReadAgain) {
    RegistryStore store(registryDir());
    ASSERT_EQ(save(store, "K", "v", REG_SZ, "old"), kRegOk);
    ASSERT_EQ(load(store, "K", "v")->second, "old");
    struct stat before {};
    ASSERT_EQ(::stat(hiveFile().c_str(), &before), 0);
    // Rewritten in place, same size: only the modification time tells. A coarse clock could give
    // the rewrite the old time, so it is set to another one explicitly.
    writeFile(hiveFile(),
              "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"new\"\n");
    timespec times[2] = {before.st_atim, before.st_mtim};
    times[1].tv_sec += 1;
    ASSERT_EQ(::utimensat(AT_FDCWD, hiveFile().c_str(), times, 0), 0);
    struct stat after {};
    ASSERT_EQ(::stat(hiveFile().c_str(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(load(store, "K", "v")->second, "new");
}

TEST_F(RegistryStoreTest, ProcessesWritingAtOnceKeepEveryValue) {
    constexpr int kWriters = 4;
    constexpr int kWrites = 50;
    auto id = [](int writer, int n) { return std::to_string(writer) + "-" + std::to_string(n); };
    ASSERT_TRUE(testsupport::writeTogether(kWriters, [&](int writer) {
        RegistryStore own(registryDir());
        for (int n = 0; n < kWrites; ++n) {
            if (save(own, "Shared", "v" + id(writer, n), REG_SZ, "data" + id(writer, n)) !=
                kRegOk) {
                return false;
            }
        }
        return true;
    }));
    RegistryStore fresh(registryDir());
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int n = 0; n < kWrites; ++n) {
            EXPECT_EQ(load(fresh, "Shared", "v" + id(writer, n)),
                      std::make_pair(REG_SZ, "data" + id(writer, n)));
        }
    }
    EXPECT_EQ(filesIn(registryDir()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

TEST_F(RegistryStoreTest, WritersKilledMidwayLoseNothingAndLeaveNothingBehind) {
    std::optional<RegistryStore> own;  // one per writer process
    const auto loop =
        testsupport::killWritersMidway(testsupport::killTries(25), registryDir(), [&](int n) {
            if (!own) {
                own.emplace(registryDir());
            }
            return save(*own, "K", "v" + std::to_string(n), REG_SZ, std::to_string(n)) == kRegOk;
        });
    EXPECT_EQ(loop.failedWriters, 0);
    RegistryStore fresh(registryDir());
    ASSERT_EQ(save(fresh, "K", "last", REG_SZ, ""), kRegOk);  // clears what the last one left
    for (const int n : loop.stored) {
        ASSERT_EQ(load(fresh, "K", "v" + std::to_string(n)),
                  std::make_pair(REG_SZ, std::to_string(n)));
    }
    for (const auto& line : traced("registry")) {
        EXPECT_FALSE(line.starts_with("unreadable")) << line;
    }
    EXPECT_EQ(filesIn(registryDir()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
    std::printf("kill loop: %zu values stored, %d kills left a temporary file\n",
                loop.stored.size(), loop.temporaryFilesSeen);
}

TEST_F(RegistryStoreTest, ABatchReachesTheFileAtItsCommitOnly) {
    RegistryStore store(registryDir());
    ASSERT_EQ(save(store, "K", "old", REG_SZ, "1"), kRegOk);
    const std::string before = readFile(hiveFile());
    store.beginBatch();
    EXPECT_EQ(save(store, "K", "a", REG_SZ, "2"), kRegOk);
    EXPECT_EQ(save(store, "K\\Sub", "b", REG_SZ, "3"), kRegOk);
    EXPECT_EQ(load(store, "K\\Sub", "b"), std::make_pair(REG_SZ, std::string("3")));
    // Until the commit, the file (what a killed process would leave) is the old one.
    EXPECT_EQ(readFile(hiveFile()), before);
    store.abandonBatch();
    EXPECT_FALSE(load(store, "K", "a"));
    store.beginBatch();
    EXPECT_EQ(save(store, "K", "a", REG_SZ, "2"), kRegOk);
    EXPECT_EQ(save(store, "K", "b", REG_SZ, "3"), kRegOk);
    EXPECT_EQ(store.commitBatch(), kRegOk);
    RegistryStore fresh(registryDir());
    EXPECT_EQ(load(fresh, "K", "a"), std::make_pair(REG_SZ, std::string("2")));
    EXPECT_EQ(load(fresh, "K", "b"), std::make_pair(REG_SZ, std::string("3")));
}

TEST_F(RegistryStoreTest, DeletingWhatIsNotThereWritesNothing) {
    const auto missingFolder = registryDir() / "later";
    for (const auto& folder : {missingFolder, registryDir()}) {
        RegistryStore store(folder);
        EXPECT_EQ(store.deleteValue(HKEY_CURRENT_USER, "v"), kRegNotFound);
        EXPECT_EQ(store.deleteValue(HKEY_LOCAL_MACHINE, ""), kRegNotFound);
        EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "A"), kRegNotFound);
        EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "A\\B"), kRegNotFound);
    }
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
    EXPECT_EQ(filesIn(registryDir()), std::vector<std::string>{});
    EXPECT_TRUE(traced("registry").empty());
    // The missing folder is made at the first write; then a missing key or value leaves the file
    // as it was.
    RegistryStore store(missingFolder);
    ASSERT_EQ(save(store, "A", "v", REG_SZ, "x"), kRegOk);
    const auto file = missingFolder / "HKEY_CURRENT_USER.reg";
    const auto before = platform::registry::identityOf(file);
    EXPECT_TRUE(before.exists);
    HKEY key = 0;
    ASSERT_EQ(store.openKey(HKEY_CURRENT_USER, "A", key), kRegOk);
    EXPECT_EQ(store.deleteValue(key, "w"), kRegNotFound);
    EXPECT_EQ(store.deleteKey(key, "B"), kRegNotFound);
    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "B\\A"), kRegNotFound);
    EXPECT_EQ(platform::registry::identityOf(file), before);
    EXPECT_EQ(store.deleteValue(key, "V"), kRegOk);
    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "a"), kRegOk);
    EXPECT_EQ(store.deleteValue(key, "v"), kRegKeyDeleted);
}

TEST_F(RegistryStoreTest, AnUnreadableFileIsMovedAsideReportedAndNeverOverwritten) {
    const std::string garbage = "not a registry file\n\"X6UserID\"=\"bob\"\n";
    const std::string secondGarbage = "Windows Registry Editor Version 5.00\n\"orphan\"=\"x\"\n";
    writeFile(hiveFile(), garbage);
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "K", key), kRegNotFound);
    ASSERT_EQ(traced("registry").size(), 1u);
    const std::string line = traced("registry")[0];
    EXPECT_TRUE(line.starts_with("unreadable file=\"" + hiveFile().string() + "\"")) << line;
    EXPECT_NE(line.find("reason=\"line 1: "), std::string::npos) << line;

    // The store starts empty and writes a new file; a second bad file gets a name of its own.
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "K", key), kRegOk);
    EXPECT_EQ(RegCloseKey(key), kRegOk);
    writeFile(hiveFile(), secondGarbage);
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "K", key), kRegNotFound);
    EXPECT_EQ(traced("registry").size(), 2u);

    std::vector<std::string> aside;
    for (const auto& name : filesIn(registryDir())) {
        if (name.starts_with("HKEY_CURRENT_USER.reg.unreadable-")) {
            aside.push_back(readFile(registryDir() / name));
        }
    }
    std::sort(aside.begin(), aside.end());
    EXPECT_EQ(aside, (std::vector<std::string>{secondGarbage, garbage}));
    EXPECT_FALSE(std::filesystem::exists(hiveFile()));
    EXPECT_TRUE(traced("registry")[1].find("aside=\"" + registryDir().string()) !=
                std::string::npos);
}

// A hive path that must be neither read whole nor replaced (nor, for a folder, moved aside): it is
// reported once, not at every access; reads find nothing and writes are refused, and the thing
// itself stays as it was.
class HiveThatIsNoSettingsFile : public testsupport::RegistryTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(HiveThatIsNoSettingsFile, IsNeitherWaitedForNorReplaced) {
    const std::string kind = GetParam();
    if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(hiveFile().c_str(), 0600), 0);
    } else if (kind == "folder") {
        std::filesystem::create_directory(hiveFile());
        writeFile(hiveFile() / "keep", "x");
    } else {
        // Sparse: one byte over the limit costs no disk space.
        writeFile(hiveFile(), "Windows Registry Editor Version 5.00\n");
        std::filesystem::resize_file(hiveFile(), platform::kSettingsFileLimit + 1);
    }
    struct stat before {};
    ASSERT_EQ(::stat(hiveFile().c_str(), &before), 0);

    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "K", key), kRegNotFound);
    EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "K", key), kRegCorrupt);
    EXPECT_EQ(key, 0u);
    const uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "v", REG_DWORD, data, 4), kRegCorrupt);
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "v", nullptr, nullptr, &size), kRegNotFound);
    // Deletions are writes too: refused alike, whatever the file may hold.
    EXPECT_EQ(RegDeleteValueA(HKEY_CURRENT_USER, "v"), kRegCorrupt);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "K"), kRegCorrupt);

    struct stat after {};
    ASSERT_EQ(::stat(hiveFile().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mode, before.st_mode);
    for (const auto& name : filesIn(registryDir())) {
        EXPECT_FALSE(name.starts_with("HKEY_CURRENT_USER.reg.unreadable-")) << name;
    }
    const auto lines = traced("registry");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("unreadable file=")) << lines[0];
    EXPECT_NE(lines[0].find(kind == "oversized" ? "larger than" : "not an ordinary file"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[0].find("aside=\"\""), std::string::npos) << lines[0];
}

INSTANTIATE_TEST_SUITE_P(Kinds, HiveThatIsNoSettingsFile,
                         ::testing::Values("fifo", "folder", "oversized"));

TEST_F(RegistryStoreTest, ANewHiveIsPrivateAndALinkedOneIsWrittenThroughItsLink) {
    RegistryStore store(registryDir());
    ASSERT_EQ(save(store, "K", "v", REG_SZ, "x"), kRegOk);
    EXPECT_EQ(std::filesystem::status(hiveFile()).permissions(), std::filesystem::perms(0600));

    // The hive kept elsewhere behind a link: the link stays, the file behind it is replaced and
    // keeps its permissions.
    TempDir elsewhere;
    const auto target = elsewhere.path() / "machine.reg";
    writeFile(target, "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\M]\n");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::filesystem::create_symlink(target, hiveFile("HKEY_LOCAL_MACHINE"));
    HKEY key = 0;
    ASSERT_EQ(store.openKey(HKEY_LOCAL_MACHINE, "M", key), kRegOk);
    const uint8_t data[1] = {7};
    ASSERT_EQ(store.setValue(key, "b", REG_BINARY, data, 1), kRegOk);
    EXPECT_TRUE(std::filesystem::is_symlink(hiveFile("HKEY_LOCAL_MACHINE")));
    EXPECT_EQ(readFile(target),
              "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\M]\n\"b\"=hex:07\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere.path()), {}), 1);

    // A hive without its owner's write bit is read-only, for root too: refused, left as it is.
    std::filesystem::permissions(target, std::filesystem::perms(0444));
    EXPECT_EQ(store.setValue(key, "c", REG_BINARY, data, 1), kRegAccessDenied);
    EXPECT_EQ(readFile(target),
              "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\M]\n\"b\"=hex:07\n");
    EXPECT_EQ(store.queryValue(key, "c", nullptr, nullptr, nullptr), kRegNotFound);
}

class UnwritableFolder : public testsupport::HeadlessTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(UnwritableFolder, ReadsFindNothingAndWritesFailClearly) {
    TempDir dir;
    writeFile(dir.path() / "file", "x");
    const std::string folder =
        std::string(GetParam()) == "under-a-file" ? dir.file("file") + "/registry" : "/proc/self";
    RegistryStore store(folder);
    HKEY key = 0;
    EXPECT_EQ(store.openKey(HKEY_CURRENT_USER, "K", key), kRegNotFound);
    EXPECT_EQ(store.createKey(HKEY_CURRENT_USER, "K", key), kRegCannotWrite);
    EXPECT_EQ(key, 0u);
    uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_EQ(store.setValue(HKEY_CURRENT_USER, "v", REG_DWORD, data, 4), kRegCannotWrite);
    uint32_t size = 0;
    EXPECT_EQ(store.queryValue(HKEY_CURRENT_USER, "v", nullptr, nullptr, &size), kRegNotFound);
    ASSERT_EQ(traced("registry").size(), 2u);
    EXPECT_TRUE(traced("registry")[0].starts_with("write-failed file=")) << traced("registry")[0];
    EXPECT_EQ(readFile(dir.path() / "file"), "x");
}

INSTANTIATE_TEST_SUITE_P(Folders, UnwritableFolder, ::testing::Values("under-a-file", "system"));

// Runs body with writes to files limited to a few hundred bytes, as on a full disk.
void withFileSizeLimit(const std::function<void()>& body) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 300;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    body();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
}

TEST_F(RegistryStoreTest, AWriteThatFailsLeavesTheOldFileAndValues) {
    RegistryStore store(registryDir());
    ASSERT_EQ(save(store, "K", "v", REG_SZ, "kept"), kRegOk);
    const std::string before = readFile(hiveFile());
    withFileSizeLimit([&] {
        EXPECT_EQ(save(store, "K", "big", REG_BINARY, std::string(1000, 'b')), kRegCannotWrite);
        EXPECT_EQ(save(store, "K", "v", REG_SZ, std::string(1000, 'x')), kRegCannotWrite);
    });
    EXPECT_EQ(readFile(hiveFile()), before);
    EXPECT_EQ(load(store, "K", "v")->second, "kept");
    EXPECT_FALSE(load(store, "K", "big"));
    EXPECT_EQ(filesIn(registryDir()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
    std::vector<std::string> failures;
    for (const auto& line : traced("registry")) {
        if (!line.starts_with("set ")) {
            failures.push_back(line);
        }
    }
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("write-failed"), std::string::npos);
}

TEST(RegistryFolder, ComesFromTheEnvironment) {
    struct Case {
        const char* dir;
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const char* names[] = {"TARNIX_REGISTRY_DIR", "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : names) {
        const char* value = std::getenv(name);
        saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    const Case cases[] = {
        {"/r/dir", "/x", "/h", "/r/dir"},
        {"", "/x", "/h", "/x/tarnix/registry"},
        {nullptr, "relative", "/h", "/h/.config/tarnix/registry"},
        {nullptr, nullptr, "/h", "/h/.config/tarnix/registry"},
    };
    for (const auto& c : cases) {
        const char* values[] = {c.dir, c.xdg, c.home};
        for (int i = 0; i < 3; ++i) {
            values[i] ? ::setenv(names[i], values[i], 1) : ::unsetenv(names[i]);
        }
        EXPECT_EQ(platform::registryFolder(), c.expected);
    }
    for (int i = 0; i < 3; ++i) {
        saved[static_cast<size_t>(i)]
            ? ::setenv(names[i], saved[static_cast<size_t>(i)]->c_str(), 1)
            : ::unsetenv(names[i]);
    }
}

}  // namespace
