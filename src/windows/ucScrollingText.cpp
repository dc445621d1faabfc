#include "windows/ucScrollingText.h"

#include <cmath>
#include <utility>

#include "platform/runtime/errors.h"
#include "platform/ui/gdi.h"
#include "platform/ui/picture.h"
#include "platform/ui/screen.h"
#include "windows/art/window_art.h"

namespace {
// Halves go to the even neighbour (the default rounding mode).
int16_t roundToInteger(float value) {
    return static_cast<int16_t>(std::nearbyint(value));
}
}  // namespace

ucScrollingText::ucScrollingText(win::Form* host, std::string name, win::Design design,
                                 std::optional<win::PropertyBag> stored)
    : win::UserControl(host, std::move(name), std::move(design), std::move(stored)) {
    picContainer.setDesignPicture(win::LoadPictureFromBytes(windowart::CreditsBackground()));
    tmrScrollText.onTimer = [this] { tmrScrollText_Timer(); };
}

int16_t ucScrollingText::AddText(const std::string& sText, int16_t iMargin) {
    LastIndex_ = static_cast<int16_t>(LastIndex_ + 1);
    if (LastIndex_ > kMaxIndex) {
        LastIndex_ = kMaxIndex;
        return 100;
    }
    // An error while the line is set up ends here quietly; the count keeps the new line.
    try {
        win::Label* line = nullptr;
        if (LastIndex_ == 0) {
            line = &lblText[0];
            line->setTop(StartTop_);
        } else {
            lblText.Load(LastIndex_);
            auto& previous = lblText[static_cast<int16_t>(LastIndex_ - 1)];
            line = &lblText[LastIndex_];
            line->setTop(previous.Top() + previous.Height());
        }
        line->setLeft(iMargin);
        line->setWidth(LineWidth_);
        line->setBackStyle(0);
        line->setWordWrap(true);
        line->setVisible(true);
        line->setCaption(sText);
    } catch (const platform::RuntimeError&) {
        return 0;
    }
    return 0;
}

int16_t ucScrollingText::DeleteText() {
    if (LastIndex_ < 0) {
        return 0;
    }
    if (LastIndex_ > 0) {
        lblText.Unload(LastIndex_);
    } else {
        lblText[0].setCaption("");
    }
    LastIndex_ = static_cast<int16_t>(LastIndex_ - 1);
    if (LastIndex_ == -1) {
        ScrollText(false);
    }
    auto& first = lblText[0];
    if (first.Top() < 0 || first.Top() > StartTop_) {
        first.setTop(first.Top() - 20);
    }
    return 0;
}

void ucScrollingText::ScrollText(bool bScrolling) {
    if (bScrolling && LastIndex_ < 0) {
        return;
    }
    tmrScrollText.setEnabled(bScrolling);
}

void ucScrollingText::setScrollTimer(int16_t New_ScrollTimer) {
    ScrollTimer_ = New_ScrollTimer;
    tmrScrollText.setInterval(New_ScrollTimer);
    PropertyChanged("ScrollTimer");
}

void ucScrollingText::setScrollRate(int16_t New_ScrollRate) {
    ScrollRate_ = New_ScrollRate;
    PropertyChanged("ScrollRate");
}

uint32_t ucScrollingText::BackColor() {
    return win::UserControl::BackColor();
}

void ucScrollingText::setBackColor(uint32_t New_BackColor) {
    win::UserControl::setBackColor(New_BackColor);
    PropertyChanged("BackColor");
}

win::StdPicture ucScrollingText::Picture() {
    return win::UserControl::Picture();
}

void ucScrollingText::setPicture(const win::StdPicture& New_Picture) {
    win::UserControl::setPicture(New_Picture);
    PropertyChanged("Picture");
}

int16_t ucScrollingText::BorderStyle() {
    return win::UserControl::BorderStyle();
}

void ucScrollingText::setBorderStyle(int16_t New_BorderStyle) {
    win::UserControl::setBorderStyle(New_BorderStyle);
    PropertyChanged("BorderStyle");
}

int16_t ucScrollingText::Appearance() {
    return win::UserControl::Appearance();
}

void ucScrollingText::setAppearance(int16_t New_Appearance) {
    win::UserControl::setAppearance(New_Appearance);
    PropertyChanged("Appearance");
}

void ucScrollingText::tmrScrollText_Timer() {
    if (LastIndex_ < 0) {
        return;
    }
    const int16_t last = LastIndex_;
    for (int16_t i = 0; i <= last; ++i) {
        auto& line = lblText[i];
        line.setTop(line.Top() - ScrollRate_);
        // A line whose bottom edge lies exactly on the top edge stays for this tick.
        if (line.Top() < -line.Height()) {
            if (LastIndex_ == 0) {
                line.setTop(StartTop_);
            } else if (i > 0) {
                auto& previous = lblText[static_cast<int16_t>(i - 1)];
                line.setTop(previous.Top() + previous.Height());
            } else {
                // The last line has not moved yet in this tick.
                line.setTop(lblText[last].Top() + StartTop_);
            }
        }
    }
}

void ucScrollingText::newInstance() {
    StartTop_ = 0;
    LineWidth_ = 0;
    LastIndex_ = 0;
    ScrollTimer_ = 0;
    ScrollRate_ = 0;
}

void ucScrollingText::UserControl_Initialize() {
    LastIndex_ = -1;
}

void ucScrollingText::UserControl_InitProperties() {}

void ucScrollingText::UserControl_ReadProperties(win::PropertyBag& PropBag) {
    using win::PropertyNumber;
    ScrollTimer_ = static_cast<int16_t>(
        PropertyNumber(PropBag.ReadProperty("ScrollTimer", int64_t{kDefaultScrollTimer})));
    tmrScrollText.setInterval(ScrollTimer_);
    ScrollRate_ = static_cast<int16_t>(
        PropertyNumber(PropBag.ReadProperty("ScrollRate", int64_t{kDefaultScrollRate})));
    win::UserControl::setBackColor(static_cast<uint32_t>(
        PropertyNumber(PropBag.ReadProperty("BackColor", int64_t{kDefaultBackColor}))));
    setPicture(win::PropertyPicture(PropBag.ReadProperty("Picture", win::StdPicture())));
    win::UserControl::setBorderStyle(static_cast<int16_t>(
        PropertyNumber(PropBag.ReadProperty("BorderStyle", int64_t{kDefaultBorderStyle}))));
    win::UserControl::setAppearance(static_cast<int16_t>(
        PropertyNumber(PropBag.ReadProperty("Appearance", int64_t{kDefaultAppearance}))));
}

void ucScrollingText::UserControl_WriteProperties(win::PropertyBag& PropBag) {
    PropBag.WriteProperty("ScrollTimer", int64_t{ScrollTimer_}, int64_t{kDefaultScrollTimer});
    PropBag.WriteProperty("ScrollRate", int64_t{ScrollRate_}, int64_t{kDefaultScrollRate});
    PropBag.WriteProperty("BackColor", int64_t{win::UserControl::BackColor()},
                          int64_t{kDefaultBackColor});
    PropBag.WriteProperty("Picture", win::UserControl::Picture(), win::StdPicture());
    PropBag.WriteProperty("BorderStyle", int64_t{win::UserControl::BorderStyle()},
                          int64_t{kDefaultBorderStyle});
    PropBag.WriteProperty("Appearance", int64_t{win::UserControl::Appearance()},
                          int64_t{kDefaultAppearance});
}

void ucScrollingText::UserControl_Resize() {
    picContainer.setTop(0);
    // The control's height in twips, taken as pixels: the text area always reaches past the
    // bottom edge, which clips it.
    picContainer.setHeight(Height());
    StartTop_ = roundToInteger(picContainer.Height());
    LineWidth_ = roundToInteger(win::Screen.TwipsPerPixelX() * picContainer.Width());
    win::BitBlt(picContainer.hDC(), 0, 0, 100, 100, hDC(), 0, 0, win::SRCCOPY);
}

void ucScrollingText::UserControl_Terminate() {
    // The host has removed its run-time elements already when it unloads.
    for (int16_t i = LastIndex_; i >= 1; --i) {
        if (lblText.Exists(i)) {
            lblText.Unload(i);
        }
    }
}
