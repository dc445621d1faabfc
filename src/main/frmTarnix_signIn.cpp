#include "desktop/mOnTop.h"
#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/files/paths.h"

void frmTarnix::OpenSignInPage() {
    clsRegistry& registry = oRegistry();
    lInstalled = registry.GetSettingLong(settings::currentUser(), sRegAddress, "X6Installed", 0);
    const std::string links = sRegAddress + settings::kDAPLinks;
    const std::string domain =
        registry.GetSettingString(settings::currentUser(), links, "X6Domain", "");
    sNewRequestURL =
        domain + registry.GetSettingString(settings::currentUser(), links, "X6NewRequestURL", "");
    sLoginURL =
        domain + registry.GetSettingString(settings::currentUser(), links, "X6LoginURL", "");
    sUpdateURL =
        domain + registry.GetSettingString(settings::currentUser(), links, "X6UpDateURL", "");
    if (lInstalled != 1) {
        WriteFirstRunDefaults();
    } else {
        const bool onTop =
            registry.GetSettingLong(settings::currentUser(), sRegAddress, "X6OnTop", 0) != 0;
        mOnTop::SetWindowOnTop(hWnd(), platform::toBool16(onTop));
    }
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
