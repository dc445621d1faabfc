#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/user_control.h"

// A column of text lines moving slowly upward over a background picture, each line re-entering
// from below once it has left the top edge. A host window declares it as a member with its stored
// design, adds its lines with AddText and starts the motion with ScrollText:
//
//     ucScrollingText ucstCredits{this, "ucstCredits",
//                                 {.Left = 120, .Top = 2640, .Width = 3315, .Height = 1095},
//                                 win::PropertyBag{{"ScrollTimer", 80}}};
//
// The instance is made afresh at each load of the host, before its Form_Load. Positions on the
// host are in the host's twips; the surface measures its children in pixels, the text area
// (picContainer) its lines in twips.
class ucScrollingText : public win::UserControl {
  public:
    static constexpr int16_t kMaxIndex = 100;
    static constexpr int16_t kDefaultScrollTimer = 20;
    static constexpr int16_t kDefaultScrollRate = 1;
    static constexpr uint32_t kDefaultBackColor = 0x8000000F;
    static constexpr int16_t kDefaultBorderStyle = 1;
    static constexpr int16_t kDefaultAppearance = 1;

    // stored: the host's stored design; none for a new instance (UserControl_InitProperties).
    ucScrollingText(win::Form* host, std::string name, win::Design design,
                    std::optional<win::PropertyBag> stored = std::nullopt);

    // Appends a line with that text and left indent (twips): 0, or 100 when the control already
    // holds 101 lines and the line is refused.
    int16_t AddText(const std::string& sText, int16_t iMargin);
    // Removes the last line; always 0.
    int16_t DeleteText();
    // Starts (true) or stops (false) the motion; true on an empty control does nothing.
    void ScrollText(bool bScrolling);

    int16_t ScrollTimer() const { return ScrollTimer_; }
    void setScrollTimer(int16_t New_ScrollTimer);
    int16_t ScrollRate() const { return ScrollRate_; }
    void setScrollRate(int16_t New_ScrollRate);
    uint32_t BackColor();
    void setBackColor(uint32_t New_BackColor);
    win::StdPicture Picture();
    void setPicture(const win::StdPicture& New_Picture);
    int16_t BorderStyle();
    void setBorderStyle(int16_t New_BorderStyle);
    int16_t Appearance();
    void setAppearance(int16_t New_Appearance);

    // The index of the last line, -1 when empty; the Top of the first line and of a restarting lone
    // line; the Width of every line.
    int16_t LastIndex() const { return LastIndex_; }
    int16_t StartTop() const { return StartTop_; }
    int16_t LineWidth() const { return LineWidth_; }

    // The scroll step, as the timer raises it.
    void tmrScrollText_Timer();

    // The text area: twips inside, the credits' background drawn from its top-left corner.
    win::PictureBox picContainer{host(),
                                 "picContainer",
                                 {.Container = this,
                                  .Left = 48,
                                  .Top = 24,
                                  .Width = 233,
                                  .Height = 121,
                                  .BackColor = 0x80000005}};
    // One element per line; only element 0 is designed, the others copy it at run time.
    win::ControlArray<win::Label> lblText{host(),
                                          "lblText",
                                          {{0,
                                            {.Container = &picContainer,
                                             .Left = 0,
                                             .Top = 120,
                                             .Width = 45,
                                             .Height = 195,
                                             .BackStyle = 0,
                                             .AutoSize = true}}}};
    win::Timer tmrScrollText{
        host(), "tmrScrollText", {.Container = this, .Enabled = false, .Interval = 10}};

  protected:
    void newInstance() override;
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(win::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(win::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Terminate() override;

  private:
    win::Form* host() { return &Parent(); }

    int16_t StartTop_ = 0;
    int16_t LineWidth_ = 0;
    int16_t LastIndex_ = 0;
    int16_t ScrollTimer_ = 0;
    int16_t ScrollRate_ = 0;
};
