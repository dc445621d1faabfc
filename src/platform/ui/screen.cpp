#include "platform/ui/screen.h"

#include "platform/runtime/backend.h"

namespace win {

float ScreenObject::Width() const {
    const auto screen = platform::backend().screen();
    return static_cast<float>(screen.widthPx) * screen.twipsPerPixelX;
}

float ScreenObject::Height() const {
    const auto screen = platform::backend().screen();
    return static_cast<float>(screen.heightPx) * screen.twipsPerPixelY;
}

float ScreenObject::TwipsPerPixelX() const {
    return platform::backend().screen().twipsPerPixelX;
}

float ScreenObject::TwipsPerPixelY() const {
    return platform::backend().screen().twipsPerPixelY;
}

}  // namespace win
