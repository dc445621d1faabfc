#include "platform/registry/hive_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/files/regular_file.h"
#include "support/headless_test.h"

namespace {

using platform::registry::identityOf;
using testsupport::filesIn;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(ReadWhole, GivesTheBytesWithTheirIdentityOrSaysWhichFileFailed) {
    TempDir dir;
    const auto file = dir.path() / "HKEY_USERS.reg";
    writeFile(file, "hive");
    const auto read = platform::registry::readWhole(file);
    ASSERT_TRUE(read) << read.failure().reason;
    EXPECT_EQ(read->bytes, "hive");
    EXPECT_EQ(read->identity, identityOf(file));

    const auto folder = platform::registry::readWhole(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.failure().code, platform::kNotOrdinaryFile);
    EXPECT_EQ(folder.failure().reason,
              "cannot read " + dir.path().string() + ": not an ordinary file");
}

TEST(MoveAside, KeepsTheFileUnderANewNameOrSaysWhyNot) {
    TempDir dir;
    const auto file = dir.path() / "HKEY_USERS.reg";
    writeFile(file, "garbage");
    const auto aside = platform::registry::moveAside(file);
    ASSERT_TRUE(aside) << aside.failure().reason;
    EXPECT_TRUE(aside->filename().string().starts_with("HKEY_USERS.reg.unreadable-"));
    EXPECT_EQ(readFile(*aside), "garbage");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{aside->filename().string()});

    const auto missing = platform::registry::moveAside(file);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().code, ENOENT);
    EXPECT_EQ(missing.failure().reason,
              "cannot move aside " + file.string() + ": No such file or directory");
}

}  // namespace
