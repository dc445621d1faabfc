#include "platform/registry/registry_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

const auto save = [](RegistryStore& store, const std::string& path, const std::string& name,
                     uint32_t type, const std::string& data) {
    return testsupport::storeValue(store, path, name, type, data);
};
const auto load = [](RegistryStore& store, const std::string& path, const std::string& name) {
    return testsupport::storedValue(store, path, name);
};

class RegistryStoreTest : public testsupport::RegistryTest {};

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

TEST_F(RegistryStoreTest, WritersAtOnceOrKilledMidwayLoseNothing) {
    std::optional<RegistryStore> own;  // one store per writer process
    testsupport::expectWritersLoseNothing(
        registryDir(), {"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"},
        [&](const std::string& name, const std::string& value) {
            if (!own) {
                own.emplace(registryDir());
            }
            return save(*own, "K", name, REG_SZ, value) == kRegOk;
        },
        [&](const std::string& name) {
            RegistryStore fresh(registryDir());
            return load(fresh, "K", name).value_or(std::make_pair(0u, std::string("?"))).second;
        });
    for (const auto& line : traced("registry")) {
        EXPECT_FALSE(line.starts_with("unreadable")) << line;
    }
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
    // Once the file is there, a missing key or value leaves it as it was.
    RegistryStore store(registryDir());
    ASSERT_EQ(save(store, "A", "v", REG_SZ, "x"), kRegOk);
    const auto before = platform::registry::identityOf(hiveFile());
    HKEY key = 0;
    ASSERT_EQ(store.openKey(HKEY_CURRENT_USER, "A", key), kRegOk);
    EXPECT_EQ(store.deleteValue(key, "w"), kRegNotFound);
    EXPECT_EQ(store.deleteKey(key, "B"), kRegNotFound);
    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "B\\A"), kRegNotFound);
    EXPECT_EQ(platform::registry::identityOf(hiveFile()), before);
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

// A hive path that must be neither read whole nor replaced (a FIFO would block the reader; a
// folder or a file over the limit is refused the same way): it is reported once, not at every
// access; reads find nothing and writes are refused, and the thing itself stays as it was.
TEST_F(RegistryStoreTest, AFifoAtTheHivesPlaceIsNeitherWaitedForNorReplaced) {
    ASSERT_EQ(::mkfifo(hiveFile().c_str(), 0600), 0);
    const auto before = platform::registry::identityOf(hiveFile());

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

    EXPECT_EQ(platform::registry::identityOf(hiveFile()), before);
    EXPECT_EQ(filesIn(registryDir()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
    ASSERT_EQ(traced("registry").size(), 1u);
    const std::string line = traced("registry")[0];
    EXPECT_TRUE(line.starts_with("unreadable file=") && line.ends_with(" aside=\"\"")) << line;
    EXPECT_NE(line.find("not an ordinary file"), std::string::npos) << line;
}

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

TEST_F(RegistryStoreTest, AFolderItCannotWriteInFindsNothingAndFailsClearly) {
    RegistryStore store("/proc/self");
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
}

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
    using Values = std::array<const char*, 3>;
    const Values names = {"TARNIX_REGISTRY_DIR", "XDG_CONFIG_HOME", "HOME"};
    auto setAll = [&](const Values& values) {
        for (size_t i = 0; i < names.size(); ++i) {
            values[i] ? ::setenv(names[i], values[i], 1) : ::unsetenv(names[i]);
        }
    };
    std::array<std::string, 3> kept;
    Values saved{};
    for (size_t i = 0; i < names.size(); ++i) {
        const char* value = std::getenv(names[i]);
        saved[i] = value ? (kept[i] = value).c_str() : nullptr;
    }
    const std::pair<Values, std::string> cases[] = {
        {{"/r/dir", "/x", "/h"}, "/r/dir"},
        {{"", "/x", "/h"}, "/x/tarnix/registry"},
        {{nullptr, "relative", "/h"}, "/h/.config/tarnix/registry"},
        {{nullptr, nullptr, "/h"}, "/h/.config/tarnix/registry"},
    };
    for (const auto& [values, expected] : cases) {
        setAll(values);
        EXPECT_EQ(platform::registryFolder(), expected);
    }
    setAll(saved);
}

}  // namespace
