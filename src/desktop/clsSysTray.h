#pragma once

#include <cstdint>
#include <string>

#include "platform/shell/notify_icon.h"

namespace win {
class Form;
}

// The program's icon in the notification area, its tooltip and balloons, the decoding of its mouse
// messages, and the program's error report and error log. Every public operation traps its own
// failures and reports them through LogError; none reaches the caller.
class clsSysTray {
  public:
    void Add(win::Form* MyForm, const std::string& MyIcon, const std::string& ToolTip,
             int32_t bFlag = 0);
    void Remove();
    void Balloon(win::Form* MyForm, const std::string& sBaloonText, const std::string& sBallonTitle,
                 int32_t bFlag = 0);
    void ToolTip(win::Form* MyForm, const std::string& sTipText);
    void ChangeIcon(win::Form* MyForm, const std::string& MyNewIcon);
    // True when the mouse-move X of MyForm carries the tray message WhatEvent; then MyForm's window
    // comes to the foreground.
    bool MouseTrayEvent(win::Form* MyForm, int32_t writeX, int32_t WhatEvent);

    // The record as the shell receives it (ANSI, 488 bytes).
    win::NotifyIconRecord RecordBytes() const;

  private:
    // The NOTIFYICONDATA record; text fields hold their stored ANSI characters (text, NUL, spaces
    // up to the field's width, cut at the width).
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

    void send(uint32_t message);
    void trap(const char* function);
    void LogError(bool show, const std::string& number, const std::string& description,
                  const std::string& module, const std::string& function);

    Record nid_;
};

// The program-wide tray icon object, made on first use.
clsSysTray& oSysTray();
