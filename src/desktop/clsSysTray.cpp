#include "desktop/clsSysTray.h"

#include <exception>

#include "desktop/error_log.h"
#include "platform/files/paths.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/app_info.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/shell/environ.h"
#include "platform/ui/form.h"
#include "platform/ui/image_api.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/screen.h"
#include "platform/ui/tray.h"
#include "platform/ui/window_api.h"

namespace {

constexpr uint32_t kRecordSize = 488;
constexpr uint32_t kIconId = 1;
constexpr uint32_t kTrayFlags = win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP;
constexpr int32_t kIconSize = 16;
constexpr uint32_t kIconLoadFlags = win::LR_LOADFROMFILE | win::LR_LOADMAP3DCOLORS;
constexpr const char* kModule = "clsTray";

// The caller's text, a NUL, then spaces up to the field's width; cut at the width.
std::string storedText(const std::string& text, size_t width) {
    std::string stored = platform::toAnsi(text);
    stored += '\0';
    stored.resize(width, ' ');
    return stored;
}

int32_t handleOf(win::Form* form) {
    if (form == nullptr) {
        platform::raise(platform::kObjectNotSet);
    }
    return form->hWnd();
}

int32_t loadIcon(const std::string& path) {
    return win::LoadImageA(win::kAppInstance, platform::toAnsi(path), win::IMAGE_ICON, kIconSize,
                           kIconSize, kIconLoadFlags);
}

void put32(win::NotifyIconRecord& record, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        record[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void putText(win::NotifyIconRecord& record, size_t at, size_t width, const std::string& text) {
    for (size_t i = 0; i < width; ++i) {
        record[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
    }
}

}  // namespace

win::NotifyIconRecord clsSysTray::RecordBytes() const {
    win::NotifyIconRecord record{};
    put32(record, win::nid::cbSize, nid_.cbSize);
    put32(record, win::nid::hWnd, static_cast<uint32_t>(nid_.hWnd));
    put32(record, win::nid::uID, nid_.uID);
    put32(record, win::nid::uFlags, nid_.uFlags);
    put32(record, win::nid::uCallbackMessage, nid_.uCallbackMessage);
    put32(record, win::nid::hIcon, static_cast<uint32_t>(nid_.hIcon));
    putText(record, win::nid::szTip, win::nid::szTipWidth, nid_.szTip);
    put32(record, win::nid::dwState, nid_.dwState);
    put32(record, win::nid::dwStateMask, nid_.dwStateMask);
    putText(record, win::nid::szInfo, win::nid::szInfoWidth, nid_.szInfo);
    put32(record, win::nid::uTimeout, nid_.uTimeout);
    putText(record, win::nid::szInfoTitle, win::nid::szInfoTitleWidth, nid_.szInfoTitle);
    put32(record, win::nid::dwInfoFlags, nid_.dwInfoFlags);
    return record;
}

void clsSysTray::send(uint32_t message) {
    // The shell's answer is not looked at.
    win::Shell_NotifyIconA(message, RecordBytes());
}

void clsSysTray::Add(win::Form* MyForm, const std::string& MyIcon, const std::string& ToolTip,
                     int32_t /*bFlag*/) {
    try {
        nid_.cbSize = kRecordSize;
        nid_.hWnd = handleOf(MyForm);
        nid_.uID = kIconId;
        nid_.uFlags = kTrayFlags;
        nid_.uCallbackMessage = win::WM_MOUSEMOVE;
        nid_.hIcon = loadIcon(MyIcon);
        nid_.szTip = storedText(ToolTip, win::nid::szTipWidth);
        send(win::NIM_ADD);
    } catch (...) {
        trap("Add");
    }
}

void clsSysTray::Remove() {
    try {
        send(win::NIM_DELETE);
    } catch (...) {
        trap("Remove");
    }
}

void clsSysTray::Balloon(win::Form* MyForm, const std::string& sBaloonText,
                         const std::string& sBallonTitle, int32_t bFlag) {
    try {
        nid_.cbSize = kRecordSize;
        nid_.hWnd = handleOf(MyForm);
        nid_.uID = kIconId;
        nid_.uFlags = win::NIF_INFO;
        nid_.dwInfoFlags = static_cast<uint32_t>(bFlag);
        nid_.szInfoTitle = storedText(sBallonTitle, win::nid::szInfoTitleWidth);
        nid_.szInfo = storedText(sBaloonText, win::nid::szInfoWidth);
        send(win::NIM_MODIFY);
    } catch (...) {
        trap("Balloon");
    }
}

void clsSysTray::ToolTip(win::Form* MyForm, const std::string& sTipText) {
    try {
        nid_.cbSize = kRecordSize;
        nid_.hWnd = handleOf(MyForm);
        nid_.uID = kIconId;
        nid_.uFlags = kTrayFlags;
        nid_.szTip = storedText(sTipText, win::nid::szTipWidth);
        send(win::NIM_MODIFY);
    } catch (...) {
        trap("ToolTip");
    }
}

void clsSysTray::ChangeIcon(win::Form* MyForm, const std::string& MyNewIcon) {
    try {
        nid_.cbSize = kRecordSize;
        nid_.hWnd = handleOf(MyForm);
        nid_.uID = kIconId;
        nid_.uFlags = kTrayFlags;
        nid_.hIcon = loadIcon(MyNewIcon);
        send(win::NIM_MODIFY);
    } catch (...) {
        trap("ChangeIcon");
    }
}

bool clsSysTray::MouseTrayEvent(win::Form* MyForm, int32_t writeX, int32_t WhatEvent) {
    try {
        if (MyForm == nullptr) {
            platform::raise(platform::kObjectNotSet);
        }
        int32_t message = writeX;
        if (MyForm->ScaleMode() != win::vbPixels) {
            message = platform::CLng(static_cast<double>(writeX) /
                                     static_cast<double>(win::Screen.TwipsPerPixelX()));
        }
        if (message != WhatEvent) {
            return false;
        }
        win::SetForegroundWindow(MyForm->hWnd());
        return true;
    } catch (...) {
        trap("MouseTrayEvent");
        return false;
    }
}

void clsSysTray::trap(const char* function) {
    std::string number = "0";
    std::string description;
    try {
        throw;
    } catch (const platform::RuntimeError& error) {
        number = std::to_string(error.number());
        description = error.description();
    } catch (const std::exception& error) {
        number = "51";
        description = error.what();
    } catch (...) {
        number = "51";
        description = "Internal error";
    }
    LogError(true, number, description, kModule, function);
}

void clsSysTray::LogError(bool show, const std::string& number, const std::string& description,
                          const std::string& module, const std::string& function) {
    // Each step stands alone: one that fails is skipped, and the report itself never fails.
    if (show) {
        try {
            win::MsgBox(errorlog::messageText(number, description, module, function),
                        win::vbCritical, std::string(platform::kAppTitle) + " - ERROR");
        } catch (...) {
        }
    }
    try {
        const std::string line =
            errorlog::logLine(platform::clock().wallNow(), number, description, module, function,
                              win::Environ("username"), win::Environ("computername"));
        // A read-only program folder loses only this line.
        errorlog::appendToFile(platform::programFolder() + "\\ErrorLog.txt",
                               platform::toAnsi(line));
    } catch (...) {
    }
}

clsSysTray& oSysTray() {
    static clsSysTray instance;
    return instance;
}
