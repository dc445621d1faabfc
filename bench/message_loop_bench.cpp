#include <benchmark/benchmark.h>

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

}  // namespace
