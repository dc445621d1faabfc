#include "platform/registry/hive_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>

#include "platform/files/regular_file.h"

namespace platform::registry {

namespace {
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
    return identityOf(info);
}

FileIdentity identityOf(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.modifiedNs =
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return identity;
}

Result<FileContent> readWhole(const std::filesystem::path& file) {
    struct stat info {};
    Result<std::string> read = platform::readRegularFile(file, platform::kSettingsFileLimit, &info);
    if (!read) {
        return Failure{read.failure().code,
                       "cannot read " + file.string() + ": " + read.failure().reason};
    }
    return FileContent{std::move(read).value(), identityOf(info)};
}

Result<std::filesystem::path> moveAside(const std::filesystem::path& file) {
    const std::string base = file.string() + ".unreadable-" + timeStamp();
    for (int n = 1; n < 1000; ++n) {
        const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
        // link fails rather than replace an existing file; the old name is dropped only after.
        if (::link(file.c_str(), target.c_str()) == 0) {
            // The file is kept under the new name either way; a stale old name is read again and
            // moved aside once more at the next access.
            ::unlink(file.c_str());
            return std::filesystem::path(target);
        }
        if (errno != EEXIST) {
            const int error = errno;
            return systemFailure(error, "cannot move aside " + file.string());
        }
    }
    return Failure{EEXIST, "no free name to move aside " + file.string()};
}

}  // namespace platform::registry
