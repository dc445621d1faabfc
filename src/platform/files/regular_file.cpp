#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace platform {

namespace {

Failure notOrdinary() {
    return {kNotOrdinaryFile, "not an ordinary file"};
}

Failure tooLarge(size_t limit) {
    return {kFileTooLarge, "larger than " + std::to_string(limit) + " bytes"};
}

}  // namespace

Result<int> openRegularFile(const std::filesystem::path& path, struct stat& info, int openFlags,
                            mode_t createMode) {
    const int fd = ::open(path.c_str(), openFlags | O_NONBLOCK | O_CLOEXEC, createMode);
    if (fd < 0) {
        return systemFailure(errno);
    }
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return systemFailure(error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return notOrdinary();
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        return systemFailure(error);
    }
    return fd;
}

Result<std::string> readRegularFile(const std::filesystem::path& path, size_t limit,
                                    struct stat* info) {
    struct stat status {};
    const Result<int> opened = openRegularFile(path, status);
    if (!opened) {
        return opened.failure();
    }
    const int fd = *opened;
    if (info) {
        *info = status;
    }
    if (static_cast<unsigned long long>(status.st_size) > limit) {
        ::close(fd);
        return tooLarge(limit);
    }
    // One byte more than the limit tells a file that grew past it while being read.
    std::string content(static_cast<size_t>(status.st_size) + 1, '\0');
    size_t done = 0;
    while (true) {
        if (done == content.size()) {
            if (done > limit) {
                ::close(fd);
                return tooLarge(limit);
            }
            content.resize(std::min(done + 64 * 1024, limit + 1));
        }
        const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return systemFailure(error);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    content.resize(done);
    return content;
}

}  // namespace platform
