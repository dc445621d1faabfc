#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace win::detail {

// A picture file's content: its pixels, row 0 at the top, each 0x00BBGGRR.
struct DecodedPicture {
    bool icon = false;  // an icon or cursor rather than a bitmap
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
    // An icon's opacity per pixel (0 clear to 255 opaque), from its alpha channel when the image
    // has one and from its mask otherwise; empty for a bitmap.
    std::vector<uint8_t> alpha;
    int32_t hotSpotX = 0;
    int32_t hotSpotY = 0;
};

// Reads a picture file with gdk-pixbuf: BMP of every depth and compression, GIF (its first frame),
// JPEG, PNG, and of an icon (.ico) or cursor (.cur) the image nearest the system's icon size
// (32 x 32) with the cursor's hot spot. nullopt for what the library cannot read, for data cut
// short, and for a picture whose header claims a side above maxSide or more than maxPixels pixels,
// which is refused before its pixels are allocated.
std::optional<DecodedPicture> decodePicture(std::span<const uint8_t> bytes, int32_t maxSide,
                                            int64_t maxPixels);

}  // namespace win::detail
