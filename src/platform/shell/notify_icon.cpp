#include "platform/shell/notify_icon.h"

#include <string>

#include "platform/runtime/ansi.h"
#include "platform/runtime/backend.h"
#include "platform/ui/form.h"
#include "platform/ui/tray.h"

namespace win {

namespace {

uint32_t read32(const NotifyIconRecord& record, size_t at) {
    return static_cast<uint32_t>(record[at]) | (static_cast<uint32_t>(record[at + 1]) << 8) |
           (static_cast<uint32_t>(record[at + 2]) << 16) |
           (static_cast<uint32_t>(record[at + 3]) << 24);
}

std::string readText(const NotifyIconRecord& record, size_t at, size_t width) {
    size_t length = 0;
    while (length < width && record[at + length] != 0) {
        ++length;
    }
    return platform::fromAnsi(
        std::string_view(reinterpret_cast<const char*>(record.data() + at), length));
}

platform::TrayView viewOf(const NotifyIconRecord& record) {
    platform::TrayView view;
    view.cbSize = read32(record, nid::cbSize);
    view.hWnd = static_cast<int32_t>(read32(record, nid::hWnd));
    view.uID = read32(record, nid::uID);
    view.uFlags = read32(record, nid::uFlags);
    view.uCallbackMessage = read32(record, nid::uCallbackMessage);
    view.hIcon = static_cast<int32_t>(read32(record, nid::hIcon));
    view.szTip = readText(record, nid::szTip, nid::szTipWidth);
    view.dwState = read32(record, nid::dwState);
    view.dwStateMask = read32(record, nid::dwStateMask);
    view.szInfo = readText(record, nid::szInfo, nid::szInfoWidth);
    view.uTimeout = read32(record, nid::uTimeout);
    view.szInfoTitle = readText(record, nid::szInfoTitle, nid::szInfoTitleWidth);
    view.dwInfoFlags = read32(record, nid::dwInfoFlags);
    return view;
}

void take(TrayIcon& icon, const platform::TrayView& view) {
    if (view.uFlags & NIF_MESSAGE) {
        icon.uCallbackMessage = view.uCallbackMessage;
    }
    if (view.uFlags & NIF_ICON) {
        icon.hIcon = view.hIcon;
    }
    if (view.uFlags & NIF_TIP) {
        icon.tip = view.szTip;
    }
}

bool apply(uint32_t message, const platform::TrayView& view) {
    if (view.cbSize != nid::kSize) {
        return false;
    }
    switch (message) {
        case NIM_ADD: {
            if (FindWindow(view.hWnd) == nullptr) {
                return false;
            }
            TrayIcon icon;
            icon.hWnd = view.hWnd;
            icon.uID = view.uID;
            take(icon, view);
            return AddTrayIcon(icon);
        }
        case NIM_MODIFY: {
            TrayIcon* icon = FindTrayIcon(view.hWnd, view.uID);
            if (icon == nullptr) {
                return false;
            }
            take(*icon, view);
            return true;
        }
        case NIM_DELETE:
            return RemoveTrayIcon(view.hWnd, view.uID);
        default:
            return false;
    }
}

}  // namespace

int32_t Shell_NotifyIconA(uint32_t dwMessage, const NotifyIconRecord& lpData) {
    const auto view = viewOf(lpData);
    if (dwMessage != NIM_ADD && dwMessage != NIM_MODIFY && dwMessage != NIM_DELETE) {
        // Refused, and no icon changes: nothing for a backend to show.
        platform::trace("tray", "unknown message=" + std::to_string(dwMessage) +
                                    " cbSize=" + std::to_string(view.cbSize) +
                                    " hWnd=" + std::to_string(view.hWnd) +
                                    " uID=" + std::to_string(view.uID) + " ok=0");
        return 0;
    }
    const bool done = apply(dwMessage, view);
    auto& backend = platform::backend();
    const auto change = dwMessage == NIM_ADD      ? platform::TrayChange::Add
                        : dwMessage == NIM_MODIFY ? platform::TrayChange::Modify
                                                  : platform::TrayChange::Delete;
    auto traced = view;
    traced.accepted = done;
    backend.trayChanged(traced, change);
    if (done && dwMessage != NIM_DELETE && (view.uFlags & NIF_INFO) != 0 && !view.szInfo.empty()) {
        backend.trayChanged(traced, platform::TrayChange::Balloon);
    }
    return done ? 1 : 0;
}

}  // namespace win
