#include "platform/desktop/picture_cache.h"

#include "platform/ui/gdi.h"

namespace platform {

namespace {

// 0x00BBGGRR to the 0x00RRGGBB of cairo's and the toolkit's pixels.
uint32_t swapRedBlue(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

// A 0x00RRGGBB pixel of the given opacity as cairo's premultiplied 0xAARRGGBB.
uint32_t premultiplied(uint32_t pixel, uint8_t alpha) {
    const auto scaled = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
    return (uint32_t{alpha} << 24) | (scaled((pixel >> 16) & 0xFF) << 16) |
           (scaled((pixel >> 8) & 0xFF) << 8) | scaled(pixel & 0xFF);
}

}  // namespace

PictureCache::~PictureCache() {
    for (auto& [handle, entry] : entries_) {
        cairo_surface_destroy(entry.surface);
    }
}

cairo_surface_t* PictureCache::surface(int32_t bitmap) {
    const win::Bitmap* found = bitmap != 0 ? win::FindBitmap(bitmap) : nullptr;
    if (found == nullptr || !found->pixels || found->width <= 0 || found->height <= 0) {
        return nullptr;
    }
    Entry& entry = entries_[bitmap];
    if (entry.surface != nullptr && entry.pixels.lock() == found->pixels) {
        return entry.surface;
    }
    if (entry.surface != nullptr) {
        cairo_surface_destroy(entry.surface);
    }
    entry.pixels = found->pixels;
    const auto& pixels = *found->pixels;
    // An icon keeps its clear parts clear; cairo wants the colours premultiplied by the opacity.
    const std::vector<uint8_t>* alpha =
        found->icon && found->icon->alpha.size() == pixels.size() ? &found->icon->alpha : nullptr;
    entry.surface = cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                               found->width, found->height);
    cairo_surface_flush(entry.surface);
    auto* data = cairo_image_surface_get_data(entry.surface);
    const int stride = cairo_image_surface_get_stride(entry.surface);
    for (int y = 0; y < found->height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < found->width; ++x) {
            const size_t at = static_cast<size_t>(y) * found->width + x;
            row[x] = alpha ? premultiplied(swapRedBlue(pixels[at]), (*alpha)[at])
                           : swapRedBlue(pixels[at]);
        }
    }
    cairo_surface_mark_dirty(entry.surface);
    return entry.surface;
}

}  // namespace platform
