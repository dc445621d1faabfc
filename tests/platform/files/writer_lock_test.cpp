#include "platform/files/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "support/headless_test.h"

namespace {

using testsupport::TempDir;

// True when another open file description can take the lock now.
bool lockIsFree(const std::filesystem::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
    const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return free;
}

TEST(WriterLock, SaysWhyItIsNotHeld) {
    TempDir dir;
    const auto lock = platform::WriterLock::acquire(dir.path() / "none/t.ini");
    ASSERT_FALSE(lock);
    EXPECT_EQ(lock.failure().code, ENOENT);
    EXPECT_EQ(lock.failure().reason, "cannot open the lock " + dir.file("none/t.ini.lock") +
                                         ": No such file or directory");
}

TEST(WriterLock, AMovedLockStaysHeldUntilItsLastOwnerGoes) {
    TempDir dir;
    const auto lockFile = dir.path() / "t.ini.lock";
    std::optional<platform::Result<platform::WriterLock>> first =
        platform::WriterLock::acquire(dir.path() / "t.ini");
    ASSERT_TRUE(*first) << (*first).failure().reason;
    EXPECT_FALSE(lockIsFree(lockFile));
    {
        const platform::WriterLock moved = std::move(*first).value();
        first.reset();
        EXPECT_FALSE(lockIsFree(lockFile));
    }
    EXPECT_TRUE(lockIsFree(lockFile));
}

}  // namespace
