#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/browser/web_browser.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

// The alert pop-up: one instance per alert, made by frmTarnix::ShowRequest, which places it at
// its base line with height 0 and writes its record into the three hidden labels. When its page
// has loaded it grows upwards in 10-pixel steps, becomes top-most, stays 8 seconds, shrinks in
// 5-pixel steps and unloads, giving its slot back. The close box and the page closing its window
// start the shrinking instead of closing at once.
class frmRequests : public win::Form {
  public:
    frmRequests();

    // Outer size in twips, the full height of the slide-in.
    static constexpr float kDesignWidth = 4545;
    static constexpr float kDesignHeight = 3630;

    // The record's holder, beneath the browser; the member never sees the labels.
    win::PictureBox picFormRefNo{
        this, "picFormRefNo", {.Left = 0, .Top = 0, .Width = 97, .Height = 25, .BorderStyle = 0}};
    // The slot number; "Label1" means the window holds no slot.
    win::Label lblFormRefNo{this,
                            "lblFormRefNo",
                            {.Container = &picFormRefNo,
                             .Left = 0,
                             .Top = 0,
                             .Width = 480,
                             .Height = 255,
                             .Caption = "Label1"}};
    // The full height in twips.
    win::Label lblFormHeight{
        this,
        "lblFormHeight",
        {.Container = &picFormRefNo, .Left = 480, .Top = 0, .Width = 480, .Height = 255}};
    // The base line: the window's Top in twips right after it was placed.
    win::Label lblBase{
        this,
        "lblBase",
        {.Container = &picFormRefNo, .Left = 960, .Top = 0, .Width = 480, .Height = 255}};
    // Covers the inner area (pixels); Form_Resize places it.
    win::WebBrowser wbPopUp{this, "wbPopUp", {.Left = 0, .Top = 0, .Width = 297, .Height = 218}};

    win::Timer tmrPopup{this, "tmrPopup", {.Enabled = false, .Interval = 1}};
    win::Timer tmrSleep{this, "tmrSleep", {.Enabled = false, .Interval = 8000}};
    win::Timer tmrPopDown{this, "tmrPopDown", {.Enabled = false, .Interval = 1}};

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;

  private:
    void wbPopUp_DocumentComplete(std::optional<int32_t> pDisp, const std::string& URL);
    void wbPopUp_WindowClosing(bool IsChildWindow, bool& Cancel);
    void tmrPopup_Timer();
    void tmrSleep_Timer();
    void tmrPopDown_Timer();
};
