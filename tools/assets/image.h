#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

// A picture in memory, row 0 at the top.
struct Image {
    Image(int w, int h, Rgba fill = {})
        : width(w),
          height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    Rgba& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

    int width;
    int height;
    std::vector<Rgba> pixels;
};

}  // namespace assetgen
