#include "platform/ui/tray.h"

#include <algorithm>

#include "platform/ui/form.h"
#include "platform/ui/model.h"

namespace win {

namespace {

constexpr uint32_t MK_LBUTTON = 0x1;
constexpr uint32_t MK_RBUTTON = 0x2;
constexpr uint32_t MK_SHIFT = 0x4;
constexpr uint32_t MK_CONTROL = 0x8;
constexpr uint32_t MK_MBUTTON = 0x10;

}  // namespace

const std::vector<TrayIcon>& TrayIcons() {
    return detail::model().trayIcons;
}

TrayIcon* FindTrayIcon(int32_t hWnd, uint32_t uID) {
    auto& icons = detail::model().trayIcons;
    auto found = std::find_if(icons.begin(), icons.end(), [&](const TrayIcon& icon) {
        return icon.hWnd == hWnd && icon.uID == uID;
    });
    return found == icons.end() ? nullptr : &*found;
}

bool AddTrayIcon(const TrayIcon& icon) {
    if (FindTrayIcon(icon.hWnd, icon.uID) != nullptr) {
        return false;
    }
    detail::model().trayIcons.push_back(icon);
    return true;
}

bool RemoveTrayIcon(int32_t hWnd, uint32_t uID) {
    auto& icons = detail::model().trayIcons;
    const auto before = icons.size();
    std::erase_if(icons,
                  [&](const TrayIcon& icon) { return icon.hWnd == hWnd && icon.uID == uID; });
    return icons.size() != before;
}

void SendTrayMessage(const TrayIcon& icon, uint32_t mouseMessage) {
    Form* form = FindWindow(icon.hWnd);
    if (form == nullptr || icon.uCallbackMessage != WM_MOUSEMOVE) {
        // Only mouse-move callbacks reach a window's handlers in this model.
        return;
    }
    // A mouse-move message: wParam carries the key state, the low word of lParam the X pixel.
    const uint32_t keys = icon.uID;
    int16_t button = 0;
    button |= (keys & MK_LBUTTON) ? 1 : 0;
    button |= (keys & MK_RBUTTON) ? 2 : 0;
    button |= (keys & MK_MBUTTON) ? 4 : 0;
    int16_t shift = 0;
    shift |= (keys & MK_SHIFT) ? 1 : 0;
    shift |= (keys & MK_CONTROL) ? 2 : 0;
    const auto x = static_cast<int16_t>(mouseMessage & 0xFFFF);
    const auto y = static_cast<int16_t>((mouseMessage >> 16) & 0xFFFF);
    form->mouseMoveFromPlatform(button, shift, x, y);
}

}  // namespace win
