#include "platform/files/regular_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files/atomic_write.h"
#include "platform/files/writer_lock.h"
#include "support/headless_test.h"

namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

struct ReadCase {
    const char* label;
    std::filesystem::path path;  // in a folder made by the test; absolute paths stay as they are
    int code;                    // the failure's code; 0 when the file is read
    std::string bytes;           // what is read
    const char* reason;          // the failure's reason; null for the system's text
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
    struct stat info {};
    const auto read = platform::readRegularFile(dir.path() / c.path, 10, &info);
    ASSERT_EQ(read.ok(), c.code == 0);
    if (read) {
        EXPECT_EQ(*read, c.bytes);
        EXPECT_EQ(static_cast<size_t>(info.st_size), c.bytes.size());
        EXPECT_TRUE(S_ISREG(info.st_mode));
    } else {
        EXPECT_EQ(read.failure().code, c.code);
        EXPECT_EQ(platform::isMissing(read.failure()), c.code == ENOENT || c.code == ENOTDIR);
        EXPECT_EQ(read.failure().reason,
                  c.reason ? c.reason : std::generic_category().message(c.code));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRegularFile,
    ::testing::Values(
        ReadCase{"Empty", "empty", 0, "", nullptr},
        ReadCase{"ExactlyTheLimit", "ten", 0, "0123456789", nullptr},
        ReadCase{"OneByteOver", "eleven", platform::kFileTooLarge, "", "larger than 10 bytes"},
        ReadCase{"Missing", "none", ENOENT, "", nullptr},
        ReadCase{"MissingFolder", "none/f", ENOENT, "", nullptr},
        ReadCase{"UnderAFile", "ten/f", ENOTDIR, "", nullptr},
        ReadCase{"Folder", "", platform::kNotOrdinaryFile, "", "not an ordinary file"},
        ReadCase{"Fifo", "fifo", platform::kNotOrdinaryFile, "", "not an ordinary file"},
        ReadCase{"Device", "/dev/zero", platform::kNotOrdinaryFile, "", "not an ordinary file"},
        ReadCase{"LinkToAFile", "link", 0, "0123456789", nullptr}),
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
