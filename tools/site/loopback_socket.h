#pragma once

#include <cstdint>

namespace site {

// A TCP socket bound to 127.0.0.1:port (0: a free port), not yet listening. Throws
// std::runtime_error naming the port when it cannot be bound. reuseAddress lets a listener take its
// own port back while connections it closed linger.
int bindLoopback(std::uint16_t port, bool reuseAddress = false);

// A socket listening on 127.0.0.1:port, as bindLoopback binds it. Throws std::runtime_error.
int listenLoopback(std::uint16_t port, bool reuseAddress = false);

// The port a bound socket holds.
std::uint16_t boundPort(int fd);

// A pipe for waking threads that wait in poll(): once written it stays readable until drained.
class WakePipe {
  public:
    WakePipe();  // throws std::runtime_error
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    int readFd() const { return read_; }
    void wake();
    // Empties the pipe, so only a later wake() counts.
    void drain();

  private:
    int read_ = -1;
    int write_ = -1;
};

}  // namespace site
