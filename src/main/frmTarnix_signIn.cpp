#include "desktop/cAV.h"
#include "desktop/mOnTop.h"
#include "main/cHTMLEvent.h"
#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/files/paths.h"
#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/ui/loop.h"
#include "platform/ui/picture.h"
#include "platform/ui/screen.h"
#include "windows/frmPropPage.h"

void frmTarnix::OpenSignInPage() {
    clsRegistry& registry = oRegistry();
    // The page element holds the adapter once hooked; this reference only during the opening.
    win::HTMLElement element;
    try {
        // 1. and 2.
        lInstalled =
            registry.GetSettingLong(settings::currentUser(), sRegAddress, "X6Installed", 0);
        const std::string links = sRegAddress + settings::kDAPLinks;
        const std::string domain =
            registry.GetSettingString(settings::currentUser(), links, "X6Domain", "");
        sNewRequestURL = domain + registry.GetSettingString(settings::currentUser(), links,
                                                            "X6NewRequestURL", "");
        sLoginURL =
            domain + registry.GetSettingString(settings::currentUser(), links, "X6LoginURL", "");
        sUpdateURL =
            domain + registry.GetSettingString(settings::currentUser(), links, "X6UpDateURL", "");
        // 3.
        if (lInstalled != 1) {
            WriteFirstRunDefaults();
        } else {
            const bool onTop =
                registry.GetSettingLong(settings::currentUser(), sRegAddress, "X6OnTop", 0) != 0;
            mOnTop::SetWindowOnTop(hWnd(), platform::toBool16(onTop));
        }
        // 4. and 5.
        win::SystemParametersInfoA(win::SPI_GETWORKAREA, 0, &rcWorkArea, 0);
        const float twipsPerPixel = win::Screen.TwipsPerPixelY();
        iTaskbarHeight = platform::CInt(
            (win::Screen.Height() / twipsPerPixel - static_cast<float>(rcWorkArea.Bottom)) *
            twipsPerPixel);
        // 6. The first touch loads the options window, hidden.
        win::Default<frmPropPage>().imgCompanyLogo.setPicture(
            win::LoadPicture(platform::programFolder() + "\\ldata.x6c"));
        // 7. and 8.
        wbTarnix.Navigate(sLoginURL);
        do {
            win::DoEvents();
        } while (wbTarnix.Busy());
        // A window unloaded while it yielded (the session ended) is not loaded again.
        if (!IsLoaded()) {
            return;
        }
        // 9.
        oHTMLEvent = std::make_shared<cHTMLEvent>();
        oHTMLEvent->Event_Details(shared_from_this(), "HTML_ClickEvent");
        // 10. Nothing (no "login" element) fails here.
        element = wbTarnix.Document().getElementById("login");
        element.setOnclick(oHTMLEvent);
        // 11. to 13.
        LayOutSignInPage();
        Show();
        win::DoEvents();
        if (!IsLoaded()) {
            return;
        }
        // 14. From here on only the page element holds the adapter.
        oHTMLEvent.reset();
        element = {};
    } catch (const platform::RuntimeError&) {
        // Nothing is reported: the member is taken as signed in under the stored name.
        oHTMLEvent.reset();
        element = {};
        win::DoEvents();
        if (!IsLoaded()) {
            return;
        }
        sMemberName =
            registry.GetSettingString(settings::currentUser(), sRegAddress, "X6UserID", "");
        LayOutSignInPage();
        Show();
        tmrRequestCheck.setEnabled(true);
    }
}

// The browser over the start-up check list, and the window's size, on either path.
void frmTarnix::LayOutSignInPage() {
    wbTarnix.setTop(-30);
    wbTarnix.setLeft(-30);
    wbTarnix.setWidth(5835);
    wbTarnix.setHeight(7575);
    setWidth(5625);
    setHeight(8010);
}

void frmTarnix::HTML_ClickEvent() {
    clsRegistry& registry = oRegistry();
    sMemberName = wbTarnix.Document().getElementById("membername").Value();
    registry.SaveSettingString(settings::currentUser(), sRegAddress, "X6UserID", sMemberName);
    oAV().OpenMCIAudioFile(registry.GetSettingString(settings::currentUser(),
                                                     sRegAddress + settings::kSounds, "Login", ""));
    oAV().PlayMCIAudioFile(true);
    tmrRequestCheck.setEnabled(true);
    tmrRequestCheck_Timer();
}

void frmTarnix::wbTarnix_DocumentComplete(const std::string& URL) {
    if (URL.find("&logout=1") != std::string::npos) {
        tmrRequestCheck.setEnabled(false);
        OpenSignInPage();
    }
}

void frmTarnix::wbTarnix_NewWindow2(bool& /*Cancel*/) {}

void frmTarnix::wbTarnix_WindowClosing(bool /*IsChildWindow*/, bool& /*Cancel*/) {
    win::Unload(*this);
}

void frmTarnix::WriteFirstRunDefaults() {
    clsRegistry& registry = oRegistry();
    registry.SaveSettingLong(settings::currentUser(), sRegAddress, "X6Installed", 1);
    registry.SaveSettingLong(settings::currentUser(), sRegAddress, "X6OnTop", 1);
    mOnTop::SetWindowOnTop(hWnd(), platform::kTrue);
    registry.SaveSettingLong(settings::currentUser(), sRegAddress, "OnWindowsLoad", 1);
    registry.SaveSettingString(settings::currentUser(), settings::kRunKey,
                               settings::autostartName(), settings::autostartData());

    const std::string alerts = sRegAddress + settings::kAlerts;
    registry.SaveSettingLong(settings::currentUser(), alerts, "ContactOnline", 1);
    registry.SaveSettingLong(settings::currentUser(), alerts, "ChatRequest", 1);
    registry.SaveSettingLong(settings::currentUser(), alerts, "NewMail", 1);

    const std::string sounds = sRegAddress + settings::kSounds;
    const std::string folder = platform::programFolder();
    registry.SaveSettingString(settings::currentUser(), sounds, "Login",
                               folder + "\\sounds\\notify.wav");
    registry.SaveSettingString(settings::currentUser(), sounds, "ContactOnline",
                               folder + "\\sounds\\notify.wav");
    registry.SaveSettingString(settings::currentUser(), sounds, "ChatRequest",
                               folder + "\\sounds\\doorbell08.wav");
    registry.SaveSettingString(settings::currentUser(), sounds, "NewMail",
                               folder + "\\sounds\\knock.wav");
}
