#pragma once

#include <cstdint>

namespace site {

// A TCP socket bound to 127.0.0.1:port (0: a free port), not yet listening. Throws
// std::runtime_error naming the port when it cannot be bound.
int bindLoopback(std::uint16_t port);

// The port a bound socket holds.
std::uint16_t boundPort(int fd);

}  // namespace site
