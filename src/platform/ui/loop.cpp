#include "platform/ui/loop.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/runtime/backend.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"

namespace win {

namespace detail {

namespace {

// The number a failure that is no run-time error is reported under.
constexpr int kInternalError = 51;

void traceUntrapped(const std::exception_ptr& error) {
    int number = kInternalError;
    std::string description = "Internal error";
    try {
        std::rethrow_exception(error);
    } catch (const platform::RuntimeError& e) {
        number = e.number();
        description = e.description();
    } catch (const std::exception& e) {
        description = e.what();
    } catch (...) {
    }
    platform::trace("loop", "untrapped number=" + std::to_string(number) +
                                " description=" + platform::quoted(description));
}

// Runs one event or timer handler. An error it does not trap ends the program, as it would at
// the top level; in a nested pass it must not unwind into the procedure that yielded, so the
// first one is kept until control is back at the top level.
template <typename Handler>
void dispatch(bool nested, Handler&& handler) {
    auto& state = model();
    ++state.handlerDepth;
    try {
        handler();
    } catch (...) {
        --state.handlerDepth;
        if (!nested) {
            // One kept by a pass inside this handler came first.
            raiseUntrapped();
            throw;
        }
        const auto error = std::current_exception();
        traceUntrapped(error);
        if (!state.untrapped) {
            state.untrapped = error;
        }
        return;
    }
    --state.handlerDepth;
    if (!nested) {
        raiseUntrapped();
    }
}

// Fires every timer due now, earliest first (creation order among equals). Returns how many fired.
int runDueTimers(bool nested) {
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
        dispatch(nested, [timer] { timer->fire(); });
        ++fired;
    }
    return fired;
}

bool isAnswer(const platform::InputEvent& event) {
    return std::holds_alternative<platform::input::MessageBoxAnswer>(event) ||
           std::holds_alternative<platform::input::DialogAnswer>(event);
}

// Takes the backend's input. While a modal box or dialog is open only answers go through; other
// input is held, in order, until none is open.
int runInput(bool nested) {
    auto& state = model();
    int done = 0;
    // Answers go through at once; everything else queues behind what is already held, so input
    // held by a box keeps its order with input that comes after.
    for (auto& event : platform::backend().takeInput(nowMs())) {
        if (isAnswer(event)) {
            dispatch(nested, [&event] { dispatchInput(event); });
            ++done;
        } else {
            state.held.push_back(std::move(event));
        }
    }
    while (state.modalDepth == 0 && !state.held.empty()) {
        const auto event = std::move(state.held.front());
        state.held.pop_front();
        dispatch(nested, [&event] { dispatchInput(event); });
        ++done;
    }
    return done;
}

BackgroundWork& background() {
    static BackgroundWork work;
    return work;
}

bool backgroundBusy() {
    const auto& work = background();
    return work.busy && work.busy();
}

// Lets the work beside the loop go on, waiting at most waitMs of real time, and runs the handlers
// of what has ended as events. Returns how many ran.
int runBackground(bool nested, int waitMs) {
    if (!backgroundBusy()) {
        return 0;
    }
    const auto handlers = background().progress(waitMs);
    for (const auto& handler : handlers) {
        dispatch(nested, handler);
    }
    return static_cast<int>(handlers.size());
}

// How long to wait for work beside the loop before looking at timers and input again. The clock
// is not moved meanwhile: on the virtual clock, time stands still while a page loads.
int backgroundSliceMs(int64_t nextDueMs) {
    constexpr int64_t kSliceMs = 20;
    if (nextDueMs < 0) {
        return static_cast<int>(kSliceMs);
    }
    return static_cast<int>(std::clamp<int64_t>(nextDueMs - nowMs(), 1, kSliceMs));
}

}  // namespace

// One pass: input, what ended beside the loop, then due timers.
int runPass(bool withInput, bool nested) {
    nested = nested || model().handlerDepth > 0;
    int done = 0;
    if (withInput) {
        done += runInput(nested);
    }
    done += runBackground(nested, 0);
    done += runDueTimers(nested);
    return done;
}

platform::InputEvent runModal(const std::function<void(int32_t id)>& open) {
    auto& state = model();
    const int32_t id = state.nextRequestId++;
    open(id);
    // Timers go on while the request is open; an untrapped error of theirs does not come out of
    // it: the top-level loop raises it.
    ++state.modalDepth;
    struct Closing {
        int& depth;
        ~Closing() { --depth; }
    } closing{state.modalDepth};
    for (;;) {
        // The answer is looked for before the timers: one given at once lets none run.
        runInput(true);
        if (auto answer = state.answers.extract(id)) {
            return std::move(answer.mapped());
        }
        runDueTimers(true);
        const int64_t next = NextTimerDueMs();
        if (next >= 0 && next <= nowMs()) {
            continue;
        }
        if (backgroundBusy()) {
            runBackground(true, backgroundSliceMs(next));
            continue;
        }
        if (!platform::backend().waitForInput(next)) {
            throw std::logic_error("a modal request that nothing can ever answer");
        }
    }
}

void raiseUntrapped() {
    if (auto error = std::exchange(model().untrapped, nullptr)) {
        std::rethrow_exception(error);
    }
}

}  // namespace detail

void SetBackgroundWork(BackgroundWork work) {
    detail::background() = std::move(work);
}

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
    // Whoever yields gets control back whatever the handlers did.
    if (detail::runPass(true, true) == 0) {
        if (detail::backgroundBusy()) {
            detail::runBackground(true, detail::backgroundSliceMs(NextTimerDueMs()));
        } else {
            platform::clock().passIdle();
        }
    }
    return FormCount();
}

int RunMessageLoop() {
    auto& clock = platform::clock();
    // An error left by a handler that ran while nothing was looping ends the program here.
    detail::raiseUntrapped();
    while (FormCount() > 0) {
        detail::runPass(true, false);
        if (FormCount() == 0) {
            break;
        }
        const int64_t next = NextTimerDueMs();
        if (next >= 0 && next <= clock.nowMs()) {
            continue;
        }
        if (detail::backgroundBusy()) {
            detail::runBackground(false, detail::backgroundSliceMs(next));
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
    auto& clock = platform::clock();
    detail::raiseUntrapped();
    for (;;) {
        detail::runPass(true, false);
        const int64_t next = NextTimerDueMs();
        if (next >= 0 && next <= clock.nowMs()) {
            continue;
        }
        if (detail::backgroundBusy()) {
            detail::runBackground(false, detail::backgroundSliceMs(next));
            continue;
        }
        if (next < 0 || next > ms) {
            platform::backend().waitForInput(ms);
            if (clock.nowMs() >= ms) {
                detail::runPass(true, false);
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
