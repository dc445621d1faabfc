#pragma once

#include <cstdint>
#include <string>

namespace mInternet {

// True when the platform reports the machine online and, with bTestURL, a GET of sURL did not
// end in a transfer failure (any HTTP answer counts, and so does a probe that could not even be
// made). iFlags receives the connection-state flags only when online. Never raises.
bool CheckConnection(const std::string& sURL, bool bTestURL, int16_t& iFlags);

}  // namespace mInternet
