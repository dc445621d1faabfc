#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

namespace {
std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}
}  // namespace

int openRegularFile(const std::filesystem::path& path, struct stat& info, ReadOutcome& outcome,
                    std::error_code& error, int openFlags, mode_t createMode) {
    const int fd = ::open(path.c_str(), openFlags | O_NONBLOCK | O_CLOEXEC, createMode);
    if (fd < 0) {
        error = lastError();
        outcome = errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Failed;
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        error = lastError();
        outcome = ReadOutcome::Failed;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        outcome = ReadOutcome::NotOrdinary;
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = lastError();
        outcome = ReadOutcome::Failed;
        ::close(fd);
        return -1;
    }
    outcome = ReadOutcome::Read;
    return fd;
}

ReadOutcome readRegularFile(const std::filesystem::path& path, size_t limit, std::string& bytes,
                            std::error_code& error, struct stat* info) {
    struct stat status {};
    ReadOutcome outcome = ReadOutcome::Failed;
    const int fd = openRegularFile(path, status, outcome, error);
    if (fd < 0) {
        return outcome;
    }
    if (info) {
        *info = status;
    }
    outcome = ReadOutcome::Read;
    if (static_cast<unsigned long long>(status.st_size) > limit) {
        outcome = ReadOutcome::TooLarge;
    } else {
        // One byte more than the limit tells a file that grew past it while being read.
        std::string content(static_cast<size_t>(status.st_size) + 1, '\0');
        size_t done = 0;
        while (outcome == ReadOutcome::Read) {
            if (done == content.size()) {
                if (done > limit) {
                    outcome = ReadOutcome::TooLarge;
                    break;
                }
                content.resize(std::min(done + 64 * 1024, limit + 1));
            }
            const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                error = lastError();
                outcome = ReadOutcome::Failed;
            } else if (got == 0) {
                break;
            } else {
                done += static_cast<size_t>(got);
            }
        }
        if (outcome == ReadOutcome::Read) {
            content.resize(done);
            bytes = std::move(content);
        }
    }
    ::close(fd);
    return outcome;
}

std::string describeOutcome(ReadOutcome outcome, const std::error_code& error, size_t limit) {
    switch (outcome) {
        case ReadOutcome::Read:
            return "read";
        case ReadOutcome::NotOrdinary:
            return "not an ordinary file";
        case ReadOutcome::TooLarge:
            return "larger than " + std::to_string(limit) + " bytes";
        case ReadOutcome::Missing:
        case ReadOutcome::Failed:
            break;
    }
    return error.message();
}

}  // namespace platform
