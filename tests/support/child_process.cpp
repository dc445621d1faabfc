#include "support/child_process.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <set>
#include <stdexcept>

extern char** environ;

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make pipes");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    std::vector<std::string> all{executable};
    all.insert(all.end(), args.begin(), args.end());
    // The first entry of a name wins: the caller's before this process's own.
    std::vector<std::string> env;
    std::set<std::string> names;
    auto add = [&](const std::string& entry) {
        if (names.insert(entry.substr(0, entry.find('='))).second) {
            env.push_back(entry);
        }
    };
    std::for_each(environment.begin(), environment.end(), add);
    for (char** entry = environ; *entry != nullptr; ++entry) {
        add(*entry);
    }
    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> result;
        for (std::string& text : texts) {
            result.push_back(text.data());
        }
        result.push_back(nullptr);
        return result;
    };
    std::vector<char*> argv = pointers(all);
    std::vector<char*> envp = pointers(env);
    // A name without "/" is looked up in PATH, as a shell would.
    const int spawned =
        posix_spawnp(&pid_, executable.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (spawned != 0) {
        // The destructor does not run for a constructor that throws.
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        pid_ = -1;
        throw std::runtime_error("cannot start " + executable);
    }
    out_ = outPipe[0];
    err_ = errPipe[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !exit_) {
        ::kill(pid_, SIGTERM);
        if (!exitCode(milliseconds(5'000))) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ::close(out_);
    ::close(err_);
}

bool ChildProcess::readUntil(int fd, std::string& into, bool untilNewline, milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (untilNewline && into.find('\n') != std::string::npos) {
            return true;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;  // time is up
        }
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return !untilNewline;  // end of file: the child has closed its end
        }
        into.append(buffer, static_cast<std::size_t>(n));
    }
}

std::uint16_t ChildProcess::port(milliseconds limit) {
    const std::string prefix = "listening 127.0.0.1:";
    if (!readUntil(out_, outText_, true, limit) || outText_.rfind(prefix, 0) != 0) {
        ADD_FAILURE() << "no listening line; stdout: " << outText_;
        return 0;
    }
    return static_cast<std::uint16_t>(std::stoi(outText_.substr(prefix.size())));
}

std::optional<int> ChildProcess::exitCode(milliseconds limit) {
    if (exit_) {
        return exit_;
    }
    // The child's stdout reaches end of file when it ends; only then is waitpid sure not to block.
    if (!readUntil(out_, outText_, false, limit)) {
        return std::nullopt;
    }
    int status = 0;
    if (::waitpid(pid_, &status, 0) != pid_) {
        return std::nullopt;
    }
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit_;
}

void ChildProcess::signal(int number) {
    ::kill(pid_, number);
}

std::string ChildProcess::errorText() {
    readUntil(err_, errText_, false, milliseconds(1'000));
    return errText_;
}

std::string ChildProcess::outputText(milliseconds limit) {
    readUntil(out_, outText_, false, limit);
    return outText_;
}

namespace {

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

}  // namespace

HttpResult httpGet(std::uint16_t port, const std::string& target, milliseconds limit) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    HttpResult result;
    CURL* curl = initialised ? curl_easy_init() : nullptr;
    if (curl == nullptr) {
        result.curlCode = CURLE_FAILED_INIT;
        return result;
    }
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + target;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limit.count()));
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
    result.curlCode = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    curl_easy_cleanup(curl);
    return result;
}

}  // namespace testsupport
