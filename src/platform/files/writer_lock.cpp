#include "platform/files/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/files/atomic_write.h"

namespace platform {

Result<WriterLock> WriterLock::acquire(const std::filesystem::path& file) {
    const std::string lockFile = file.string() + ".lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        return systemFailure(error, "cannot open the lock " + lockFile);
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            const Failure failure = systemFailure(error, "cannot lock " + lockFile);
            ::close(fd);
            return failure;
        }
    }
    // Leftovers of dead writers only take room: a folder that cannot be cleaned still lets this
    // writer write.
    static_cast<void>(removeDeadWritersTemporaries(file));
    return WriterLock(fd);
}

WriterLock::WriterLock(WriterLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

WriterLock::~WriterLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock
    }
}

}  // namespace platform
