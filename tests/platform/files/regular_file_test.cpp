#include "platform/files/regular_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files/atomic_write.h"
#include "platform/files/writer_lock.h"
#include "support/headless_test.h"

namespace {

using platform::ReadOutcome;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

struct ReadCase {
    const char* label;
    std::filesystem::path path;  // in a folder made by the test; absolute paths stay as they are
    ReadOutcome outcome;
    std::string bytes;  // what is read, for ReadOutcome::Read
};

class ReadRegularFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRegularFile, ReadsOnlyOrdinaryFilesWithinTheLimit) {
    const auto& c = GetParam();
    TempDir dir;
    writeFile(dir.path() / "empty", "");
    writeFile(dir.path() / "ten", "0123456789");
    writeFile(dir.path() / "eleven", "0123456789!");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.path() / "ten", dir.path() / "link");
    std::string bytes = "untouched";
    std::error_code error;
    struct stat info {};
    EXPECT_EQ(platform::readRegularFile(dir.path() / c.path, 10, bytes, error, &info), c.outcome);
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

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRegularFile,
    ::testing::Values(ReadCase{"Empty", "empty", ReadOutcome::Read, ""},
                      ReadCase{"ExactlyTheLimit", "ten", ReadOutcome::Read, "0123456789"},
                      ReadCase{"OneByteOver", "eleven", ReadOutcome::TooLarge, ""},
                      ReadCase{"Missing", "none", ReadOutcome::Missing, ""},
                      ReadCase{"MissingFolder", "none/f", ReadOutcome::Missing, ""},
                      ReadCase{"UnderAFile", "ten/f", ReadOutcome::Missing, ""},
                      ReadCase{"Folder", "", ReadOutcome::NotOrdinary, ""},
                      ReadCase{"Fifo", "fifo", ReadOutcome::NotOrdinary, ""},
                      ReadCase{"Device", "/dev/zero", ReadOutcome::NotOrdinary, ""},
                      ReadCase{"LinkToAFile", "link", ReadOutcome::Read, "0123456789"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(WriteFileAtomically, GivesANewFileItsModeAndReportsWhatItWrote) {
    TempDir dir;
    const auto path = dir.path() / "new";
    const mode_t mask = ::umask(022);
    struct stat written {};
    EXPECT_FALSE(
        platform::writeFileAtomically(path, "abc", {.newFileMode = 0640, .written = &written}));
    EXPECT_FALSE(platform::writeFileAtomically(dir.path() / "other", ""));
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
    EXPECT_FALSE(platform::writeFileAtomically(path, "abcd", {.newFileMode = 0600}));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0604));
    EXPECT_EQ(readFile(path), "abcd");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(WriterLock, ClearsTheTemporaryFilesOfDeadWritersOnly) {
    TempDir dir;
    const pid_t dead = ::fork();
    if (dead == 0) {
        ::_exit(0);
    }
    ::waitpid(dead, nullptr, 0);
    const std::string live = "t.ini.tmp-" + std::to_string(::getpid()) + "-0";
    for (const std::string& name : {"t.ini.tmp-" + std::to_string(dead) + "-3", live,
                                    "u.ini.tmp-" + std::to_string(dead) + "-0"}) {
        writeFile(dir.path() / name, "partial");
    }
    const platform::WriterLock lock(dir.path() / "t.ini");
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(
        testsupport::filesIn(dir.path()),
        (std::vector<std::string>{"t.ini.lock", live, "u.ini.tmp-" + std::to_string(dead) + "-0"}));
}

}  // namespace
