#include "platform/ui/loop.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/runtime/backend.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"

namespace win {

namespace detail {

namespace {

// Fires every timer due now, earliest first (creation order among equals). Returns how many fired.
int runDueTimers() {
    auto& model = detail::model();
    const int64_t now = nowMs();
    std::vector<std::pair<int64_t, uint64_t>> due;
    for (const auto& [serial, timer] : model.timers) {
        const int64_t at = timer->nextDueMs();
        if (at >= 0 && at <= now && !timer->running()) {
            due.emplace_back(at, serial);
        }
    }
    std::sort(due.begin(), due.end());
    int fired = 0;
    for (const auto& [at, serial] : due) {
        // An earlier handler may have stopped, restarted or removed this timer.
        auto found = model.timers.find(serial);
        if (found == model.timers.end()) {
            continue;
        }
        Timer* timer = found->second;
        if (timer->running() || timer->nextDueMs() != at) {
            continue;
        }
        timer->fire();
        ++fired;
    }
    return fired;
}

int runInput() {
    auto events = platform::backend().takeInput(nowMs());
    for (const auto& event : events) {
        dispatchInput(event);
    }
    return static_cast<int>(events.size());
}

}  // namespace

// One pass: input (unless a modal box holds it back), then due timers.
int runPass(bool withInput) {
    int done = 0;
    if (withInput && model().modalDepth == 0) {
        done += runInput();
    }
    done += runDueTimers();
    return done;
}

}  // namespace detail

int64_t NextTimerDueMs() {
    int64_t next = -1;
    for (const auto& [serial, timer] : detail::model().timers) {
        const int64_t at = timer->nextDueMs();
        if (at >= 0 && (next < 0 || at < next)) {
            next = at;
        }
    }
    return next;
}

int DoEvents() {
    if (detail::runPass(true) == 0) {
        if (auto* clock = dynamic_cast<platform::VirtualClock*>(&detail::clock())) {
            clock->advance(1);
        }
    }
    return FormCount();
}

int RunMessageLoop() {
    auto& clock = detail::clock();
    while (FormCount() > 0) {
        detail::runPass(true);
        if (FormCount() == 0) {
            break;
        }
        const int64_t next = NextTimerDueMs();
        if (next >= 0 && next <= clock.nowMs()) {
            continue;
        }
        if (!platform::backend().waitForInput(next)) {
            platform::trace("loop", "idle forms=" + std::to_string(FormCount()));
            break;
        }
    }
    return 0;
}

void RunUntil(int64_t ms) {
    auto& clock = detail::clock();
    for (;;) {
        detail::runPass(true);
        const int64_t next = NextTimerDueMs();
        if (next >= 0 && next <= clock.nowMs()) {
            continue;
        }
        if (next < 0 || next > ms) {
            platform::backend().waitForInput(ms);
            if (clock.nowMs() >= ms) {
                detail::runPass(true);
                return;
            }
            continue;
        }
        platform::backend().waitForInput(next);
    }
}

void RunFor(int64_t ms) {
    RunUntil(detail::nowMs() + ms);
}

}  // namespace win
