#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace mLang {

void LoadGerman() {
    sTxtCheckInternet = "Überprüfung der Internetverbindung.";
    sTxtChecksDone = "Initialisierende Anwendung.";
    sTxtPopupChatRequest = "Chat-Antrag";
    sTxtPopupNewMail = "Neue Mail";
    sTxtPopupContactOnline = "Online Kontakt";
    sTxtAppTitle = "Instant Messenger";
    sTxtOptTitle = "Optionen";
    sTxtOptTabGeneral = "Allgemeine Details";
    sTxtOptSignIn = "Zeichen Darin";
    sTxtOptRunAtStartup = "Gestartetes Programm an Windows-Anlauf";
    sTxtOptAlwaysOnTop = "Immer Auf Spitze";
    sTxtOptTabSounds = "Töne und Alarme";
    sTxtOptAlertsHeading = "Alarm";
    sTxtOptAlertContactOnline = "Wenn ein Kontakt Online kommt";
    sTxtOptAlertChatRequest = "Wenn Kontakt um einen Chat Bittet";
    sTxtOptAlertNewMail = "Als Neue Post Angekommen ist";
    sTxtOptAlertsTip = "Aktiviert Alarme, wenn Nachgeprüft";
    sTxtOptSoundsHeading = "Sounds";
    sTxtSoundLogin = "Login";
    sTxtSoundContactOnline = "Kontakt Zeichen Darin";
    sTxtSoundChatRequest = "Chat-Antrag";
    sTxtSoundNewMail = "Neue Mail";
    sTxtSoundGenAlert = "Allgemeine Alarme";
    sTxtSoundListTip = "Zeigt alle Töne";
    sTxtSoundFileTip = "Show-Ton-Dateiort";
    sTxtSoundBrowseTip = "Wählen Sie Neue Sound Datei";
    sTxtSoundPlayTip = "Spielen Sie die Audiodatei";
    sTxtOptTabCompany = "Firma\r\nDetails";
    sTxtCompanyNameLabel = "Name";
    sTxtCompanyNameTip = "Firmen Namen";
    sTxtCompanyAddressLabel = "Adresse";
    sTxtCompanyAddressTip = "Firmen Adresse";
    sTxtTrayMinimize = "Minimieren";
    sTxtTrayShow = "Show";
    sTxtTrayOptions = "Options";
    sTxtTrayLanguage = "Sprache";
    sTxtLangEnglish = "Englisch";
    sTxtLangFrench = "French";
    sTxtLangGerman = "Deutsch";
    sTxtLangItalian = "Italian";
    sTxtLangSpanish = "Spanisch";
    sTxtLangSwedish = "Schwedisch";
    sTxtTrayAbout = "Darüber";
    sTxtTrayExit = "Ausgang";
    sTxtAboutTitle = "Darüber";
    sTxtAboutCompanyHeading = "Firma:";
}

}  // namespace mLang
