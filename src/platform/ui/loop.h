#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace win {

// Runs one pass of the message loop: pending input and window events, then the timers that are due
// (each at most once; a timer whose handler is running is not entered again). On the virtual
// clock a pass that finds nothing to do lets 1 ms go by, so loops that wait on DoEvents move on.
// Returns the number of open forms.
int DoEvents();

// The message loop of the start-up object: runs until no form is loaded. Sleeps until the next
// timer falls due or input arrives. It also returns when nothing can ever happen again (no timer
// running and no input to come), which only a headless backend can know. Returns 0.
int RunMessageLoop();

// Runs the loop until the clock reads ms (tests on the virtual clock), or until no form is loaded
// and no timer is running. Every timer due at or before ms fires.
void RunUntil(int64_t ms);
// RunUntil(now + ms).
void RunFor(int64_t ms);

// Work that goes on beside the loop (page loads). busy says whether any is under way; progress lets
// it advance, waiting at most waitMs of real time, and returns the handlers of what has ended,
// which the loop runs as it runs events. While any is under way the loop does not wait for the
// clock: on the virtual clock, time stands still until it has ended.
struct BackgroundWork {
    std::function<bool()> busy;
    std::function<std::vector<std::function<void()>>(int waitMs)> progress;
};
void SetBackgroundWork(BackgroundWork work);

// The clock time at which the next timer falls due; -1 when no timer is running.
int64_t NextTimerDueMs();

}  // namespace win
