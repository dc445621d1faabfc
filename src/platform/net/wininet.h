#pragma once

#include <cstdint>

namespace win {

// Connection-state flags.
constexpr int32_t INTERNET_CONNECTION_MODEM = 0x01;
constexpr int32_t INTERNET_CONNECTION_LAN = 0x02;
constexpr int32_t INTERNET_CONNECTION_PROXY = 0x04;
constexpr int32_t INTERNET_CONNECTION_OFFLINE = 0x20;
constexpr int32_t INTERNET_CONNECTION_CONFIGURED = 0x40;

// Non-zero when the backend reports the machine online; flags receives the connection-state
// flags in either case. Traced as "net state connected= flags=".
int32_t InternetGetConnectedState(int32_t& flags, int32_t reserved);

}  // namespace win
