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

// Reads a bitmap (.bmp: 24 or 32 bits per pixel, uncompressed, rows bottom-up or top-down), an
// icon (.ico) or a cursor (.cur): of an icon or cursor the image nearest the system's icon size
// (32 x 32), which must be an uncompressed 24- or 32-bit bitmap with its mask. Every field the
// reading relies on is checked; nullopt for anything else, for a side above maxSide and for data
// that does not fit in bytes.
std::optional<DecodedPicture> decodePicture(std::span<const uint8_t> bytes, int32_t maxSide);

}  // namespace win::detail
