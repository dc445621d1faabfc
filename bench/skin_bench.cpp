// Shaping a window from the options window's real background (460 x 355) with cSkinAlpha, through
// a window of its own; bench_gdi runs it beside the bare scans of gdi_bench.cpp.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"
#include "platform/ui/form.h"
#include "platform/ui/picture.h"
#include "windows/art/window_art.h"
#include "windows/cSkinAlpha.h"

namespace {

class frmSkinned : public win::Form {
  public:
    frmSkinned() : Form("frmSkinned", {.BorderStyle = win::vbFixedDialog}) {
        setDesignPicture(win::LoadPictureFromBytes(windowart::OptionsBackground()));
    }
};

void BM_MakeTransparentOnAWindow(benchmark::State& state) {
    platform::installClock(std::make_unique<platform::VirtualClock>());
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    const auto form = win::New<frmSkinned>();
    form->Load();
    cSkinAlpha skin;
    for (auto _ : state) {
        // Each call replaces the window's region; the window deletes the one it had.
        skin.MakeTransparent(*form, 0xFF00FF);
    }
    state.counters["shape_rects"] = static_cast<double>(form->view().shape.size());
    form->Unload();
    platform::installBackend(nullptr);
}

BENCHMARK(BM_MakeTransparentOnAWindow)->Unit(benchmark::kMillisecond);

}  // namespace
