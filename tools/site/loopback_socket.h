#pragma once

#include <cstdint>

namespace site {

// A TCP socket bound to 127.0.0.1:port (0: a free port), not yet listening. Throws
// std::runtime_error naming the port when it cannot be bound. reuseAddress lets a listener take its
// own port back while connections it closed linger.
int bindLoopback(std::uint16_t port, bool reuseAddress = false);

// The port a bound socket holds.
std::uint16_t boundPort(int fd);

}  // namespace site
