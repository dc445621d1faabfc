#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// The floors under the stores' load, read and save: what the file system alone costs for the
// same file.
namespace bench {

// One stat() of the file: what a read that finds the file unchanged cannot do without.
inline void statOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        throw std::runtime_error("stat " + file.string() + ": " + std::strerror(errno));
    }
}

// Replaces the file with bytes the plain durable way: a temporary file beside it, written,
// fsync'ed and renamed over it. No lock, no folder flush, no check of the old file.
inline void writeSyncRename(const std::filesystem::path& file, std::string_view bytes) {
    const std::string temporary = file.string() + ".reference";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw std::runtime_error("open " + temporary + ": " + std::strerror(errno));
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            ::close(fd);
            throw std::runtime_error("write " + temporary + ": " + std::strerror(errno));
        }
        bytes.remove_prefix(written < 0 ? 0 : static_cast<size_t>(written));
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || ::rename(temporary.c_str(), file.c_str()) != 0) {
        throw std::runtime_error("fsync, close or rename of " + temporary + ": " +
                                 std::strerror(errno));
    }
}

// The file's bytes, read whole with one open, fstat and read: what a load cannot do without.
inline std::string bytesOf(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        throw std::runtime_error("open " + file.string() + ": " + std::strerror(errno));
    }
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t read = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (read == 0 || (read < 0 && errno != EINTR)) {
            ::close(fd);
            throw std::runtime_error("read " + file.string() + ": " + std::strerror(errno));
        }
        done += read < 0 ? 0 : static_cast<size_t>(read);
    }
    ::close(fd);
    return bytes;
}

}  // namespace bench
