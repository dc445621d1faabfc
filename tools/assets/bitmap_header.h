#pragma once

#include <cstdint>

#include "assets/bytes.h"

namespace assetgen {

inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

// The 40-byte header of an uncompressed device-independent bitmap, as both .bmp files and icon
// images carry it. A positive height means bottom-up rows.
inline void writeBitmapInfoHeader(LittleEndianWriter& out, std::int32_t width, std::int32_t height,
                                  std::uint16_t bitsPerPixel, std::uint32_t imageBytes,
                                  std::int32_t pixelsPerMetre) {
    out.u32(kBitmapInfoHeaderSize);
    out.i32(width);
    out.i32(height);
    out.u16(1);  // planes
    out.u16(bitsPerPixel);
    out.u32(0);  // uncompressed
    out.u32(imageBytes);
    out.i32(pixelsPerMetre);
    out.i32(pixelsPerMetre);
    out.u32(0);  // colours used
    out.u32(0);  // important colours
}

}  // namespace assetgen
