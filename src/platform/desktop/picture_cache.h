#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>

namespace win {
struct Bitmap;
}

namespace platform {

// The model's bitmaps as cairo surfaces, made once per bitmap and kept while its pixels are the
// same buffer (a picture change hands out a new one).
class PictureCache {
  public:
    PictureCache() = default;
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The bitmap's surface, owned by the cache; null when the handle names no bitmap.
    cairo_surface_t* surface(int32_t bitmap);

  private:
    struct Entry {
        // Held weakly: the buffer's memory cannot be handed to another picture meanwhile, so a
        // handle used again for a new picture is never taken for the old one.
        std::weak_ptr<const void> pixels;
        cairo_surface_t* surface = nullptr;
    };
    std::map<int32_t, Entry> entries_;
};

}  // namespace platform
