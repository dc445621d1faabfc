#pragma once

#include <string>

// The language text table: one program-wide text per role, in UTF-8. Every slot is empty until the
// first loader runs; a loader that leaves a slot alone keeps the previous language's text in it.
// Only the loaders write these; windows read them when they caption their controls.
namespace mLang {

// The slots live in one object so that all of them can be emptied at once; the names below are its
// members under the names the program uses.
struct TextTable {
    // Start-up check list and tray balloons.
    std::string sTxtCheckInternet;
    std::string sTxtChecksDone;

    // Pop-up titles.
    std::string sTxtPopupChatRequest;
    std::string sTxtPopupNewMail;
    std::string sTxtPopupContactOnline;

    // Main window caption.
    std::string sTxtAppTitle;

    // Options window: title and general details page.
    std::string sTxtOptTitle;
    std::string sTxtOptTabGeneral;
    std::string sTxtOptSignIn;
    std::string sTxtOptRunAtStartup;
    std::string sTxtOptAlwaysOnTop;

    // Options window: sounds and alerts page.
    std::string sTxtOptTabSounds;
    std::string sTxtOptAlertsHeading;
    std::string sTxtOptAlertContactOnline;
    std::string sTxtOptAlertChatRequest;
    std::string sTxtOptAlertNewMail;
    std::string sTxtOptAlertsTip;
    std::string sTxtOptSoundsHeading;
    std::string sTxtSoundLogin;
    std::string sTxtSoundContactOnline;
    std::string sTxtSoundChatRequest;
    std::string sTxtSoundNewMail;
    std::string sTxtSoundGenAlert;
    std::string sTxtSoundListTip;
    std::string sTxtSoundFileTip;
    std::string sTxtSoundBrowseTip;
    std::string sTxtSoundPlayTip;

    // Options window: company details page (the tab caption has two lines, joined by CR LF).
    std::string sTxtOptTabCompany;
    std::string sTxtCompanyNameLabel;
    std::string sTxtCompanyNameTip;
    std::string sTxtCompanyAddressLabel;
    std::string sTxtCompanyAddressTip;

    // Tray menu and its language items.
    std::string sTxtTrayMinimize;
    std::string sTxtTrayShow;
    std::string sTxtTrayOptions;
    std::string sTxtTrayLanguage;
    std::string sTxtLangEnglish;
    std::string sTxtLangFrench;
    std::string sTxtLangGerman;
    std::string sTxtLangItalian;
    std::string sTxtLangSpanish;
    std::string sTxtLangSwedish;
    std::string sTxtTrayAbout;
    std::string sTxtTrayExit;

    // About window headings.
    std::string sTxtAboutTitle;
    std::string sTxtAboutCompanyHeading;
};

inline TextTable textTable;

inline std::string& sTxtCheckInternet = textTable.sTxtCheckInternet;
inline std::string& sTxtChecksDone = textTable.sTxtChecksDone;
inline std::string& sTxtPopupChatRequest = textTable.sTxtPopupChatRequest;
inline std::string& sTxtPopupNewMail = textTable.sTxtPopupNewMail;
inline std::string& sTxtPopupContactOnline = textTable.sTxtPopupContactOnline;
inline std::string& sTxtAppTitle = textTable.sTxtAppTitle;
inline std::string& sTxtOptTitle = textTable.sTxtOptTitle;
inline std::string& sTxtOptTabGeneral = textTable.sTxtOptTabGeneral;
inline std::string& sTxtOptSignIn = textTable.sTxtOptSignIn;
inline std::string& sTxtOptRunAtStartup = textTable.sTxtOptRunAtStartup;
inline std::string& sTxtOptAlwaysOnTop = textTable.sTxtOptAlwaysOnTop;
inline std::string& sTxtOptTabSounds = textTable.sTxtOptTabSounds;
inline std::string& sTxtOptAlertsHeading = textTable.sTxtOptAlertsHeading;
inline std::string& sTxtOptAlertContactOnline = textTable.sTxtOptAlertContactOnline;
inline std::string& sTxtOptAlertChatRequest = textTable.sTxtOptAlertChatRequest;
inline std::string& sTxtOptAlertNewMail = textTable.sTxtOptAlertNewMail;
inline std::string& sTxtOptAlertsTip = textTable.sTxtOptAlertsTip;
inline std::string& sTxtOptSoundsHeading = textTable.sTxtOptSoundsHeading;
inline std::string& sTxtSoundLogin = textTable.sTxtSoundLogin;
inline std::string& sTxtSoundContactOnline = textTable.sTxtSoundContactOnline;
inline std::string& sTxtSoundChatRequest = textTable.sTxtSoundChatRequest;
inline std::string& sTxtSoundNewMail = textTable.sTxtSoundNewMail;
inline std::string& sTxtSoundGenAlert = textTable.sTxtSoundGenAlert;
inline std::string& sTxtSoundListTip = textTable.sTxtSoundListTip;
inline std::string& sTxtSoundFileTip = textTable.sTxtSoundFileTip;
inline std::string& sTxtSoundBrowseTip = textTable.sTxtSoundBrowseTip;
inline std::string& sTxtSoundPlayTip = textTable.sTxtSoundPlayTip;
inline std::string& sTxtOptTabCompany = textTable.sTxtOptTabCompany;
inline std::string& sTxtCompanyNameLabel = textTable.sTxtCompanyNameLabel;
inline std::string& sTxtCompanyNameTip = textTable.sTxtCompanyNameTip;
inline std::string& sTxtCompanyAddressLabel = textTable.sTxtCompanyAddressLabel;
inline std::string& sTxtCompanyAddressTip = textTable.sTxtCompanyAddressTip;
inline std::string& sTxtTrayMinimize = textTable.sTxtTrayMinimize;
inline std::string& sTxtTrayShow = textTable.sTxtTrayShow;
inline std::string& sTxtTrayOptions = textTable.sTxtTrayOptions;
inline std::string& sTxtTrayLanguage = textTable.sTxtTrayLanguage;
inline std::string& sTxtLangEnglish = textTable.sTxtLangEnglish;
inline std::string& sTxtLangFrench = textTable.sTxtLangFrench;
inline std::string& sTxtLangGerman = textTable.sTxtLangGerman;
inline std::string& sTxtLangItalian = textTable.sTxtLangItalian;
inline std::string& sTxtLangSpanish = textTable.sTxtLangSpanish;
inline std::string& sTxtLangSwedish = textTable.sTxtLangSwedish;
inline std::string& sTxtTrayAbout = textTable.sTxtTrayAbout;
inline std::string& sTxtTrayExit = textTable.sTxtTrayExit;
inline std::string& sTxtAboutTitle = textTable.sTxtAboutTitle;
inline std::string& sTxtAboutCompanyHeading = textTable.sTxtAboutCompanyHeading;

// Every slot empty again, as before the first loader ran.
inline void ResetTextTable() {
    textTable = TextTable{};
}

}  // namespace mLang
