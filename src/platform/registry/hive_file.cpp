#include "platform/registry/hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

namespace platform::registry {

namespace {
std::string describe(const char* what, const std::filesystem::path& path, int errorNumber) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(errorNumber);
}

FileIdentity fromStat(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.modifiedNs =
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return identity;
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string timeStamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    ::localtime_r(&now, &parts);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &parts);
    return buf;
}
}  // namespace

FileIdentity identityOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return {};
    }
    return fromStat(info);
}

std::optional<std::string> readWhole(const std::filesystem::path& file, FileIdentity& identity,
                                     std::string& error) {
    Descriptor in{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (in.fd < 0 || ::fstat(in.fd, &info) != 0) {
        error = describe("cannot open", file, errno);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not an ordinary file: " + file.string();
        return std::nullopt;
    }
    identity = fromStat(info);
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (true) {
        if (done == bytes.size()) {
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t got = ::read(in.fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = describe("cannot read", file, errno);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

bool replaceAtomically(const std::filesystem::path& file, std::string_view bytes,
                       FileIdentity& identity, std::string& error) {
    std::string temporary = file.string() + ".tmp-XXXXXX";
    Descriptor out{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (out.fd < 0) {
        error = describe("cannot create a file beside", file, errno);
        return false;
    }
    struct stat info {};
    if (!writeAll(out.fd, bytes) || ::fsync(out.fd) != 0 || ::fstat(out.fd, &info) != 0 ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = describe("cannot write", file, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    identity = fromStat(info);
    // The rename itself is durable only once the folder is flushed.
    Descriptor folder{::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd >= 0) {
        ::fsync(folder.fd);
    }
    return true;
}

WriterLock::WriterLock(const std::filesystem::path& hiveFile) {
    const std::string lockFile = hiveFile.string() + ".lock";
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = describe("cannot open the lock", lockFile, errno);
        return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error_ = describe("cannot lock", lockFile, errno);
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

WriterLock::~WriterLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock
    }
}

std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file,
                                               std::string& error) {
    const std::string base = file.string() + ".unreadable-" + timeStamp();
    for (int n = 1; n < 1000; ++n) {
        const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
        // link fails rather than replace an existing file; the old name is dropped only after.
        if (::link(file.c_str(), target.c_str()) == 0) {
            ::unlink(file.c_str());
            return std::filesystem::path(target);
        }
        if (errno != EEXIST) {
            error = describe("cannot move aside", file, errno);
            return std::nullopt;
        }
    }
    error = "no free name to move aside " + file.string();
    return std::nullopt;
}

}  // namespace platform::registry
