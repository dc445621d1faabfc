#include "desktop/mOnTop.h"

#include "platform/runtime/convert.h"
#include "platform/ui/window_api.h"

namespace mOnTop {

void SetWindowOnTop(const int32_t& hWnd, const int16_t& bOnTop) {
    int32_t insertAfter = win::HWND_TOP;
    if (bOnTop == platform::kTrue) {
        insertAfter = win::HWND_TOPMOST;
    } else if (bOnTop == platform::kFalse) {
        insertAfter = win::HWND_NOTOPMOST;
    }
    constexpr uint32_t flags =
        win::SWP_NOSIZE | win::SWP_NOMOVE | win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW;
    // The result is not looked at.
    win::SetWindowPos(hWnd, insertAfter, 0, 0, 0, 0, flags);
}

}  // namespace mOnTop
