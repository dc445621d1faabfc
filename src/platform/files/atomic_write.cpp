#include "platform/files/atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace platform {

namespace {

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return {};
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing for the caller.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::error_code writeAndSync(int fd, std::string_view bytes, const struct stat* old,
                             struct stat* written) {
    if (auto error = writeAll(fd, bytes)) {
        return error;
    }
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0) {
        return lastError();
    }
    if (::fsync(fd) != 0) {
        return lastError();
    }
    if (written && ::fstat(fd, written) != 0) {
        return lastError();
    }
    return {};
}

}  // namespace

std::error_code writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    mode_t newFileMode, struct stat* written) {
    std::error_code error;
    std::filesystem::path file = target;
    if (std::filesystem::is_symlink(target, error)) {
        file = std::filesystem::weakly_canonical(target, error);
        if (error) {
            return error;
        }
    }
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }

    struct stat old {};
    const bool hasOld = ::stat(file.c_str(), &old) == 0;

    // The process id and a counter make the name unique among writers; O_EXCL makes sure.
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temporary;
    int fd = -1;
    while (fd < 0) {
        temporary = folder / (file.filename().string() + ".tmp-" + std::to_string(::getpid()) +
                              "-" + std::to_string(counter++));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
        if (fd < 0 && errno != EEXIST) {
            return lastError();
        }
    }

    error = writeAndSync(fd, bytes, hasOld ? &old : nullptr, written);
    if (::close(fd) != 0 && !error) {
        error = lastError();
    }
    if (!error && ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = lastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    syncFolder(folder);
    return {};
}

}  // namespace platform
