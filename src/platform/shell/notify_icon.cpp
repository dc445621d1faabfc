#include "platform/shell/notify_icon.h"

#include <string>

#include "platform/runtime/ansi.h"
#include "platform/runtime/backend.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "platform/ui/form.h"
#include "platform/ui/image_api.h"
#include "platform/ui/tray.h"

namespace win {

namespace {

// The record's fields as the shell reads them; texts up to their NUL (the whole field without one),
// in UTF-8.
struct Record {
    uint32_t cbSize = 0;
    int32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    int32_t hIcon = 0;
    std::string szTip;
    uint32_t dwState = 0;
    uint32_t dwStateMask = 0;
    std::string szInfo;
    uint32_t uTimeout = 0;
    std::string szInfoTitle;
    uint32_t dwInfoFlags = 0;
};

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

Record viewOf(const NotifyIconRecord& record) {
    Record view;
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

void take(TrayIcon& icon, const Record& view) {
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

bool apply(uint32_t message, const Record& view) {
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

void traceCall(const char* operation, const Record& record, bool accepted) {
    platform::trace(
        "tray",
        std::string(operation) + " cbSize=" + std::to_string(record.cbSize) +
            " hWnd=" + std::to_string(record.hWnd) + " uID=" + std::to_string(record.uID) +
            " uFlags=" + std::to_string(record.uFlags) +
            " uCallbackMessage=" + std::to_string(record.uCallbackMessage) +
            " hIcon=" + std::to_string(record.hIcon) + " szTip=" + platform::quoted(record.szTip) +
            " dwState=" + std::to_string(record.dwState) + " dwStateMask=" +
            std::to_string(record.dwStateMask) + " szInfo=" + platform::quoted(record.szInfo) +
            " uTimeout=" + std::to_string(record.uTimeout) +
            " szInfoTitle=" + platform::quoted(record.szInfoTitle) +
            " dwInfoFlags=" + std::to_string(record.dwInfoFlags) + " ok=" + (accepted ? "1" : "0"));
}

// What a desktop shows of the icon after the call.
platform::TrayNotice noticeOf(const Record& record) {
    platform::TrayNotice notice;
    notice.hWnd = record.hWnd;
    notice.uID = record.uID;
    if (const TrayIcon* icon = FindTrayIcon(record.hWnd, record.uID)) {
        notice.hIcon = icon->hIcon;
        notice.tip = icon->tip;
        if (const IconImage* image = FindIcon(icon->hIcon)) {
            notice.iconFile = image->file;
        }
    }
    notice.balloonTitle = record.szInfoTitle;
    notice.balloonText = record.szInfo;
    notice.balloonFlags = record.dwInfoFlags;
    notice.balloonTimeoutMs = record.uTimeout;
    return notice;
}

}  // namespace

int32_t Shell_NotifyIconA(uint32_t dwMessage, const NotifyIconRecord& lpData) {
    const auto record = viewOf(lpData);
    if (dwMessage != NIM_ADD && dwMessage != NIM_MODIFY && dwMessage != NIM_DELETE) {
        // Refused, and no icon changes: nothing for a backend to show.
        platform::trace("tray", "unknown message=" + std::to_string(dwMessage) +
                                    " cbSize=" + std::to_string(record.cbSize) +
                                    " hWnd=" + std::to_string(record.hWnd) +
                                    " uID=" + std::to_string(record.uID) + " ok=0");
        return 0;
    }
    // Read before a delete removes the icon.
    const auto notice = noticeOf(record);
    const bool done = apply(dwMessage, record);
    const char* operation = dwMessage == NIM_ADD      ? "add"
                            : dwMessage == NIM_MODIFY ? "modify"
                                                      : "delete";
    traceCall(operation, record, done);
    if (!done) {
        return 0;
    }
    auto& backend = platform::backend();
    const auto change = dwMessage == NIM_ADD      ? platform::TrayChange::Add
                        : dwMessage == NIM_MODIFY ? platform::TrayChange::Modify
                                                  : platform::TrayChange::Delete;
    backend.trayChanged(dwMessage == NIM_DELETE ? notice : noticeOf(record), change);
    if (dwMessage != NIM_DELETE && (record.uFlags & NIF_INFO) != 0 && !record.szInfo.empty()) {
        platform::trace("balloon", "hwnd=" + std::to_string(record.hWnd) +
                                       " id=" + std::to_string(record.uID) +
                                       " title=" + platform::quoted(record.szInfoTitle) +
                                       " text=" + platform::quoted(record.szInfo) +
                                       " flags=" + std::to_string(record.dwInfoFlags));
        backend.trayChanged(noticeOf(record), platform::TrayChange::Balloon);
    }
    return 1;
}

}  // namespace win
