#include "support/writer_processes.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

namespace testsupport {

bool writeTogether(int count, const std::function<bool(int)>& write) {
    // The writers wait on a pipe so that they start together: closing it lets them all go.
    int start[2];
    if (::pipe(start) != 0) {
        return false;
    }
    std::vector<pid_t> children;
    for (int writer = 0; writer < count; ++writer) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(start[1]);
            char go = 0;
            const bool started = ::read(start[0], &go, 1) == 0;
            ::_exit(started && write(writer) ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    bool ok = true;
    for (const pid_t child : children) {
        int status = 0;
        ok = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
             WEXITSTATUS(status) == 0 && ok;
    }
    return ok;
}

KillLoop killWritersMidway(int tries, const std::filesystem::path& folder,
                           const std::function<bool(int)>& write) {
    KillLoop loop;
    std::mt19937 random(20261207);  // the same delays at every run
    int next = 0;
    for (int attempt = 0; attempt < tries; ++attempt) {
        int reports[2];
        if (::pipe(reports) != 0) {
            ++loop.failedWriters;
            break;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(reports[0]);
            for (int n = next; write(n); ++n) {
                (void)!::write(reports[1], &n, sizeof n);
            }
            ::_exit(1);
        }
        ::close(reports[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        loop.failedWriters += WIFEXITED(status) ? 1 : 0;
        for (int n = 0; ::read(reports[0], &n, sizeof n) == sizeof n; next = n + 1) {
            loop.stored.push_back(n);
        }
        ::close(reports[0]);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().filename().string().find(".tmp-") != std::string::npos) {
                ++loop.temporaryFilesSeen;
                break;
            }
        }
    }
    return loop;
}

int killTries(int fallback) {
    const char* tries = std::getenv("TARNIX_KILL_TRIES");
    return tries && std::atoi(tries) > 0 ? std::atoi(tries) : fallback;
}

}  // namespace testsupport
