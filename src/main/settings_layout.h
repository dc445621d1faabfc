#pragma once

#include <cstdint>
#include <string>

#include "platform/files/paths.h"

// Where the settings live: every registry setting is under HKEY_CURRENT_USER, in the settings key
// (sRegAddress) or one of its subkeys, whose names are appended with their leading "\".
namespace settings {

// The root-key number of HKEY_CURRENT_USER for clsRegistry, a fresh number at every call (the
// store hands the root handle back through it).
constexpr int32_t currentUser() {
    return 1;
}

inline constexpr const char* kDAPLinks = "\\DAPLinks";
inline constexpr const char* kCompanyDetails = "\\CompanyDetails";
inline constexpr const char* kAlerts = "\\Alerts";
inline constexpr const char* kSounds = "\\Sounds";

// The autostart entries of the current user, outside the settings key.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The program's autostart entry: named after its file name with ".exe", holding the program
// folder, "\" and that name, unquoted.
inline std::string autostartName() {
    return platform::EXEName() + ".exe";
}
inline std::string autostartData() {
    return platform::programFolder() + "\\" + autostartName();
}

// The desktop settings file in the program folder, and its keys.
inline constexpr const char* kDesktopSettingsFile = "\\PexarDeskTop.ini";
inline constexpr const char* kLanguageSection = "Language";
inline constexpr const char* kLanguageKey = "Lang";
inline constexpr const char* kStartSection = "StartDetails";
inline constexpr const char* kRegAddressKey = "REGADDRESS";

}  // namespace settings
