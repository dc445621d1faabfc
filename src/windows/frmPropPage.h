#pragma once

#include <cstdint>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "windows/cSkinAlpha.h"

// The options window: a borderless window shaped from its background picture, with three pages
// switched by tab pictures (general details, sounds and alerts, company details). Every change is
// stored at once under the settings key. Reached through its default instance; a reference loads
// it hidden.
class frmPropPage : public win::Form {
  public:
    frmPropPage();

    // The colour of the pages and of the check boxes: RGB(230, 243, 248).
    static constexpr uint32_t kPageColour = 0xF8F3E6;
    // The key colour cut out of the background: RGB(255, 0, 255).
    static constexpr uint32_t kKeyColour = 0xFF00FF;

    win::Label Label1{this,
                      "Label1",
                      {.Left = 0,
                       .Top = 0,
                       .Width = 5175,
                       .Height = 375,
                       .Alignment = 2,
                       .BackStyle = 0,
                       .FontSize = 12,
                       .FontBold = true}};
    win::Image imgControlBox{
        this,
        "imgControlBox",
        {.Left = 6360, .Top = 45, .Width = 285, .Height = 285, .Stretch = true}};
    win::Image imgCompanyLogo{
        this,
        "imgCompanyLogo",
        {.Left = 420, .Top = 690, .Width = 1095, .Height = 1095, .Stretch = true}};
    win::ControlArray<win::Image> imgPropBTN{
        this,
        "imgPropBTN",
        {{0, {.Left = 1920, .Top = 600, .Width = 1590, .Height = 495, .Stretch = true}},
         {1, {.Left = 3525, .Top = 600, .Width = 1635, .Height = 495, .Stretch = true}},
         {2, {.Left = 5160, .Top = 600, .Width = 1500, .Height = 495, .Stretch = true}}}};
    win::ControlArray<win::Label> lblPropOptions{
        this,
        "lblPropOptions",
        {{0,
          {.Left = 1920, .Top = 720, .Width = 1575, .Height = 255, .Alignment = 2, .BackStyle = 0}},
         {1,
          {.Left = 3480, .Top = 720, .Width = 1695, .Height = 255, .Alignment = 2, .BackStyle = 0}},
         {2,
          {.Left = 5175,
           .Top = 600,
           .Width = 1440,
           .Height = 495,
           .Alignment = 2,
           .BackStyle = 0,
           .WordWrap = true}}}};
    win::Image imgBTNUP{this,
                        "imgBTNUP",
                        {.Left = 120, .Top = 2880, .Width = 1575, .Height = 495, .Visible = false}};
    win::Image imgBTNDOWN{
        this,
        "imgBTNDOWN",
        {.Left = 120, .Top = 3480, .Width = 1575, .Height = 465, .Visible = false}};
    win::CommonDialog cdgProperties{this, "cdgProperties"};

    // The three pages.
    win::ControlArray<win::PictureBox> picPropOptions{
        this,
        "picPropOptions",
        {{0, {.Left = 1920, .Top = 1080, .Width = 4755, .Height = 4020}},
         {1, {.Left = 1920, .Top = 1080, .Width = 4755, .Height = 4020, .Visible = false}},
         {2, {.Left = 1920, .Top = 1080, .Width = 4755, .Height = 4020, .Visible = false}}}};

    // Page 0: general details.
    win::ControlArray<win::Label> lblGDLogin{this,
                                             "lblGDLogin",
                                             {{0,
                                               {.Container = &picPropOptions[0],
                                                .Left = 120,
                                                .Top = 120,
                                                .Width = 1095,
                                                .Height = 255,
                                                .BackStyle = 0}}}};
    win::CheckBox chkGDRASUP{
        this,
        "chkGDRASUP",
        {.Container = &picPropOptions[0], .Left = 240, .Top = 480, .Width = 3735, .Height = 255}};
    win::CheckBox chkGDAWOT{
        this,
        "chkGDAWOT",
        {.Container = &picPropOptions[0], .Left = 240, .Top = 720, .Width = 3735, .Height = 255}};

    // Page 1: sounds and alerts.
    win::ControlArray<win::Label> lblSALabel{this,
                                             "lblSALabel",
                                             {{0,
                                               {.Container = &picPropOptions[1],
                                                .Left = 120,
                                                .Top = 120,
                                                .Width = 975,
                                                .Height = 255,
                                                .BackStyle = 0}},
                                              {1,
                                               {.Container = &picPropOptions[1],
                                                .Left = 120,
                                                .Top = 1800,
                                                .Width = 975,
                                                .Height = 255,
                                                .BackStyle = 0}}}};
    win::ControlArray<win::CheckBox> chkAlertsOptions{
        this,
        "chkAlertsOptions",
        {{0,
          {.Container = &picPropOptions[1], .Left = 240, .Top = 480, .Width = 4215, .Height = 255}},
         {1,
          {.Container = &picPropOptions[1], .Left = 240, .Top = 720, .Width = 4215, .Height = 255}},
         {2,
          {.Container = &picPropOptions[1],
           .Left = 240,
           .Top = 960,
           .Width = 4215,
           .Height = 255}}}};
    win::ListBox lbxSounds{this,
                           "lbxSounds",
                           {.Container = &picPropOptions[1],
                            .Left = 240,
                            .Top = 2160,
                            .Width = 3375,
                            .Height = 1230,
                            .List = {"Login", "Contact Signs In", "Chat Request", "New Mail"}}};
    win::TextBox txtSounds{this,
                           "txtSounds",
                           {.Container = &picPropOptions[1],
                            .Left = 240,
                            .Top = 3480,
                            .Width = 3375,
                            .Height = 285,
                            .Locked = true}};
    win::CommandButton cmdSounds{this,
                                 "cmdSounds",
                                 {.Container = &picPropOptions[1],
                                  .Left = 3720,
                                  .Top = 3480,
                                  .Width = 420,
                                  .Height = 285,
                                  .Caption = "...."}};
    win::Image imgPlaySound{this,
                            "imgPlaySound",
                            {.Container = &picPropOptions[1],
                             .Left = 4200,
                             .Top = 3480,
                             .Width = 420,
                             .Height = 285,
                             .Stretch = true}};

    // Page 2: company details.
    win::ControlArray<win::Label> lblCDLabel{this,
                                             "lblCDLabel",
                                             {{0,
                                               {.Container = &picPropOptions[2],
                                                .Left = 120,
                                                .Top = 120,
                                                .Width = 3135,
                                                .Height = 255,
                                                .BackStyle = 0}},
                                              {1,
                                               {.Container = &picPropOptions[2],
                                                .Left = 120,
                                                .Top = 960,
                                                .Width = 3615,
                                                .Height = 255,
                                                .BackStyle = 0}}}};
    win::TextBox txtCDName{this,
                           "txtCDName",
                           {.Container = &picPropOptions[2],
                            .Left = 240,
                            .Top = 480,
                            .Width = 4335,
                            .Height = 285,
                            .Locked = true}};
    win::TextBox txtCDAddress{this,
                              "txtCDAddress",
                              {.Container = &picPropOptions[2],
                               .Left = 240,
                               .Top = 1320,
                               .Width = 4335,
                               .Height = 2535,
                               .Locked = true,
                               .MultiLine = true}};

    // The rules under the headings, on the pages named by their containers.
    win::ControlArray<win::Line> lneAlerts{
        this,
        "lneAlerts",
        {{0, {.Container = &picPropOptions[1], .X1 = 4560, .Y1 = 360, .X2 = 120, .Y2 = 360}},
         {1, {.Container = &picPropOptions[1], .X1 = 4560, .Y1 = 2040, .X2 = 120, .Y2 = 2040}},
         {2, {.Container = &picPropOptions[0], .X1 = 4560, .Y1 = 360, .X2 = 120, .Y2 = 360}},
         {3, {.Container = &picPropOptions[2], .X1 = 4560, .Y1 = 360, .X2 = 120, .Y2 = 360}},
         {4, {.Container = &picPropOptions[2], .X1 = 4560, .Y1 = 1200, .X2 = 120, .Y2 = 1200}}}};

    void imgPropBTN_Click(int16_t Index);

  protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;

  private:
    void lblPropOptions_Click(int16_t Index);
    void chkGDAWOT_Click();
    void chkGDRASUP_Click();
    void chkAlertsOptions_Click(int16_t Index);
    void lbxSounds_Click();
    void cmdSounds_Click();
    void imgPlaySound_Click();
    void imgControlBox_Click();

    // A stored check-box number as the box shows it.
    static int16_t checkBoxValueOf(int32_t stored);

    cSkinAlpha skin_;
};
