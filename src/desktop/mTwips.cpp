#include "desktop/mTwips.h"

#include "platform/runtime/convert.h"
#include "platform/ui/screen.h"

namespace mTwips {

namespace {
int32_t toTwips(int16_t px, float twipsPerPixel) {
    // Single precision, as the platform computes it.
    const float product = static_cast<float>(px) * twipsPerPixel;
    return platform::CLng(product);
}
}  // namespace

int32_t PixelsToTwipsX(const int16_t& px) {
    return toTwips(px, win::Screen.TwipsPerPixelX());
}

int32_t PixelsToTwipsY(const int16_t& px) {
    return toTwips(px, win::Screen.TwipsPerPixelY());
}

}  // namespace mTwips
