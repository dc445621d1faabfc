#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace mLang {

// The Swedish texts carry "=E4", "=F6" and "=E5" in place of the letters and are shown that way.
// sTxtSoundGenAlert has no Swedish text and keeps whatever it held.
void LoadSwedish() {
    sTxtCheckInternet = "Kontrollerar  Internet uppkoppling.";
    sTxtChecksDone = "Startar programet.";
    sTxtPopupChatRequest = "chatt f=F6rfr=E5gan";
    sTxtPopupNewMail = "Nytt e-post meddelande";
    sTxtPopupContactOnline = "Kontakt inloggad";
    sTxtAppTitle = "Chatt meddelande";
    sTxtOptTitle = "Inst=E4llningar";
    sTxtOptTabGeneral = "Inst=E4llningar";
    sTxtOptSignIn = "Logga in";
    sTxtOptRunAtStartup = "Skall programet startas n=E4r  datorn=startas?";
    sTxtOptAlwaysOnTop = "Alltid =F6verst";
    sTxtOptTabSounds = "Ljud och signaler";
    sTxtOptAlertsHeading = "Signaler";
    sTxtOptAlertContactOnline = "N=E4r en kontakt loggar in";
    sTxtOptAlertChatRequest = "N=E4r en kontakt vill chatta med=dig";
    sTxtOptAlertNewMail = "N=E4r ny e-post kommer in";
    sTxtOptAlertsTip = "Aktivera signaler";
    sTxtOptSoundsHeading = "Ljud";
    sTxtSoundLogin = "Logga in";
    sTxtSoundContactOnline = "En av dina kontakter loggar in";
    sTxtSoundChatRequest = "Chatt f=F6rfr=E5gan";
    sTxtSoundNewMail = "Nytt e-post meddelande";
    sTxtSoundListTip = "Visar alla ljud";
    sTxtSoundFileTip = "Visar s=F6kv=E4g till ljudfiler";
    sTxtSoundBrowseTip = "V=E4lj ny ljudfil";
    sTxtSoundPlayTip = "Spela upp ljudfilen";
    sTxtOptTabCompany = "Inst=E4llningar\r\nNamn";
    sTxtCompanyNameLabel = "Namn";
    sTxtCompanyNameTip = "F=F6retagsnamn";
    sTxtCompanyAddressLabel = "Adress";
    sTxtCompanyAddressTip = "F=F6retags adress";
    sTxtTrayMinimize = "Minimera";
    sTxtTrayShow = "Visa";
    sTxtTrayOptions = "Inst=E4llningar";
    sTxtTrayLanguage = "Spr=E5k";
    sTxtLangEnglish = "Engelska";
    sTxtLangFrench = "Franska";
    sTxtLangGerman = "Tyska";
    sTxtLangItalian = "Italienska";
    sTxtLangSpanish = "Spanska";
    sTxtLangSwedish = "Svenska";
    sTxtTrayAbout = "Om oss";
    sTxtTrayExit = "Avsluta";
    sTxtAboutTitle = "Om dettta program";
    sTxtAboutCompanyHeading = "F=F6retag:";
}

}  // namespace mLang
