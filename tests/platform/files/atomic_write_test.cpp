#include "platform/files/atomic_write.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/headless_test.h"

namespace {

using testsupport::filesIn;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(WriteFileAtomically, ReportsWhyTheFileWasNotReplaced) {
    TempDir dir;
    const platform::Status noFolder = platform::writeFileAtomically(dir.path() / "none/t.ini", "x");
    ASSERT_FALSE(noFolder);
    EXPECT_EQ(noFolder.failure().code, ENOENT);
    EXPECT_EQ(noFolder.failure().reason, "No such file or directory");

    writeFile(dir.path() / "t.ini", "old");
    std::filesystem::permissions(dir.path() / "t.ini", std::filesystem::perms(0444));
    const platform::Status readOnly = platform::writeFileAtomically(dir.path() / "t.ini", "new");
    ASSERT_FALSE(readOnly);
    EXPECT_EQ(readOnly.failure().code, EACCES);
    EXPECT_EQ(readOnly.failure().reason, "Permission denied");
    EXPECT_EQ(readFile(dir.path() / "t.ini"), "old");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"t.ini"});

    std::filesystem::permissions(dir.path() / "t.ini", std::filesystem::perms(0644));
    EXPECT_TRUE(platform::writeFileAtomically(dir.path() / "t.ini", "new"));
    EXPECT_EQ(readFile(dir.path() / "t.ini"), "new");
}

TEST(SyncToDisk, FailsForAFileThatIsNotThere) {
    TempDir dir;
    writeFile(dir.path() / "t.ini", "x");
    EXPECT_TRUE(platform::syncToDisk(dir.path() / "t.ini"));
    const platform::Status missing = platform::syncToDisk(dir.path() / "none/t.ini");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().code, ENOENT);
}

TEST(RemoveDeadWritersTemporaries, FailsForAFolderThatIsNotThere) {
    TempDir dir;
    EXPECT_TRUE(platform::removeDeadWritersTemporaries(dir.path() / "t.ini"));
    const platform::Status missing =
        platform::removeDeadWritersTemporaries(dir.path() / "none/t.ini");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().code, ENOENT);
}

}  // namespace
