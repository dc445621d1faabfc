// The headless backend's script on any text: a script with a bad line is refused whole (nothing of
// it is ever delivered); a script taken delivers its end-of-session actions at their times, never
// before, and delivers each once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <variant>

#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"

namespace {

size_t sessionEnds(const std::vector<platform::InputEvent>& events) {
    size_t count = 0;
    for (const auto& event : events) {
        count += std::holds_alternative<platform::input::EndSession>(event) ? 1 : 0;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::installClock(std::make_unique<platform::VirtualClock>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::HeadlessBackend backend;
    bool taken = true;
    try {
        backend.loadScript(text);
    } catch (const std::runtime_error&) {
        taken = false;
    }
    const auto before = backend.takeInput(-1);
    const auto all = backend.takeInput(INT64_MAX);
    const auto again = backend.takeInput(INT64_MAX);
    if (!before.empty() || !again.empty() || (!taken && !all.empty())) {
        std::abort();
    }
    // Each "end-session" line of a taken script is one end of session.
    size_t lines = 0;
    for (size_t at = text.find("end-session"); at != std::string_view::npos;
         at = text.find("end-session", at + 1)) {
        ++lines;
    }
    if (taken && sessionEnds(all) > lines) {
        std::abort();
    }
    return 0;
}
