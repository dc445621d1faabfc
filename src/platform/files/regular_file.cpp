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

// The kind of outcome a failure of openRegularFile or readRegularFile stands for.
ReadOutcome outcomeOf(const Failure& failure) {
    if (isMissing(failure)) {
        return ReadOutcome::Missing;
    }
    switch (failure.code) {
        case kNotOrdinaryFile:
            return ReadOutcome::NotOrdinary;
        case kFileTooLarge:
            return ReadOutcome::TooLarge;
        default:
            return ReadOutcome::Failed;
    }
}

// Sets outcome, and error for the outcomes that carry the system's error.
void reportOutcome(const Failure& failure, ReadOutcome& outcome, std::error_code& error) {
    outcome = outcomeOf(failure);
    if (outcome == ReadOutcome::Missing || outcome == ReadOutcome::Failed) {
        error = std::error_code(failure.code, std::generic_category());
    }
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

int openRegularFile(const std::filesystem::path& path, struct stat& info, ReadOutcome& outcome,
                    std::error_code& error, int flags, mode_t createMode) {
    const Result<int> opened = openRegularFile(path, info, flags, createMode);
    if (!opened) {
        reportOutcome(opened.failure(), outcome, error);
        return -1;
    }
    outcome = ReadOutcome::Read;
    return *opened;
}

ReadOutcome readRegularFile(const std::filesystem::path& path, size_t limit, std::string& bytes,
                            std::error_code& error, struct stat* info) {
    Result<std::string> read = readRegularFile(path, limit, info);
    if (!read) {
        ReadOutcome outcome = ReadOutcome::Failed;
        reportOutcome(read.failure(), outcome, error);
        return outcome;
    }
    bytes = std::move(read).value();
    return ReadOutcome::Read;
}

std::string describeOutcome(ReadOutcome outcome, const std::error_code& error, size_t limit) {
    switch (outcome) {
        case ReadOutcome::Read:
            return "read";
        case ReadOutcome::NotOrdinary:
            return notOrdinary().reason;
        case ReadOutcome::TooLarge:
            return tooLarge(limit).reason;
        case ReadOutcome::Missing:
        case ReadOutcome::Failed:
            break;
    }
    return error.message();
}

}  // namespace platform
