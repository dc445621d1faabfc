#pragma once

#include <cstdint>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "windows/cSkinAlpha.h"
#include "windows/ucScrollingText.h"

// The About window: a borderless window shaped from its background picture with a heading, the
// company this copy is set up for, scrolling credits and a banner that opens the maker's web page.
// Reached through its default instance.
class frmAbout : public win::Form {
  public:
    frmAbout();

    // The maker's web page, as a bare host name.
    static constexpr const char* kMakerAddress = "www.example.com";
    static constexpr uint32_t kKeyColour = 0xFF00FF;

    win::Label Label2{this,
                      "Label2",
                      {.Left = 0,
                       .Top = 45,
                       .Width = 2535,
                       .Height = 255,
                       .Caption = "About",
                       .Alignment = 2,
                       .BackStyle = 0,
                       .FontSize = 12,
                       .FontBold = true}};
    win::Image Image1{
        this, "Image1", {.Left = 3120, .Top = 45, .Width = 285, .Height = 285, .Stretch = true}};
    // The banner's click area, with the custom pointer over it.
    win::Label Label7{this,
                      "Label7",
                      {.Left = 90,
                       .Top = 480,
                       .Width = 3375,
                       .Height = 1095,
                       .BackStyle = 0,
                       .MousePointer = 99}};
    win::Image Image2{this, "Image2", {.Left = 240, .Top = 480, .Width = 960, .Height = 960}};
    win::Label Label1{
        this,
        "Label1",
        {.Left = 1320, .Top = 720, .Width = 1845, .Height = 495, .Caption = "", .BackStyle = 0}};
    win::Label Label3{
        this,
        "Label3",
        {.Left = 240, .Top = 1320, .Width = 1455, .Height = 255, .Caption = "", .BackStyle = 0}};
    win::Label Label4{
        this, "Label4", {.Left = 120, .Top = 1800, .Width = 3135, .Height = 255, .BackStyle = 0}};
    win::Label Label5{
        this, "Label5", {.Left = 360, .Top = 2040, .Width = 3015, .Height = 255, .BackStyle = 0}};
    // Stored design: one scroll step every 80 ms, every other property at its default.
    ucScrollingText ucstCredits{this,
                                "ucstCredits",
                                {.Left = 120, .Top = 2640, .Width = 3315, .Height = 1095},
                                win::PropertyBag{{"ScrollTimer", 80}}};

  protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;

  private:
    void Image1_Click();
    void Label7_Click();

    cSkinAlpha skin_;
};
