#pragma once

#include <string>

// The language text table: one program-wide text per role, in UTF-8. Every slot is empty until the
// first loader runs; a loader that leaves a slot alone keeps the previous language's text in it.
// Only the loaders write these; windows read them when they caption their controls.
namespace mLang {

// Start-up check list and tray balloons.
inline std::string sTxtCheckInternet;
inline std::string sTxtChecksDone;

// Pop-up titles.
inline std::string sTxtPopupChatRequest;
inline std::string sTxtPopupNewMail;
inline std::string sTxtPopupContactOnline;

// Main window caption.
inline std::string sTxtAppTitle;

// Options window: title and general details page.
inline std::string sTxtOptTitle;
inline std::string sTxtOptTabGeneral;
inline std::string sTxtOptSignIn;
inline std::string sTxtOptRunAtStartup;
inline std::string sTxtOptAlwaysOnTop;

// Options window: sounds and alerts page.
inline std::string sTxtOptTabSounds;
inline std::string sTxtOptAlertsHeading;
inline std::string sTxtOptAlertContactOnline;
inline std::string sTxtOptAlertChatRequest;
inline std::string sTxtOptAlertNewMail;
inline std::string sTxtOptAlertsTip;
inline std::string sTxtOptSoundsHeading;
inline std::string sTxtSoundLogin;
inline std::string sTxtSoundContactOnline;
inline std::string sTxtSoundChatRequest;
inline std::string sTxtSoundNewMail;
inline std::string sTxtSoundGenAlert;
inline std::string sTxtSoundListTip;
inline std::string sTxtSoundFileTip;
inline std::string sTxtSoundBrowseTip;
inline std::string sTxtSoundPlayTip;

// Options window: company details page (the tab caption has two lines, joined by CR LF).
inline std::string sTxtOptTabCompany;
inline std::string sTxtCompanyNameLabel;
inline std::string sTxtCompanyNameTip;
inline std::string sTxtCompanyAddressLabel;
inline std::string sTxtCompanyAddressTip;

// Tray menu and its language items.
inline std::string sTxtTrayMinimize;
inline std::string sTxtTrayShow;
inline std::string sTxtTrayOptions;
inline std::string sTxtTrayLanguage;
inline std::string sTxtLangEnglish;
inline std::string sTxtLangFrench;
inline std::string sTxtLangGerman;
inline std::string sTxtLangItalian;
inline std::string sTxtLangSpanish;
inline std::string sTxtLangSwedish;
inline std::string sTxtTrayAbout;
inline std::string sTxtTrayExit;

// About window headings.
inline std::string sTxtAboutTitle;
inline std::string sTxtAboutCompanyHeading;

}  // namespace mLang
