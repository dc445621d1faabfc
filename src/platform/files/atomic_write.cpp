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

Failure lastFailure() {
    return systemFailure(errno);
}

Failure failureOf(const std::error_code& error) {
    return {error.value(), error.message()};
}

Status writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastFailure();
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return {};
}

// Flushes an open file or folder and closes it.
Status syncAndClose(int fd) {
    Status status;
    if (::fsync(fd) != 0) {
        status = lastFailure();
    }
    ::close(fd);  // opened read-only: nothing written can be lost here
    return status;
}

// Makes the rename itself durable.
Status syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lastFailure();
    }
    return syncAndClose(fd);
}

Status writeAndSync(int fd, std::string_view bytes, const struct stat* old,
                    const AtomicWrite& how) {
    if (Status written = writeAll(fd, bytes); !written) {
        return written;
    }
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0) {
        return lastFailure();
    }
    if (how.flush && ::fsync(fd) != 0) {
        return lastFailure();
    }
    if (how.written && ::fstat(fd, how.written) != 0) {
        return lastFailure();
    }
    return {};
}

// The file a write replaces: the target of a symbolic link, else the path itself.
Result<std::filesystem::path> replacedFile(const std::filesystem::path& target) {
    std::error_code missing;  // a target that is not there yet is no error
    if (!std::filesystem::is_symlink(target, missing)) {
        return target;
    }
    std::error_code error;
    std::filesystem::path file = std::filesystem::weakly_canonical(target, error);
    if (error) {
        return failureOf(error);
    }
    return file;
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

Status writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           const AtomicWrite& how) {
    const Result<std::filesystem::path> replaced = replacedFile(target);
    if (!replaced) {
        return replaced.failure();
    }
    const std::filesystem::path& file = *replaced;
    const std::filesystem::path folder = folderOf(file);

    struct stat old {};
    const bool hasOld = ::stat(file.c_str(), &old) == 0;
    if (hasOld && isReadOnly(old, file)) {
        return systemFailure(EACCES);
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
            return lastFailure();
        }
    }

    Status status = writeAndSync(fd, bytes, hasOld ? &old : nullptr, how);
    if (::close(fd) != 0 && status) {
        status = lastFailure();
    }
    if (status && ::rename(temporary.c_str(), file.c_str()) != 0) {
        status = lastFailure();
    }
    if (!status) {
        ::unlink(temporary.c_str());  // best effort: the failure reported is the write's
        return status;
    }
    if (how.flush) {
        // The new content is in place for every reader; a folder that cannot be flushed costs
        // only durability across a power loss, which the caller cannot restore either.
        static_cast<void>(syncFolder(folder));
    }
    return {};
}

Status syncToDisk(const std::filesystem::path& target) {
    const Result<std::filesystem::path> replaced = replacedFile(target);
    if (!replaced) {
        return replaced.failure();
    }
    Status status;
    const int fd = ::open(replaced->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        status = lastFailure();
    } else {
        status = syncAndClose(fd);
    }
    Status folder = syncFolder(folderOf(*replaced));
    return status ? folder : status;
}

Status removeDeadWritersTemporaries(const std::filesystem::path& target) {
    const Result<std::filesystem::path> replaced = replacedFile(target);
    if (!replaced) {
        return replaced.failure();
    }
    const std::string prefix = temporaryPrefix(*replaced);
    Status status;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folderOf(*replaced), error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix)) {
            continue;
        }
        const pid_t writer = writerOf(std::string_view(name).substr(prefix.size()));
        if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH &&
            ::unlink(it->path().c_str()) != 0 && errno != ENOENT && status) {
            const int removal = errno;
            status = systemFailure(removal, "cannot remove " + it->path().string());
        }
    }
    if (error && status) {
        status = failureOf(error);
    }
    return status;
}

}  // namespace platform
