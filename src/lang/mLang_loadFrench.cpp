#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace mLang {

// sTxtSoundGenAlert has no French text and keeps whatever it held.
void LoadFrench() {
    sTxtCheckInternet = "Vérification du raccordement d'Internet.";
    sTxtChecksDone = "Application de initialisation.";
    sTxtPopupChatRequest = "Demande de causerie";
    sTxtPopupNewMail = "Nouveau courrier";
    sTxtPopupContactOnline = "Contact en ligne";
    sTxtAppTitle = "Messager instantané";
    sTxtOptTitle = "Options";
    sTxtOptTabGeneral = "Le Général Details";
    sTxtOptSignIn = "Signe dedans";
    sTxtOptRunAtStartup = "Exécuter le programme au démarrage de Windows";
    sTxtOptAlwaysOnTop = "Toujours sur le dessus";
    sTxtOptTabSounds = "Bruits et alertes";
    sTxtOptAlertsHeading = "Alertes";
    sTxtOptAlertContactOnline = "Quand un contact vient en ligne";
    sTxtOptAlertChatRequest = "Quand le contact demande une causerie";
    sTxtOptAlertNewMail = "Si nouveau le courrier est arrivé";
    sTxtOptAlertsTip = "Active des alertes une fois vérifié";
    sTxtOptSoundsHeading = "Bruits";
    sTxtSoundLogin = "Ouverture ";
    sTxtSoundContactOnline = "Signes de contact dedans";
    sTxtSoundChatRequest = "Demande de causerie";
    sTxtSoundNewMail = "Nouveau courrier";
    sTxtSoundListTip = "Montre tous les bruits";
    sTxtSoundFileTip = "Endroit sain de dossier d'expositions";
    sTxtSoundBrowseTip = "Choisir le nouveau dossier sain";
    sTxtSoundPlayTip = "Jouer le dossier audio";
    sTxtOptTabCompany = "Groupes de\r\ncompagnie";
    sTxtCompanyNameLabel = "Nom";
    sTxtCompanyNameTip = "Nom de compagnie";
    sTxtCompanyAddressLabel = "Address";
    sTxtCompanyAddressTip = "Adresse de compagnie";
    sTxtTrayMinimize = "Réduire au minimum";
    sTxtTrayShow = "Exposition";
    sTxtTrayOptions = "Options";
    sTxtTrayLanguage = "Langue";
    sTxtLangEnglish = "Anglais";
    sTxtLangFrench = "Français";
    sTxtLangGerman = "Allemand";
    sTxtLangItalian = "Italien";
    sTxtLangSpanish = "Espagnol";
    sTxtLangSwedish = "Suédois";
    sTxtTrayAbout = "Au sujet de";
    sTxtTrayExit = "Sortie";
    sTxtAboutTitle = "Au sujet de";
    sTxtAboutCompanyHeading = "Société :";
}

}  // namespace mLang
