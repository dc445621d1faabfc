#include "platform/shell/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

#include "platform/registry/registry_store.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform {

namespace {
int& lockDescriptor() {
    static int fd = -1;
    return fd;
}
}  // namespace

std::filesystem::path instanceLockPath() {
    // Beside the hives the process uses, so a store moved with setRegistryFolder takes its lock.
    return registryStore().folder() / "tarnix.instance.lock";
}

bool PrevInstance() {
    int& fd = lockDescriptor();
    if (fd >= 0) {
        return false;
    }
    const auto path = instanceLockPath();
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    const int opened = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (opened < 0) {
        // Without a lock file nobody can hold the lock either: run as the only instance, and say
        // once that a second one would not be noticed.
        static bool reported = false;
        if (!std::exchange(reported, true)) {
            const std::string reason = std::strerror(errno);
            std::fprintf(stderr,
                         "tarnix: cannot make the instance lock %s (%s); a second instance will "
                         "not be noticed\n",
                         path.c_str(), reason.c_str());
            trace("instance", "lock-failed file=" + platform::quoted(path.string()) +
                                  " reason=" + platform::quoted(reason));
        }
        return false;
    }
    if (::flock(opened, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(opened);
        return held;
    }
    fd = opened;
    return false;
}

void releaseInstanceLock() {
    int& fd = lockDescriptor();
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace platform
