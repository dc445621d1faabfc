#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"
#include "platform/ui/form.h"
#include "windows/ucScrollingText.h"

namespace {

class frmCredits : public win::Form {
  public:
    frmCredits() : Form("frmCredits") {}
    ucScrollingText ucstCredits{this,
                                "ucstCredits",
                                {.Left = 120, .Top = 2640, .Width = 3315, .Height = 1095},
                                win::PropertyBag{{"ScrollTimer", 80}}};
};

// One scroll step of a full control: 101 lines, each read and moved, some re-entering below.
void BM_ScrollTickOf101Lines(benchmark::State& state) {
    platform::installClock(std::make_unique<platform::VirtualClock>());
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    {
        auto form = win::New<frmCredits>();
        form->Load();
        auto& credits = form->ucstCredits;
        for (int i = 0; i < 101; ++i) {
            credits.AddText("Credit line " + std::to_string(i), 20);
        }
        for (auto _ : state) {
            credits.tmrScrollText_Timer();
        }
        benchmark::DoNotOptimize(credits.lblText[0].Top());
        win::Unload(*form);
    }
    platform::installBackend(nullptr);
}
BENCHMARK(BM_ScrollTickOf101Lines);

}  // namespace
