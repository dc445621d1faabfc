#include "platform/files/regular_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/files/atomic_write.h"
#include "support/headless_test.h"

namespace {

using platform::ReadOutcome;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

struct ReadCase {
    const char* label;
    // Makes the thing to read in the folder and returns its path.
    std::function<std::filesystem::path(const std::filesystem::path& folder)> make;
    size_t limit;
    ReadOutcome outcome;
    std::string bytes;  // what is read, for ReadOutcome::Read

    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.label; }
};

class ReadRegularFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRegularFile, ReadsOnlyOrdinaryFilesWithinTheLimit) {
    const auto& c = GetParam();
    TempDir dir;
    const auto path = c.make(dir.path());
    std::string bytes = "untouched";
    std::error_code error;
    struct stat info {};
    EXPECT_EQ(platform::readRegularFile(path, c.limit, bytes, error, &info), c.outcome);
    if (c.outcome == ReadOutcome::Read) {
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(static_cast<size_t>(info.st_size), c.bytes.size());
        EXPECT_TRUE(S_ISREG(info.st_mode));
    } else {
        EXPECT_EQ(bytes, "untouched");
    }
    EXPECT_EQ(static_cast<bool>(error),
              c.outcome == ReadOutcome::Missing || c.outcome == ReadOutcome::Failed);
}

std::filesystem::path file(const std::filesystem::path& folder, const std::string& bytes) {
    writeFile(folder / "f", bytes);
    return folder / "f";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRegularFile,
    ::testing::Values(
        ReadCase{"Empty", [](const auto& d) { return file(d, ""); }, 10, ReadOutcome::Read, ""},
        ReadCase{"WithinTheLimit", [](const auto& d) { return file(d, "abc"); }, 10,
                 ReadOutcome::Read, "abc"},
        ReadCase{"ExactlyTheLimit", [](const auto& d) { return file(d, "0123456789"); }, 10,
                 ReadOutcome::Read, "0123456789"},
        ReadCase{"OneByteOver", [](const auto& d) { return file(d, "0123456789!"); }, 10,
                 ReadOutcome::TooLarge, ""},
        ReadCase{"Missing", [](const auto& d) { return d / "none"; }, 10, ReadOutcome::Missing, ""},
        ReadCase{"MissingFolder", [](const auto& d) { return d / "none" / "f"; }, 10,
                 ReadOutcome::Missing, ""},
        ReadCase{"UnderAFile", [](const auto& d) { return file(d, "x") / "f"; }, 10,
                 ReadOutcome::Missing, ""},
        ReadCase{"Folder", [](const auto& d) { return d; }, 10, ReadOutcome::NotOrdinary, ""},
        ReadCase{"Fifo",
                 [](const auto& d) {
                     EXPECT_EQ(::mkfifo((d / "fifo").c_str(), 0600), 0);
                     return d / "fifo";
                 },
                 10, ReadOutcome::NotOrdinary, ""},
        ReadCase{"Device", [](const auto&) { return std::filesystem::path("/dev/zero"); }, 10,
                 ReadOutcome::NotOrdinary, ""},
        ReadCase{"LinkToAFile",
                 [](const auto& d) {
                     std::filesystem::create_symlink(file(d, "linked"), d / "link");
                     return d / "link";
                 },
                 10, ReadOutcome::Read, "linked"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(WriteFileAtomically, GivesANewFileItsModeAndReportsWhatItWrote) {
    TempDir dir;
    const auto path = dir.path() / "new";
    const mode_t mask = ::umask(022);
    struct stat written {};
    EXPECT_FALSE(platform::writeFileAtomically(path, "abc", 0640, &written));
    EXPECT_FALSE(platform::writeFileAtomically(dir.path() / "other", "", 0666));
    ::umask(mask);
    EXPECT_EQ(readFile(path), "abc");
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_EQ(written.st_ino, now.st_ino);
    EXPECT_EQ(written.st_size, 3);
    EXPECT_EQ(now.st_mode & 07777, 0640u);
    EXPECT_EQ(std::filesystem::status(dir.path() / "other").permissions(),
              std::filesystem::perms(0644));
    // Written again, the file keeps the permissions it has now, whatever mode a new one gets.
    std::filesystem::permissions(path, std::filesystem::perms(0604));
    EXPECT_FALSE(platform::writeFileAtomically(path, "abcd", 0600));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0604));
    EXPECT_EQ(readFile(path), "abcd");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
