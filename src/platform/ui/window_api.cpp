#include "platform/ui/window_api.h"

#include "platform/runtime/backend.h"
#include "platform/ui/form.h"
#include "platform/ui/gdi.h"
#include "platform/ui/screen.h"

namespace win {

int32_t SetWindowPos(int32_t hWnd, int32_t hWndInsertAfter, int32_t X, int32_t Y, int32_t cx,
                     int32_t cy, uint32_t wFlags) {
    Form* form = FindWindow(hWnd);
    if (form == nullptr) {
        return 0;
    }
    if ((wFlags & SWP_NOZORDER) == 0) {
        switch (hWndInsertAfter) {
            case HWND_TOPMOST:
                form->setTopMost(true);
                break;
            case HWND_NOTOPMOST:
                form->setTopMost(false);
                break;
            case HWND_TOP:
                form->bringToTop();
                break;
            default:
                break;
        }
    }
    const bool move = (wFlags & SWP_NOMOVE) == 0;
    const bool size = (wFlags & SWP_NOSIZE) == 0;
    if (move || size) {
        const float tppX = Screen.TwipsPerPixelX();
        const float tppY = Screen.TwipsPerPixelY();
        form->Move(move ? static_cast<float>(X) * tppX : form->Left(),
                   move ? static_cast<float>(Y) * tppY : form->Top(),
                   size ? static_cast<float>(cx) * tppX : form->Width(),
                   size ? static_cast<float>(cy) * tppY : form->Height());
    }
    if ((wFlags & SWP_SHOWWINDOW) != 0) {
        form->Show();
    } else if ((wFlags & SWP_HIDEWINDOW) != 0) {
        form->Hide();
    }
    if ((wFlags & SWP_NOACTIVATE) == 0 && form->Visible()) {
        SetForegroundWindow(hWnd);
    }
    return 1;
}

int32_t SetForegroundWindow(int32_t hWnd) {
    Form* form = FindWindow(hWnd);
    if (form == nullptr) {
        return 0;
    }
    platform::backend().windowChanged(form->view(), platform::WindowChange::Foreground);
    return 1;
}

int32_t SystemParametersInfoA(uint32_t uAction, uint32_t /*uParam*/, void* lpvParam,
                              uint32_t /*fuWinIni*/) {
    if (uAction != SPI_GETWORKAREA || lpvParam == nullptr) {
        return 0;
    }
    const auto screen = platform::backend().screen();
    auto* rect = static_cast<RECT*>(lpvParam);
    rect->Left = screen.workLeft;
    rect->Top = screen.workTop;
    rect->Right = screen.workRight;
    rect->Bottom = screen.workBottom;
    return 1;
}

}  // namespace win

namespace win {

int32_t SetWindowRgn(int32_t hWnd, int32_t hRgn, int32_t /*bRedraw*/) {
    Form* form = FindWindow(hWnd);
    if (form == nullptr || (hRgn != 0 && FindRegion(hRgn) == nullptr)) {
        return 0;
    }
    form->setRegion(hRgn);
    return 1;
}

}  // namespace win
