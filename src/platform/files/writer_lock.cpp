#include "platform/files/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/atomic_write.h"

namespace platform {

WriterLock::WriterLock(const std::filesystem::path& file) {
    const std::string lockFile = file.string() + ".lock";
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        cause_ = std::error_code(errno, std::generic_category());
        error_ = "cannot open the lock " + lockFile + ": " + cause_.message();
        return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            cause_ = std::error_code(errno, std::generic_category());
            error_ = "cannot lock " + lockFile + ": " + cause_.message();
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
    removeDeadWritersTemporaries(file);
}

WriterLock::~WriterLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock
    }
}

}  // namespace platform
