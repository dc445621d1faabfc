#pragma once

#include <cstdint>

// The window operations of the platform, by their platform names. Window handles are 32-bit; a
// handle that names no loaded window makes an operation return 0 and change nothing.
namespace win {

constexpr int32_t HWND_TOP = 0;
constexpr int32_t HWND_BOTTOM = 1;
constexpr int32_t HWND_TOPMOST = -1;
constexpr int32_t HWND_NOTOPMOST = -2;

constexpr uint32_t SWP_NOSIZE = 0x1;
constexpr uint32_t SWP_NOMOVE = 0x2;
constexpr uint32_t SWP_NOZORDER = 0x4;
constexpr uint32_t SWP_NOACTIVATE = 0x10;
constexpr uint32_t SWP_SHOWWINDOW = 0x40;
constexpr uint32_t SWP_HIDEWINDOW = 0x80;

// Places a window: X, Y, cx, cy in pixels unless SWP_NOMOVE / SWP_NOSIZE; hWndInsertAfter one of
// the HWND_ values (HWND_TOPMOST / HWND_NOTOPMOST switch the top-most state; HWND_TOP raises the
// window within its group) unless SWP_NOZORDER. Returns non-zero on success.
int32_t SetWindowPos(int32_t hWnd, int32_t hWndInsertAfter, int32_t X, int32_t Y, int32_t cx,
                     int32_t cy, uint32_t wFlags);

// Brings the window to the foreground; non-zero on success.
int32_t SetForegroundWindow(int32_t hWnd);

// Gives the window hWnd the region hRgn as its outline, in the window's pixel coordinates (0: the
// full rectangle again). The window owns the region from then on and deletes it when it takes
// another or unloads. bRedraw asks for a redraw, which every change gets. 0 when hWnd names no
// loaded window or hRgn no region (the region then stays the caller's).
int32_t SetWindowRgn(int32_t hWnd, int32_t hRgn, int32_t bRedraw);

struct RECT {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

constexpr uint32_t SPI_GETWORKAREA = 48;

// SPI_GETWORKAREA fills the RECT at lpvParam with the work area in pixels (the screen less the
// taskbar). Other actions, or a null lpvParam, return 0.
int32_t SystemParametersInfoA(uint32_t uAction, uint32_t uParam, void* lpvParam, uint32_t fuWinIni);

}  // namespace win
