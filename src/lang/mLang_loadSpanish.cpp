#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace mLang {

// sTxtSoundGenAlert has no Spanish text and keeps whatever it held.
void LoadSpanish() {
    sTxtCheckInternet = "Comprobación de la conexión del Internet.";
    sTxtChecksDone = "Uso de incialización.";
    sTxtPopupChatRequest = "Petición de la charla";
    sTxtPopupNewMail = "Nuevo correo";
    sTxtPopupContactOnline = "Contacto en línea";
    sTxtAppTitle = "Mensajero inmediato";
    sTxtOptTitle = "Opciones";
    sTxtOptTabGeneral = "General Detalles";
    sTxtOptSignIn = "Muestra adentro";
    sTxtOptRunAtStartup = "Funcionar el programa en el arranque de Windows";
    sTxtOptAlwaysOnTop = "Siempre en tapa";
    sTxtOptTabSounds = "Sonidos y alarmas";
    sTxtOptAlertsHeading = "Alarmas";
    sTxtOptAlertContactOnline = "Cuando viene un contacto en línea";
    sTxtOptAlertChatRequest = "Cuando el contacto está solicitando una charla";
    sTxtOptAlertNewMail = "Cuando es nuevo el correo ha llegado";
    sTxtOptAlertsTip = "Activa alarmas cuando está comprobado";
    sTxtOptSoundsHeading = "Sonidos";
    sTxtSoundLogin = "Conexión";
    sTxtSoundContactOnline = "Muestras del contacto adentro";
    sTxtSoundChatRequest = "Petición de la charla";
    sTxtSoundNewMail = "Nuevo correo";
    sTxtSoundListTip = "Exhibe todos los sonidos";
    sTxtSoundFileTip = "Localización del archivo de los sonidos de las demostraciones";
    sTxtSoundBrowseTip = "Elegir el archivo nuevo de los sonidos";
    sTxtSoundPlayTip = "Jugar el archivo audio";
    sTxtOptTabCompany = "Compañía\r\nDetalles";
    sTxtCompanyNameLabel = "Nombre";
    sTxtCompanyNameTip = "Nombre de compañía";
    sTxtCompanyAddressLabel = "Dirección";
    sTxtCompanyAddressTip = "Dirección de la compañía";
    sTxtTrayMinimize = "Reducir al mínimo";
    sTxtTrayShow = "Demostración";
    sTxtTrayOptions = "Opciones";
    sTxtTrayLanguage = "Lengua";
    sTxtLangEnglish = "Inglés";
    sTxtLangFrench = "Francés";
    sTxtLangGerman = "Alemán";
    sTxtLangItalian = "Italiano";
    sTxtLangSpanish = "Español";
    sTxtLangSwedish = "Sueco";
    sTxtTrayAbout = "Sobre";
    sTxtTrayExit = "Salida";
    sTxtAboutTitle = "Sobre";
    sTxtAboutCompanyHeading = "Compañía:";
}

}  // namespace mLang
