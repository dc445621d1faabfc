#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "main/cMD5.h"
#include "platform/browser/web_browser.h"
#include "platform/net/inet.h"
#include "platform/net/object.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/window_api.h"

class cHTMLEvent;
class frmRequests;

// The main window: the program's start-up object. It reads the desktop settings file, puts the
// icon in the tray, applies the language, checks the connection (retrying every minute, giving up
// after five retries) and then opens the sign-in page. Its close box only hides it; the tray menu
// shows, hides and ends it.
class frmTarnix : public win::Form {
  public:
    frmTarnix();

    // Outer size for a fixed dialog border at 15 twips per pixel: a client area of 5535 x 7575.
    static constexpr float kDesignWidth = 5625;
    static constexpr float kDesignHeight = 7950;

    win::Label lblTitle{this,
                        "lblTitle",
                        {.Left = 120,
                         .Top = 120,
                         .Width = 5295,
                         .Height = 615,
                         .Alignment = 2,
                         .FontSize = 18,
                         .FontBold = true}};
    win::ControlArray<win::Label> lblAction{
        this, "lblAction", {{0, {.Left = 960, .Top = 960, .Width = 3495, .Height = 255}}}};
    win::ControlArray<win::CheckBox> chkAction{
        this, "chkAction", {{0, {.Left = 4680, .Top = 960, .Width = 195, .Height = 195}}}};
    win::ControlArray<win::ProgressBar> pbAction{
        this,
        "pbAction",
        {{0, {.Left = 960, .Top = 1200, .Width = 3495, .Height = 60, .Min = 0, .Max = 50}}}};
    win::Label lblInformation{
        this,
        "lblInformation",
        {.Left = 960, .Top = 2040, .Width = 3615, .Height = 615, .Alignment = 2}};

    // The sign-in browser, outside the visible area until the sign-in page lays it out.
    win::WebBrowser wbTarnix{
        this, "wbTarnix", {.Left = 3000, .Top = -5880, .Width = 1875, .Height = 1575}};
    // The poll's fetch and its answer.
    win::Inet inetRequest{this, "inetRequest"};
    win::TextBox txtRequest{this, "txtRequest", {.Visible = false, .MultiLine = true}};

    win::Timer tmrStart{this, "tmrStart", {.Interval = 1000}};
    win::Timer tmrAnimation{this, "tmrAnimation", {.Interval = 100}};
    win::Timer tmrNoNet{this, "tmrNoNet", {.Enabled = false, .Interval = 60000}};
    win::Timer tmrRequestCheck{this, "tmrRequestCheck", {.Enabled = false, .Interval = 2000}};

    // The tray menu: a hidden top-level menu opened as a pop-up from the tray icon.
    win::Menu mnuSysTray{this, "mnuSysTray", {.Caption = "SysTray-PopUp", .Visible = false}};
    win::Menu mnuSTMin{this, "mnuSTMin", {.Container = &mnuSysTray, .Caption = "Minimize"}};
    win::Menu mnuSTShow{
        this, "mnuSTShow", {.Container = &mnuSysTray, .Caption = "Show", .Enabled = false}};
    win::Menu mnuSep1{this, "mnuSep1", {.Container = &mnuSysTray, .Caption = "-"}};
    win::Menu mnuSTProp{this, "mnuSTProp", {.Container = &mnuSysTray, .Caption = "Options"}};
    win::Menu mnuLanguages{this, "mnuLanguages", {.Container = &mnuSysTray, .Caption = "Language"}};
    win::ControlArray<win::Menu> mnuL_Lang{
        this,
        "mnuL_Lang",
        {{1, {.Container = &mnuLanguages, .Caption = "English"}},
         {2, {.Container = &mnuLanguages, .Caption = "French"}},
         {3, {.Container = &mnuLanguages, .Caption = "German"}},
         {4, {.Container = &mnuLanguages, .Caption = "Italian"}},
         {5, {.Container = &mnuLanguages, .Caption = "Spanish"}},
         {6, {.Container = &mnuLanguages, .Caption = "Swedish"}}}};
    win::Menu mnuSep2{this, "mnuSep2", {.Container = &mnuSysTray, .Caption = "-"}};
    win::Menu mnuSTAbout{this, "mnuSTAbout", {.Container = &mnuSysTray, .Caption = "About"}};
    win::Menu mnuSTExit{this, "mnuSTExit", {.Container = &mnuSysTray, .Caption = "Exit"}};

    // Applies the language of Index (1..6) and saves it to the desktop settings file.
    void mnuL_Lang_Click(int16_t Index);

    // The sign-in click on the page, called by name through the page's adapter.
    void HTML_ClickEvent();

    // The pop-up slot table: slots 1 to 15 handed out lowest first, 0 beyond those.
    std::array<std::shared_ptr<frmRequests>, 16> aPopups{};
    std::array<int16_t, 16> abSlotUsed{};
    // Opens the pop-up of an alert kind ("ChatRequest", "NewMail", "ContactOnline", "GenAlert").
    void ShowRequest(const std::string& sTheRequest);
    // Gives back the slot whose number lRequestPage holds as text.
    void CloseRequestSLot(const std::string& lRequestPage);

    // The height of the strip below the work area, in twips; measured by the sign-in page.
    int16_t iTaskbarHeight = 0;

  protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override;

  private:
    friend struct frmTarnixTestAccess;

    void tmrStart_Timer();
    void tmrAnimation_Timer();
    void tmrNoNet_Timer();
    void chkAction_Click(int16_t Index);
    void RunStartupChecks();

    void OpenSignInPage();
    void LayOutSignInPage();
    void WriteFirstRunDefaults();
    void wbTarnix_DocumentComplete(const std::string& URL);
    void wbTarnix_NewWindow2(bool& Cancel);
    void wbTarnix_WindowClosing(bool IsChildWindow, bool& Cancel);

    void tmrRequestCheck_Timer();
    int16_t GetFreeRequestSlot();

    win::RECT rcWorkArea{};
    std::shared_ptr<cHTMLEvent> oHTMLEvent;
    win::NamedMethods methods_{this, {{"HTML_ClickEvent", [this] { HTML_ClickEvent(); }}}};

    // The poll's state, kept from tick to tick for the window's life.
    std::unique_ptr<cMD5> oMD5;
    int16_t iNewMailRepeat = 0;
    int16_t iGenAlertRepeat = 0;
    std::string sLastContactOnline;

    void mnuSTMin_Click();
    void mnuSTShow_Click();
    void mnuSTProp_Click();
    void mnuSTAbout_Click();
    void mnuSTExit_Click();
    void SlideIn(win::Form& W);
    // Opens the tray menu as a pop-up menu; nothing calls it.
    void ShowTrayMenu();
};
