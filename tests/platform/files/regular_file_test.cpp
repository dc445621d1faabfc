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
    int code;           // the failure's code, for the other outcomes
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

    const auto read = platform::readRegularFile(dir.path() / c.path, 10);
    ASSERT_EQ(read.ok(), c.outcome == ReadOutcome::Read);
    if (read) {
        EXPECT_EQ(*read, c.bytes);
    } else {
        EXPECT_EQ(read.failure().code, c.code);
        EXPECT_EQ(platform::isMissing(read.failure()), c.outcome == ReadOutcome::Missing);
        EXPECT_EQ(read.failure().reason, platform::describeOutcome(c.outcome, error, 10));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRegularFile,
    ::testing::Values(
        ReadCase{"Empty", "empty", ReadOutcome::Read, "", 0},
        ReadCase{"ExactlyTheLimit", "ten", ReadOutcome::Read, "0123456789", 0},
        ReadCase{"OneByteOver", "eleven", ReadOutcome::TooLarge, "", platform::kFileTooLarge},
        ReadCase{"Missing", "none", ReadOutcome::Missing, "", ENOENT},
        ReadCase{"MissingFolder", "none/f", ReadOutcome::Missing, "", ENOENT},
        ReadCase{"UnderAFile", "ten/f", ReadOutcome::Missing, "", ENOTDIR},
        ReadCase{"Folder", "", ReadOutcome::NotOrdinary, "", platform::kNotOrdinaryFile},
        ReadCase{"Fifo", "fifo", ReadOutcome::NotOrdinary, "", platform::kNotOrdinaryFile},
        ReadCase{"Device", "/dev/zero", ReadOutcome::NotOrdinary, "", platform::kNotOrdinaryFile},
        ReadCase{"LinkToAFile", "link", ReadOutcome::Read, "0123456789", 0}),
    [](const auto& info) { return std::string(info.param.label); });

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
    const auto lock = platform::WriterLock::acquire(dir.path() / "t.ini");
    ASSERT_TRUE(lock) << lock.failure().reason;
    EXPECT_EQ(
        testsupport::filesIn(dir.path()),
        (std::vector<std::string>{"t.ini.lock", live, "u.ini.tmp-" + std::to_string(dead) + "-0"}));
}

}  // namespace
