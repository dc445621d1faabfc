#include "platform/files/atomic_write.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
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
                             const AtomicWrite& how) {
    if (auto error = writeAll(fd, bytes)) {
        return error;
    }
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0) {
        return lastError();
    }
    if (how.flush && ::fsync(fd) != 0) {
        return lastError();
    }
    if (how.written && ::fstat(fd, how.written) != 0) {
        return lastError();
    }
    return {};
}

// The file a write replaces: the target of a symbolic link, else the path itself.
std::filesystem::path replacedFile(const std::filesystem::path& target, std::error_code& error) {
    std::error_code missing;  // a target that is not there yet is no error
    if (std::filesystem::is_symlink(target, missing)) {
        return std::filesystem::weakly_canonical(target, error);
    }
    return target;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::string temporaryPrefix(const std::filesystem::path& file) {
    return file.filename().string() + ".tmp-";
}

// The process id in a temporary file's name after its prefix ("<pid>-<n>"), or 0.
pid_t writerOf(std::string_view rest) {
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    return error == std::errc() && end != rest.data() && *end == '-' ? pid : 0;
}

bool isReadOnly(const struct stat& info, const std::filesystem::path& file) {
    return (info.st_mode & S_IWUSR) == 0 ||
           ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace

std::error_code writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    const AtomicWrite& how) {
    std::error_code error;
    const std::filesystem::path file = replacedFile(target, error);
    if (error) {
        return error;
    }
    const std::filesystem::path folder = folderOf(file);

    struct stat old {};
    const bool hasOld = ::stat(file.c_str(), &old) == 0;
    if (hasOld && isReadOnly(old, file)) {
        return std::make_error_code(std::errc::permission_denied);
    }

    // The process id and a counter make the name unique among writers; O_EXCL makes sure.
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temporary;
    int fd = -1;
    while (fd < 0) {
        temporary = folder / (temporaryPrefix(file) + std::to_string(::getpid()) + "-" +
                              std::to_string(counter++));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, how.newFileMode);
        if (fd < 0 && errno != EEXIST) {
            return lastError();
        }
    }

    error = writeAndSync(fd, bytes, hasOld ? &old : nullptr, how);
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
    if (how.flush) {
        syncFolder(folder);
    }
    return {};
}

void syncToDisk(const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::path file = replacedFile(target, error);
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    syncFolder(folderOf(file));
}

void removeDeadWritersTemporaries(const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::path file = replacedFile(target, error);
    const std::string prefix = temporaryPrefix(file);
    for (std::filesystem::directory_iterator it(folderOf(file), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix)) {
            continue;
        }
        const pid_t writer = writerOf(std::string_view(name).substr(prefix.size()));
        if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace platform
