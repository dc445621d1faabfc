#pragma once

#include <cstdint>

// Screen pixels to twips at the screen's twips per pixel, read afresh at every call; rounded to
// nearest, halves to even.
namespace mTwips {
int32_t PixelsToTwipsX(const int16_t& px);
int32_t PixelsToTwipsY(const int16_t& px);
}  // namespace mTwips
