#include "platform/files/paths.h"

#include <gtest/gtest.h>

#include "platform/runtime/errors.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using testsupport::TempDir;

TEST(Paths, BackslashAndSlashBothSeparateFolders) {
    EXPECT_EQ(platform::nativePath("a\\b/c\\d.wav"), std::filesystem::path("a/b/c/d.wav"));
}

TEST(Paths, FileExistsOnlyForOrdinaryFilesAndKillRaises53Or75) {
    TempDir dir;
    testsupport::writeFile(dir.path() / "x.ini", "");
    EXPECT_TRUE(platform::FileExists(dir.path().string() + "\\x.ini"));
    EXPECT_FALSE(platform::FileExists(dir.path().string()));
    EXPECT_FALSE(platform::FileExists(""));
    platform::Kill(dir.path().string() + "\\x.ini");
    EXPECT_FALSE(platform::FileExists(dir.file("x.ini")));
    auto numberOf = [](const std::string& path) {
        return testsupport::errorNumberOf([&] { platform::Kill(path); });
    };
    EXPECT_EQ(numberOf(dir.file("x.ini")), 53);
    EXPECT_EQ(numberOf(dir.path().string()), 75);
    testsupport::writeFile(dir.path() / "kept.ini", "");
    std::filesystem::permissions(dir.path() / "kept.ini", std::filesystem::perms(0444));
    EXPECT_EQ(numberOf(dir.file("kept.ini")), 75);
    EXPECT_TRUE(platform::FileExists(dir.file("kept.ini")));
}

TEST(Paths, ProgramFolderIsTheExecutablesFolderUnlessSet) {
    const std::string original = platform::programFolder();
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(original) / "test_platform_files"));
    platform::setProgramFolder("/some/where");
    EXPECT_EQ(platform::programFolder(), "/some/where");
    platform::setProgramFolder(original);
}

}  // namespace
