#include "platform/desktop/picture_cache.h"

#include "platform/ui/gdi.h"

namespace platform {

namespace {

// 0x00BBGGRR to the 0x00RRGGBB of cairo's and the toolkit's pixels.
uint32_t swapRedBlue(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
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
    entry.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, found->width, found->height);
    cairo_surface_flush(entry.surface);
    auto* data = cairo_image_surface_get_data(entry.surface);
    const int stride = cairo_image_surface_get_stride(entry.surface);
    const auto& pixels = *found->pixels;
    for (int y = 0; y < found->height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < found->width; ++x) {
            row[x] = swapRedBlue(pixels[static_cast<size_t>(y) * found->width + x]);
        }
    }
    cairo_surface_mark_dirty(entry.surface);
    return entry.surface;
}

GdkPixbuf* pixbufOf(const win::Bitmap& bitmap) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, bitmap.width, bitmap.height);
    guchar* data = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const uint32_t pixel = (*bitmap.pixels)[static_cast<size_t>(y) * bitmap.width + x];
            guchar* out = data + static_cast<ptrdiff_t>(y) * stride + x * 3;
            out[0] = static_cast<guchar>(pixel & 0xFF);
            out[1] = static_cast<guchar>((pixel >> 8) & 0xFF);
            out[2] = static_cast<guchar>((pixel >> 16) & 0xFF);
        }
    }
    return pixbuf;
}

}  // namespace platform
