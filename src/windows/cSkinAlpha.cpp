#include "windows/cSkinAlpha.h"

#include "platform/runtime/convert.h"
#include "platform/ui/gdi.h"
#include "platform/ui/region.h"
#include "platform/ui/screen.h"
#include "platform/ui/window_api.h"

void cSkinAlpha::MakeTransparent(win::Form& Frm, uint32_t TrnsColor) {
    // 1. No caption bar and no frame.
    Frm.setBorderStyle(win::vbBSNone);
    // 2. Pixels while shaping.
    const int16_t oldScaleMode = Frm.ScaleMode();
    Frm.setScaleMode(win::vbPixels);
    // 3. The picture's size at the screen's resolution: W keeps its fraction, H is whole.
    const win::StdPicture picture = Frm.Picture();
    const float W = Frm.ScaleX(static_cast<float>(picture.Width()), win::vbHimetric, win::vbPixels);
    const int32_t H = platform::CLng(
        Frm.ScaleY(static_cast<float>(picture.Height()), win::vbHimetric, win::vbPixels));
    // 4. The window takes the picture's size.
    Frm.setWidth(W * win::Screen.TwipsPerPixelX());
    Frm.setHeight(static_cast<float>(H) * win::Screen.TwipsPerPixelY());
    // 5. The starting region.
    const int32_t region = win::CreateRectRgn(0, 0, platform::CLng(W), H);
    // 6. The picture's bitmap in a memory context.
    const int32_t memoryDC = win::CreateCompatibleDC(Frm.hDC());
    const int32_t replaced = win::SelectObject(memoryDC, picture.Handle());
    // 7. Every key-coloured pixel out; the extra column and row read CLR_INVALID and add nothing.
    for (int32_t y = 0; y <= H; ++y) {
        for (int32_t x = 0; static_cast<float>(x) <= W; ++x) {
            if (win::GetPixel(memoryDC, x, y) == TrnsColor) {
                const int32_t cell = win::CreateRectRgn(x, y, x + 1, y + 1);
                win::CombineRgn(region, region, cell, win::RGN_XOR);
                win::DeleteObject(cell);
            }
        }
    }
    // 8.
    win::SelectObject(memoryDC, replaced);
    win::DeleteDC(memoryDC);
    // 9. The window owns the region from here on.
    if (region != 0) {
        win::SetWindowRgn(Frm.hWnd(), region, platform::kTrue);
    }
    // 10.
    Frm.setScaleMode(oldScaleMode);
}

void cSkinAlpha::RemoveTransparent(win::Form& Frm) {
    const int32_t region = win::CreateRectRgn(0, 0, platform::CLng(Frm.ScaleWidth()),
                                              platform::CLng(Frm.ScaleHeight()));
    win::SetWindowRgn(Frm.hWnd(), region, platform::kTrue);
}
