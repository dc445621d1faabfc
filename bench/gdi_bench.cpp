// The colour-key scan that shapes a skinned window, on the options window's real background: one
// GetPixel per pixel of (W + 1) x (H + 1) and, per magenta pixel, a one-pixel region XORed into the
// window's region. Once with the platform's banded regions, once with a naive rectangle list whose
// XOR rebuilds the whole list, for comparison.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/runtime/convert.h"
#include "platform/ui/gdi.h"
#include "platform/ui/picture.h"
#include "windows/art/window_art.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr float kTwipsPerPixel = 15.0f;

// The platform's regions, through their handles.
struct BandedRegions {
    using Region = int32_t;
    static Region create(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        return win::CreateRectRgn(left, top, right, bottom);
    }
    static void xorInto(Region target, Region cell) {
        win::CombineRgn(target, target, cell, win::RGN_XOR);
    }
    static void destroy(Region region) { win::DeleteObject(region); }
    static int64_t area(Region region) {
        int64_t total = 0;
        for (const win::RECT& r : win::FindRegion(region)->rects()) {
            total += int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
        }
        return total;
    }
};

// A plain list of disjoint rectangles.
struct NaiveRegions {
    using Region = std::vector<win::RECT>*;
    static Region create(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        return new std::vector<win::RECT>{{left, top, right, bottom}};
    }
    // Rebuilds the list: every rectangle the cell overlaps is cut into the up to four pieces
    // around it; a cell that no rectangle covers is added.
    static void xorInto(Region target, Region cellRegion) {
        const win::RECT cell = cellRegion->front();
        std::vector<win::RECT> rebuilt;
        bool covered = false;
        for (const win::RECT& r : *target) {
            if (cell.Left >= r.Right || cell.Right <= r.Left || cell.Top >= r.Bottom ||
                cell.Bottom <= r.Top) {
                rebuilt.push_back(r);
                continue;
            }
            covered = true;
            const win::RECT pieces[] = {{r.Left, r.Top, r.Right, cell.Top},
                                        {r.Left, cell.Top, cell.Left, cell.Bottom},
                                        {cell.Right, cell.Top, r.Right, cell.Bottom},
                                        {r.Left, cell.Bottom, r.Right, r.Bottom}};
            for (const win::RECT& piece : pieces) {
                if (piece.Left < piece.Right && piece.Top < piece.Bottom) {
                    rebuilt.push_back(piece);
                }
            }
        }
        if (!covered) {
            rebuilt.push_back(cell);
        }
        *target = std::move(rebuilt);
    }
    static void destroy(Region region) { delete region; }
    static int64_t area(Region region) {
        int64_t total = 0;
        for (const win::RECT& r : *region) {
            total += int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
        }
        return total;
    }
};

// The scan, step by step as the window shaping runs it; returns the region and counts the
// magenta pixels.
template <typename Regions>
typename Regions::Region shape(const win::StdPicture& picture, int32_t windowDC, int64_t& keys) {
    const float W = win::PixelsFromHimetric(picture.Width(), kTwipsPerPixel);
    const int32_t H = platform::CLng(win::PixelsFromHimetric(picture.Height(), kTwipsPerPixel));
    const auto region = Regions::create(0, 0, platform::CLng(W), H);
    const int32_t memoryDC = win::CreateCompatibleDC(windowDC);
    const int32_t replaced = win::SelectObject(memoryDC, picture.Handle());
    keys = 0;
    for (int32_t y = 0; y <= H; ++y) {
        for (int32_t x = 0; static_cast<float>(x) <= W; ++x) {
            if (win::GetPixel(memoryDC, x, y) == kMagenta) {
                const auto cell = Regions::create(x, y, x + 1, y + 1);
                Regions::xorInto(region, cell);
                Regions::destroy(cell);
                ++keys;
            }
        }
    }
    win::SelectObject(memoryDC, replaced);
    win::DeleteDC(memoryDC);
    return region;
}

template <typename Regions>
void BM_MakeTransparentScan(benchmark::State& state) {
    const win::StdPicture background = win::LoadPictureFromBytes(windowart::OptionsBackground());
    const int32_t windowDC =
        win::CreateSurfaceDC(background.pixelWidth(), background.pixelHeight());
    int64_t keys = 0;
    for (auto _ : state) {
        const auto region = shape<Regions>(background, windowDC, keys);
        benchmark::DoNotOptimize(region);
        state.PauseTiming();
        Regions::destroy(region);
        state.ResumeTiming();
    }
    // The shaped region must be exactly the pixels that are not magenta.
    const auto region = shape<Regions>(background, windowDC, keys);
    const int64_t kept = int64_t{background.pixelWidth()} * background.pixelHeight() - keys;
    if (Regions::area(region) != kept) {
        state.SkipWithError("the region is not the picture less its magenta pixels");
    }
    Regions::destroy(region);
    win::DeleteDC(windowDC);
    state.counters["key_pixels"] = static_cast<double>(keys);
}

// The pixel reads alone, without any region work: the floor under both scans.
void BM_PixelReadsOnly(benchmark::State& state) {
    const win::StdPicture background = win::LoadPictureFromBytes(windowart::OptionsBackground());
    const int32_t memoryDC = win::CreateCompatibleDC(0);
    const int32_t replaced = win::SelectObject(memoryDC, background.Handle());
    for (auto _ : state) {
        int64_t keys = 0;
        for (int32_t y = 0; y <= background.pixelHeight(); ++y) {
            for (int32_t x = 0; x <= background.pixelWidth(); ++x) {
                keys += win::GetPixel(memoryDC, x, y) == kMagenta ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(keys);
    }
    win::SelectObject(memoryDC, replaced);
    win::DeleteDC(memoryDC);
}

BENCHMARK(BM_PixelReadsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeTransparentScan<BandedRegions>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeTransparentScan<NaiveRegions>)->Unit(benchmark::kMillisecond);

}  // namespace
