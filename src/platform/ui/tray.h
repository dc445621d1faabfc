#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The notification area: the icons that windows have put there, and the delivery of their mouse
// messages. The shell's record operation (platform/shell) works on it.
namespace win {

// Mouse messages as the tray reports them.
constexpr uint32_t WM_MOUSEMOVE = 0x200;
constexpr uint32_t WM_LBUTTONDOWN = 0x201;
constexpr uint32_t WM_LBUTTONUP = 0x202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x203;
constexpr uint32_t WM_RBUTTONDOWN = 0x204;
constexpr uint32_t WM_RBUTTONUP = 0x205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x206;

struct TrayIcon {
    int32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t uCallbackMessage = 0;
    int32_t hIcon = 0;
    std::string tip;
};

// The icons in the order they were added.
const std::vector<TrayIcon>& TrayIcons();
TrayIcon* FindTrayIcon(int32_t hWnd, uint32_t uID);
// False when an icon with that window and id is there already.
bool AddTrayIcon(const TrayIcon& icon);
// False when there is no such icon.
bool RemoveTrayIcon(int32_t hWnd, uint32_t uID);

// Sends a tray mouse message to the icon's window as its callback message: wParam the icon id,
// lParam the mouse message. A window that handles it as a mouse move sees X = the message number
// in pixels. Quietly dropped when the window is gone.
void SendTrayMessage(const TrayIcon& icon, uint32_t mouseMessage);

}  // namespace win
