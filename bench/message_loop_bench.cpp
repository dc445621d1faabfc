// The message loop's pass with nothing due and one firing a timer, beside one iteration of a GLib
// main context with nothing due (the loop the desktop toolkit runs).
#include <benchmark/benchmark.h>
#include <glib.h>

#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"

namespace {

// A window like the main one: four timers, one of them running every 100 ms.
class frmIdle : public win::Form {
  public:
    frmIdle() : Form("frmIdle") {
        tmrAnimation.onTimer = [] {};
    }
    win::Timer tmrStart{this, "tmrStart", {.Enabled = false, .Interval = 1000}};
    win::Timer tmrAnimation{this, "tmrAnimation", {.Interval = 100}};
    win::Timer tmrNoNet{this, "tmrNoNet", {.Enabled = false, .Interval = 60000}};
    win::Timer tmrRequestCheck{this, "tmrRequestCheck", {.Enabled = false, .Interval = 2000}};
};

// A headless backend without a trace, on a virtual clock; returns the clock.
platform::VirtualClock* installQuietBackend() {
    auto clock = std::make_unique<platform::VirtualClock>();
    auto* installed = clock.get();
    platform::installClock(std::move(clock));
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    return installed;
}

// One pass of the loop with nothing due: what every idle wake-up costs.
void BM_IdleLoopPass(benchmark::State& state) {
    auto* clock = installQuietBackend();
    win::Default<frmIdle>().Load();
    for (auto _ : state) {
        benchmark::DoNotOptimize(win::DoEvents());
        // Stay short of the 100 ms tick so every pass is idle.
        if (clock->nowMs() % 100 == 98) {
            clock->advance(3);
        }
    }
    platform::installBackend(nullptr);
}
BENCHMARK(BM_IdleLoopPass);

// One pass that fires one timer.
void BM_LoopPassFiringATimer(benchmark::State& state) {
    auto* clock = installQuietBackend();
    win::Default<frmIdle>().Load();
    for (auto _ : state) {
        clock->advance(100);
        benchmark::DoNotOptimize(win::DoEvents());
    }
    platform::installBackend(nullptr);
}
BENCHMARK(BM_LoopPassFiringATimer);

// The reference: a context of its own holding one 100 ms timer, like the idle window's. It fires
// every 100 ms of the run, so all but a handful of the iterations find nothing due; the counter
// says how many times it fired.
void BM_GlibIterationNothingDue(benchmark::State& state) {
    GMainContext* context = g_main_context_new();
    GSource* timer = g_timeout_source_new(100);
    int64_t fired = 0;
    g_source_set_callback(
        timer,
        [](gpointer count) -> gboolean {
            ++*static_cast<int64_t*>(count);
            return G_SOURCE_CONTINUE;
        },
        &fired, nullptr);
    g_source_attach(timer, context);
    for (auto _ : state) {
        benchmark::DoNotOptimize(g_main_context_iteration(context, FALSE));
    }
    state.counters["timer_fired"] = static_cast<double>(fired);
    g_source_destroy(timer);
    g_source_unref(timer);
    g_main_context_unref(context);
}
BENCHMARK(BM_GlibIterationNothingDue);

}  // namespace
