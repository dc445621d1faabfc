#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

using std::chrono::milliseconds;

// A program run as a child process (a name without "/" is looked up in PATH; no shell), its output
// read through pipes. Every wait is bounded; the
// destructor stops the child if it still runs. environment holds "NAME=value" entries added to
// this process's environment; the first entry of a name wins, so they replace inherited ones.
class ChildProcess {
  public:
    ChildProcess(const std::string& executable, const std::vector<std::string>& args,
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The port of a "listening 127.0.0.1:<port>" first stdout line; fails the test otherwise.
    std::uint16_t port(milliseconds limit = milliseconds(10'000));

    // The exit code once the child has ended (-1 for a signal), or nothing within the limit.
    std::optional<int> exitCode(milliseconds limit);
    void signal(int number);
    // The child's process id while it runs (for reading /proc), -1 when it could not start.
    pid_t pid() const { return pid_; }

    // Everything the child wrote to stderr; only complete after exitCode() returned a value.
    std::string errorText();

    // Everything the child has written to stdout so far, after waiting up to the limit for more
    // (all of it once exitCode() returned a value). For reading a child that keeps running.
    std::string outputText(milliseconds limit = milliseconds(0));

  private:
    bool readUntil(int fd, std::string& into, bool untilNewline, milliseconds limit);

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string outText_;
    std::string errText_;
    std::optional<int> exit_;
};

struct HttpResult {
    int curlCode = 0;  // CURLE_OK = 0
    long status = 0;
    std::string body;
};

HttpResult httpGet(std::uint16_t port, const std::string& target,
                   milliseconds limit = milliseconds(5'000));

}  // namespace testsupport
