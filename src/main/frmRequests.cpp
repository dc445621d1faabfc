#include "main/frmRequests.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string_view>
#include <system_error>

#include "desktop/cAV.h"
#include "desktop/mOnTop.h"
#include "desktop/mTwips.h"
#include "main/frmTarnix.h"
#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/ui/screen.h"

frmRequests::frmRequests()
    : Form("frmRequests", {.Caption = "Chat Request",
                           .Width = kDesignWidth,
                           .Height = kDesignHeight,
                           .BorderStyle = win::vbFixedToolWindow,
                           .ScaleMode = win::vbPixels,
                           .ShowInTaskbar = false}) {
    wbPopUp.onDocumentComplete = [this](std::optional<int32_t> pDisp, const std::string& URL) {
        wbPopUp_DocumentComplete(pDisp, URL);
    };
    wbPopUp.onWindowClosing = [this](bool IsChildWindow, bool& Cancel) {
        wbPopUp_WindowClosing(IsChildWindow, Cancel);
    };
    tmrPopup.onTimer = [this] { tmrPopup_Timer(); };
    tmrSleep.onTimer = [this] { tmrSleep_Timer(); };
    tmrPopDown.onTimer = [this] { tmrPopDown_Timer(); };
}

// The poll has opened the alert's sound in the shared player just before.
void frmRequests::Form_Load() {
    oAV().PlayMCIAudioFile(true);
}

// In pixels: 2 beyond the inner area's top and left edges, past its right and bottom edges.
void frmRequests::Form_Resize() {
    wbPopUp.setTop(-2);
    wbPopUp.setLeft(-2);
    wbPopUp.setWidth(321);
    wbPopUp.setHeight(224);
}

// Every completed document (frames, reloads, new pages) starts or resumes the slide-in.
void frmRequests::wbPopUp_DocumentComplete(std::optional<int32_t> /*pDisp*/,
                                           const std::string& /*URL*/) {
    setVisible(true);
    tmrPopup.setEnabled(true);
}

// Slide-in step: up by 10 pixels, growing to the full height, until the Top has passed
// B - (H + s); then top-most for the stay.
void frmRequests::tmrPopup_Timer() {
    const int32_t B = platform::CLng(lblBase.Caption());
    const int32_t H = platform::CLng(lblFormHeight.Caption());
    // 1.
    const int32_t d = B - (H + mTwips::PixelsToTwipsY(10));
    // 2.
    if (Top() <= static_cast<float>(d)) {
        tmrPopup.setEnabled(false);
        mOnTop::SetWindowOnTop(hWnd(), platform::kTrue);
        tmrSleep.setEnabled(true);
        return;
    }
    // 3.
    setTop(static_cast<float>(static_cast<double>(Top()) - mTwips::PixelsToTwipsY(10)));
    // 4. The height before this growth decides; the next tick trims an overshoot to H.
    if (Height() < static_cast<float>(H)) {
        setHeight(static_cast<float>(static_cast<double>(Height()) + mTwips::PixelsToTwipsY(10)));
    } else {
        setHeight(static_cast<float>(H));
    }
}

void frmRequests::tmrSleep_Timer() {
    tmrSleep.setEnabled(false);
    tmrPopDown.setEnabled(true);
}

// Slide-out step: down by 5 pixels, shrinking so that the bottom edge stays, while the Top is at
// least 12 steps above the base line; then hidden and unloaded.
void frmRequests::tmrPopDown_Timer() {
    const int32_t B = platform::CLng(lblBase.Caption());
    // 1.
    const int32_t d = B - 12 * mTwips::PixelsToTwipsY(5);
    if (Top() <= static_cast<float>(d)) {
        // 2.
        setTop(static_cast<float>(static_cast<double>(Top()) + mTwips::PixelsToTwipsY(5)));
        if (Height() <= static_cast<float>(mTwips::PixelsToTwipsY(5))) {
            setVisible(false);
        } else {
            setHeight(
                static_cast<float>(static_cast<double>(Height()) - mTwips::PixelsToTwipsY(5)));
        }
    } else {
        // 3.
        tmrPopDown.setEnabled(false);
        setVisible(false);
        setHeight(0);
        win::Unload(*this);
    }
}

// The close box slides the window out instead of closing it.
void frmRequests::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    if (UnloadMode == win::vbFormControlMenu) {
        tmrPopup.setEnabled(false);
        tmrSleep.setEnabled(false);
        tmrPopDown.setEnabled(true);
        Cancel = platform::kTrue;
    }
}

// The other timers go on: a slide-in under way still completes before the slide-out ends it.
// A window still at or below the screen's bottom edge has nothing to slide: it goes at once.
void frmRequests::wbPopUp_WindowClosing(bool /*IsChildWindow*/, bool& /*Cancel*/) {
    if (Top() < win::Screen.Height()) {
        tmrPopDown.setEnabled(true);
    } else {
        win::Unload(*this);
    }
}

void frmRequests::Form_Unload(int16_t& /*Cancel*/) {
    tmrPopup.setEnabled(false);
    tmrSleep.setEnabled(false);
    tmrPopDown.setEnabled(false);
    // The player holds one file: the latest alert's, whichever pop-up this is.
    oAV().CloseMCIAudioFile();
    // Does not load the main window: after Exit the pop-ups still give their slots back.
    win::Default<frmTarnix>().CloseRequestSLot(lblFormRefNo.Caption());
}
