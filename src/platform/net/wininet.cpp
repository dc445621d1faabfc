#include "platform/net/wininet.h"

#include <string>

#include "platform/runtime/backend.h"
#include "platform/runtime/trace.h"

namespace win {

int32_t InternetGetConnectedState(int32_t& flags, int32_t /*reserved*/) {
    uint32_t state = 0;
    const bool online = platform::backend().connectionState(state);
    flags = static_cast<int32_t>(state);
    platform::trace("net", "state connected=" + std::to_string(online ? 1 : 0) +
                               " flags=" + std::to_string(flags));
    return online ? 1 : 0;
}

}  // namespace win
