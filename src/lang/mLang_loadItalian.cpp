#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace mLang {

// sTxtSoundGenAlert has no Italian text and keeps whatever it held.
void LoadItalian() {
    sTxtCheckInternet = "Controllo del collegamento del Internet.";
    sTxtChecksDone = "Applicazione d'inizializzazione.";
    sTxtPopupChatRequest = "Richiesta di chiacchierata";
    sTxtPopupNewMail = "Nuova posta";
    sTxtPopupContactOnline = "Contatto in linea";
    sTxtAppTitle = "Messaggero istante";
    sTxtOptTitle = "Opzioni";
    sTxtOptTabGeneral = "Generalità Particolari";
    sTxtOptSignIn = "Sign In";
    sTxtOptRunAtStartup = "Fare funzionare il programma alla partenza di Windows";
    sTxtOptAlwaysOnTop = "Sempre sulla parte superiore";
    sTxtOptTabSounds = "Suoni ed allarmi";
    sTxtOptAlertsHeading = "Allarmi";
    sTxtOptAlertContactOnline = "Quando un contatto viene in linea";
    sTxtOptAlertChatRequest = "Quando il contatto sta chiedendo una chiacchierata";
    sTxtOptAlertNewMail = "Una volta nuova la posta è arrivato";
    sTxtOptAlertsTip = "Attiva gli allarmi una volta controllato";
    sTxtOptSoundsHeading = "Suoni";
    sTxtSoundLogin = "Inizio attività";
    sTxtSoundContactOnline = "Segni del contatto dentro";
    sTxtSoundChatRequest = "Richiesta di chiacchierata";
    sTxtSoundNewMail = "Nuova posta";
    sTxtSoundListTip = "Visualizza tutti i suoni";
    sTxtSoundFileTip = "Posizione sana della lima di esposizioni";
    sTxtSoundBrowseTip = "Scegliere la nuova lima sana";
    sTxtSoundPlayTip = "Giocare la lima audio";
    sTxtOptTabCompany = "Azienda\r\nParticolari";
    sTxtCompanyNameLabel = "Nome";
    sTxtCompanyNameTip = "Nome di azienda";
    sTxtCompanyAddressLabel = "Indirizzo";
    sTxtCompanyAddressTip = "Indirizzo dell'azienda";
    sTxtTrayMinimize = "Minimizzare";
    sTxtTrayShow = "Esposizione";
    sTxtTrayOptions = "Opzioni";
    sTxtTrayLanguage = "Lingua";
    sTxtLangEnglish = "Inglese";
    sTxtLangFrench = "Francese";
    sTxtLangGerman = "Tedesco";
    sTxtLangItalian = "Italiano";
    sTxtLangSpanish = "Spagnolo";
    sTxtLangSwedish = "Svedese";
    sTxtTrayAbout = "Circa";
    sTxtTrayExit = "Uscita";
    sTxtAboutTitle = "Circa";
    sTxtAboutCompanyHeading = "Azienda:";
}

}  // namespace mLang
