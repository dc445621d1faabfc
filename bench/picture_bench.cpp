// Reading a picture from its file's bytes: the options window's real background (a 460 x 355 BMP)
// and an 800 x 600 JPEG, the size of the credits' background, made here by the picture library.
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <vector>

#include "platform/ui/picture.h"
#include "windows/art/window_art.h"

namespace {

std::vector<uint8_t> jpeg800x600() {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 800, 600);
    guint8* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            guint8* p = pixels + y * stride + x * 3;
            p[0] = static_cast<guint8>(x), p[1] = static_cast<guint8>(y), p[2] = 128;
        }
    }
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "jpeg", nullptr, nullptr);
    g_object_unref(pixbuf);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    g_free(buffer);
    return bytes;
}

void BM_LoadOptionsBackground(benchmark::State& state) {
    const auto bytes = windowart::OptionsBackground();
    for (auto _ : state) {
        benchmark::DoNotOptimize(win::LoadPictureFromBytes(bytes).pixelWidth());
    }
}
BENCHMARK(BM_LoadOptionsBackground)->Unit(benchmark::kMicrosecond);

void BM_LoadJpeg800x600(benchmark::State& state) {
    const auto bytes = jpeg800x600();
    for (auto _ : state) {
        benchmark::DoNotOptimize(win::LoadPictureFromBytes(bytes).pixelWidth());
    }
}
BENCHMARK(BM_LoadJpeg800x600)->Unit(benchmark::kMicrosecond);

}  // namespace
