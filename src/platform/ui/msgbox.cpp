#include "platform/ui/msgbox.h"

#include "platform/runtime/app_info.h"
#include "platform/runtime/backend.h"
#include "platform/ui/loop.h"
#include "platform/ui/model.h"

namespace win {

int MsgBox(std::string_view prompt, int style, std::string_view title) {
    auto& backend = platform::backend();
    const auto reply =
        backend.messageBox(prompt, style, title.empty() ? platform::kAppTitle : title);
    // While the box is open, timers go on; input to the windows waits until it closes. A timer's
    // untrapped error does not come out of the box: the top-level loop raises it.
    auto& model = detail::model();
    auto& clock = backend.clock();
    ++model.modalDepth;
    try {
        while (clock.nowMs() < reply.openUntilMs) {
            detail::runPass(false, true);
            int64_t next = NextTimerDueMs();
            if (next < 0 || next > reply.openUntilMs) {
                next = reply.openUntilMs;
            }
            if (next > clock.nowMs()) {
                clock.waitUntil(next);
            }
        }
    } catch (...) {
        --model.modalDepth;
        throw;
    }
    --model.modalDepth;
    return reply.answer;
}

}  // namespace win
