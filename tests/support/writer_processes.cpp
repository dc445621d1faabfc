#include "support/writer_processes.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "support/headless_test.h"

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

void expectWritersLoseNothing(
    const std::filesystem::path& folder, const std::vector<std::string>& files,
    const std::function<bool(const std::string&, const std::string&)>& write,
    const std::function<std::string(const std::string&)>& read) {
    auto name = [](int writer, int n) {
        return 'w' + std::to_string(writer) + "-" + std::to_string(n);
    };
    EXPECT_TRUE(writeTogether(8, [&](int writer) {
        for (int n = 0; n < 25; ++n) {
            if (!write(name(writer, n), std::to_string(n))) {
                return false;
            }
        }
        return true;
    }));
    const KillLoop loop = killWritersMidway(killTries(25), folder, [&](int n) {
        return write('k' + std::to_string(n), std::to_string(n));
    });
    EXPECT_EQ(loop.failedWriters, 0);
    EXPECT_TRUE(write("last", "1"));  // clears what the last writer killed left
    for (int writer = 0; writer < 8; ++writer) {
        for (int n = 0; n < 25; ++n) {
            EXPECT_EQ(read(name(writer, n)), std::to_string(n)) << name(writer, n);
        }
    }
    for (const int n : loop.stored) {
        EXPECT_EQ(read('k' + std::to_string(n)), std::to_string(n));
    }
    EXPECT_EQ(filesIn(folder), files);
    std::printf("kill loop: %d writers killed, %zu values stored, %d kills left a temporary file\n",
                killTries(25), loop.stored.size(), loop.temporaryFilesSeen);
}

int killTries(int fallback) {
    const char* tries = std::getenv("TARNIX_KILL_TRIES");
    return tries && std::atoi(tries) > 0 ? std::atoi(tries) : fallback;
}

}  // namespace testsupport
