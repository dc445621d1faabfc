#include "platform/ui/tray.h"

#include <algorithm>
#include <charconv>

#include "platform/runtime/backend.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"
#include "platform/ui/model.h"

namespace win {

namespace {

constexpr uint32_t MK_LBUTTON = 0x1;
constexpr uint32_t MK_RBUTTON = 0x2;
constexpr uint32_t MK_SHIFT = 0x4;
constexpr uint32_t MK_CONTROL = 0x8;
constexpr uint32_t MK_MBUTTON = 0x10;

// What each scripted tray gesture sends, in order.
struct Gesture {
    const char* name;
    std::vector<uint32_t> messages;
};

const std::vector<Gesture>& gestures() {
    static const std::vector<Gesture> all = {
        {"right-click", {WM_RBUTTONDOWN, WM_RBUTTONUP}},
        {"left-click", {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {"left-double-click", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {"right-double-click", {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP}},
        {"move", {WM_MOUSEMOVE}},
    };
    return all;
}

// tray <gesture> [<icon id>]   or   tray message <number> [<icon id>]
void trayAction(const std::vector<std::string>& args) {
    auto& icons = detail::model().trayIcons;
    std::vector<uint32_t> messages;
    size_t next = 1;
    if (!args.empty() && args[0] == "message" && args.size() >= 2) {
        uint32_t number = 0;
        auto [end, error] =
            std::from_chars(args[1].data(), args[1].data() + args[1].size(), number);
        if (error == std::errc() && end == args[1].data() + args[1].size()) {
            messages.push_back(number);
        }
        next = 2;
    } else if (!args.empty()) {
        for (const auto& gesture : gestures()) {
            if (args[0] == gesture.name) {
                messages = gesture.messages;
            }
        }
    }
    const TrayIcon* target = icons.empty() ? nullptr : &icons.front();
    if (args.size() > next) {
        uint32_t id = 0;
        std::from_chars(args[next].data(), args[next].data() + args[next].size(), id);
        auto found = std::find_if(icons.begin(), icons.end(),
                                  [id](const TrayIcon& icon) { return icon.uID == id; });
        target = found == icons.end() ? nullptr : &*found;
    }
    if (messages.empty() || target == nullptr) {
        platform::trace(
            "input", messages.empty() ? "ignored tray: unknown gesture" : "ignored tray: no icon");
        return;
    }
    // Copied: a handler may remove the icon.
    const TrayIcon icon = *target;
    for (uint32_t message : messages) {
        SendTrayMessage(icon, message);
    }
}

}  // namespace

namespace detail {
void registerTrayActions(Model& model) {
    model.actions["tray"] = trayAction;
}
}  // namespace detail

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
