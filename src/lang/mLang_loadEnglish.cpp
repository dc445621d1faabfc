#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace mLang {

void LoadEnglish() {
    sTxtCheckInternet = "Checking Internet Connection.";
    sTxtChecksDone = "Initializing Application.";
    sTxtPopupChatRequest = "Chat Request";
    sTxtPopupNewMail = "New Mail";
    sTxtPopupContactOnline = "Contact Online";
    sTxtAppTitle = "Instant Messenger";
    sTxtOptTitle = "Options";
    sTxtOptTabGeneral = "General Details";
    sTxtOptSignIn = "Sign In";
    sTxtOptRunAtStartup = "Run Program at Windows Startup";
    sTxtOptAlwaysOnTop = "Always On Top";
    sTxtOptTabSounds = "Sounds and Alerts";
    sTxtOptAlertsHeading = "Alerts";
    sTxtOptAlertContactOnline = "When a Contact comes Online";
    sTxtOptAlertChatRequest = "When Contact is Requesting a Chat";
    sTxtOptAlertNewMail = "When New Mail has Arrived";
    sTxtOptAlertsTip = "Activates Alerts When Checked";
    sTxtOptSoundsHeading = "Sounds";
    sTxtSoundLogin = "Login";
    sTxtSoundContactOnline = "Contact Signs In";
    sTxtSoundChatRequest = "Chat Request";
    sTxtSoundNewMail = "New Mail";
    sTxtSoundGenAlert = "General Alerts";
    sTxtSoundListTip = "Displays all Sounds";
    sTxtSoundFileTip = "Shows Sound File Location";
    sTxtSoundBrowseTip = "Choose New Sound File";
    sTxtSoundPlayTip = "Play the Audio File";
    sTxtOptTabCompany = "Company\r\nDetails";
    sTxtCompanyNameLabel = "Name";
    sTxtCompanyNameTip = "Company Name";
    sTxtCompanyAddressLabel = "Address";
    sTxtCompanyAddressTip = "Company Address";
    sTxtTrayMinimize = "Minimize";
    sTxtTrayShow = "Show";
    sTxtTrayOptions = "Options";
    sTxtTrayLanguage = "Language";
    sTxtLangEnglish = "English";
    sTxtLangFrench = "French";
    sTxtLangGerman = "German";
    sTxtLangItalian = "Italian";
    sTxtLangSpanish = "Spanish";
    sTxtLangSwedish = "Swedish";
    sTxtTrayAbout = "About";
    sTxtTrayExit = "Exit";
    sTxtAboutTitle = "About";
    sTxtAboutCompanyHeading = "Company:";
}

}  // namespace mLang
