#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"

namespace {

using namespace mLang;

constexpr int kLanguages = 6;

constexpr const char* kNotSet = nullptr;

struct Slot {
    const char* name;
    std::string* text;
    std::array<const char*, kLanguages> expected;  // English, French, German, Italian, Spanish,
                                                   // Swedish; kNotSet where the loader skips it
};

// clang-format off
#define SLOT(name, ...) Slot{#name, &name, {__VA_ARGS__}}
// clang-format on

// The whole table, slot by slot.
const std::vector<Slot>& table() {
    static const std::vector<Slot> slots = {
        SLOT(sTxtCheckInternet, "Checking Internet Connection.",
             "Vérification du raccordement d'Internet.", "Überprüfung der Internetverbindung.",
             "Controllo del collegamento del Internet.",
             "Comprobación de la conexión del Internet.", "Kontrollerar  Internet uppkoppling."),
        SLOT(sTxtChecksDone, "Initializing Application.", "Application de initialisation.",
             "Initialisierende Anwendung.", "Applicazione d'inizializzazione.",
             "Uso de incialización.", "Startar programet."),
        SLOT(sTxtPopupChatRequest, "Chat Request", "Demande de causerie", "Chat-Antrag",
             "Richiesta di chiacchierata", "Petición de la charla", "chatt f=F6rfr=E5gan"),
        SLOT(sTxtPopupNewMail, "New Mail", "Nouveau courrier", "Neue Mail", "Nuova posta",
             "Nuevo correo", "Nytt e-post meddelande"),
        SLOT(sTxtPopupContactOnline, "Contact Online", "Contact en ligne", "Online Kontakt",
             "Contatto in linea", "Contacto en línea", "Kontakt inloggad"),
        SLOT(sTxtAppTitle, "Instant Messenger", "Messager instantané", "Instant Messenger",
             "Messaggero istante", "Mensajero inmediato", "Chatt meddelande"),
        SLOT(sTxtOptTitle, "Options", "Options", "Optionen", "Opzioni", "Opciones",
             "Inst=E4llningar"),
        SLOT(sTxtOptTabGeneral, "General Details", "Le Général Details", "Allgemeine Details",
             "Generalità Particolari", "General Detalles", "Inst=E4llningar"),
        SLOT(sTxtOptSignIn, "Sign In", "Signe dedans", "Zeichen Darin", "Sign In",
             "Muestra adentro", "Logga in"),
        SLOT(sTxtOptRunAtStartup, "Run Program at Windows Startup",
             "Exécuter le programme au démarrage de Windows",
             "Gestartetes Programm an Windows-Anlauf",
             "Fare funzionare il programma alla partenza di Windows",
             "Funcionar el programa en el arranque de Windows",
             "Skall programet startas n=E4r  datorn=startas?"),
        SLOT(sTxtOptAlwaysOnTop, "Always On Top", "Toujours sur le dessus", "Immer Auf Spitze",
             "Sempre sulla parte superiore", "Siempre en tapa", "Alltid =F6verst"),
        SLOT(sTxtOptTabSounds, "Sounds and Alerts", "Bruits et alertes", "Töne und Alarme",
             "Suoni ed allarmi", "Sonidos y alarmas", "Ljud och signaler"),
        SLOT(sTxtOptAlertsHeading, "Alerts", "Alertes", "Alarm", "Allarmi", "Alarmas", "Signaler"),
        SLOT(sTxtOptAlertContactOnline, "When a Contact comes Online",
             "Quand un contact vient en ligne", "Wenn ein Kontakt Online kommt",
             "Quando un contatto viene in linea", "Cuando viene un contacto en línea",
             "N=E4r en kontakt loggar in"),
        SLOT(sTxtOptAlertChatRequest, "When Contact is Requesting a Chat",
             "Quand le contact demande une causerie", "Wenn Kontakt um einen Chat Bittet",
             "Quando il contatto sta chiedendo una chiacchierata",
             "Cuando el contacto está solicitando una charla",
             "N=E4r en kontakt vill chatta med=dig"),
        SLOT(sTxtOptAlertNewMail, "When New Mail has Arrived", "Si nouveau le courrier est arrivé",
             "Als Neue Post Angekommen ist", "Una volta nuova la posta è arrivato",
             "Cuando es nuevo el correo ha llegado", "N=E4r ny e-post kommer in"),
        SLOT(sTxtOptAlertsTip, "Activates Alerts When Checked",
             "Active des alertes une fois vérifié", "Aktiviert Alarme, wenn Nachgeprüft",
             "Attiva gli allarmi una volta controllato", "Activa alarmas cuando está comprobado",
             "Aktivera signaler"),
        SLOT(sTxtOptSoundsHeading, "Sounds", "Bruits", "Sounds", "Suoni", "Sonidos", "Ljud"),
        SLOT(sTxtSoundLogin, "Login", "Ouverture ", "Login", "Inizio attività", "Conexión",
             "Logga in"),
        SLOT(sTxtSoundContactOnline, "Contact Signs In", "Signes de contact dedans",
             "Kontakt Zeichen Darin", "Segni del contatto dentro", "Muestras del contacto adentro",
             "En av dina kontakter loggar in"),
        SLOT(sTxtSoundChatRequest, "Chat Request", "Demande de causerie", "Chat-Antrag",
             "Richiesta di chiacchierata", "Petición de la charla", "Chatt f=F6rfr=E5gan"),
        SLOT(sTxtSoundNewMail, "New Mail", "Nouveau courrier", "Neue Mail", "Nuova posta",
             "Nuevo correo", "Nytt e-post meddelande"),
        SLOT(sTxtSoundGenAlert, "General Alerts", kNotSet, "Allgemeine Alarme", kNotSet, kNotSet,
             kNotSet),
        SLOT(sTxtSoundListTip, "Displays all Sounds", "Montre tous les bruits", "Zeigt alle Töne",
             "Visualizza tutti i suoni", "Exhibe todos los sonidos", "Visar alla ljud"),
        SLOT(sTxtSoundFileTip, "Shows Sound File Location", "Endroit sain de dossier d'expositions",
             "Show-Ton-Dateiort", "Posizione sana della lima di esposizioni",
             "Localización del archivo de los sonidos de las demostraciones",
             "Visar s=F6kv=E4g till ljudfiler"),
        SLOT(sTxtSoundBrowseTip, "Choose New Sound File", "Choisir le nouveau dossier sain",
             "Wählen Sie Neue Sound Datei", "Scegliere la nuova lima sana",
             "Elegir el archivo nuevo de los sonidos", "V=E4lj ny ljudfil"),
        SLOT(sTxtSoundPlayTip, "Play the Audio File", "Jouer le dossier audio",
             "Spielen Sie die Audiodatei", "Giocare la lima audio", "Jugar el archivo audio",
             "Spela upp ljudfilen"),
        SLOT(sTxtOptTabCompany, "Company\r\nDetails", "Groupes de\r\ncompagnie", "Firma\r\nDetails",
             "Azienda\r\nParticolari", "Compañía\r\nDetalles", "Inst=E4llningar\r\nNamn"),
        SLOT(sTxtCompanyNameLabel, "Name", "Nom", "Name", "Nome", "Nombre", "Namn"),
        SLOT(sTxtCompanyNameTip, "Company Name", "Nom de compagnie", "Firmen Namen",
             "Nome di azienda", "Nombre de compañía", "F=F6retagsnamn"),
        SLOT(sTxtCompanyAddressLabel, "Address", "Address", "Adresse", "Indirizzo", "Dirección",
             "Adress"),
        SLOT(sTxtCompanyAddressTip, "Company Address", "Adresse de compagnie", "Firmen Adresse",
             "Indirizzo dell'azienda", "Dirección de la compañía", "F=F6retags adress"),
        SLOT(sTxtTrayMinimize, "Minimize", "Réduire au minimum", "Minimieren", "Minimizzare",
             "Reducir al mínimo", "Minimera"),
        SLOT(sTxtTrayShow, "Show", "Exposition", "Show", "Esposizione", "Demostración", "Visa"),
        SLOT(sTxtTrayOptions, "Options", "Options", "Options", "Opzioni", "Opciones",
             "Inst=E4llningar"),
        SLOT(sTxtTrayLanguage, "Language", "Langue", "Sprache", "Lingua", "Lengua", "Spr=E5k"),
        SLOT(sTxtLangEnglish, "English", "Anglais", "Englisch", "Inglese", "Inglés", "Engelska"),
        SLOT(sTxtLangFrench, "French", "Français", "French", "Francese", "Francés", "Franska"),
        SLOT(sTxtLangGerman, "German", "Allemand", "Deutsch", "Tedesco", "Alemán", "Tyska"),
        SLOT(sTxtLangItalian, "Italian", "Italien", "Italian", "Italiano", "Italiano",
             "Italienska"),
        SLOT(sTxtLangSpanish, "Spanish", "Espagnol", "Spanisch", "Spagnolo", "Español", "Spanska"),
        SLOT(sTxtLangSwedish, "Swedish", "Suédois", "Schwedisch", "Svedese", "Sueco", "Svenska"),
        SLOT(sTxtTrayAbout, "About", "Au sujet de", "Darüber", "Circa", "Sobre", "Om oss"),
        SLOT(sTxtTrayExit, "Exit", "Sortie", "Ausgang", "Uscita", "Salida", "Avsluta"),
        SLOT(sTxtAboutTitle, "About", "Au sujet de", "Darüber", "Circa", "Sobre",
             "Om dettta program"),
        SLOT(sTxtAboutCompanyHeading,
             "Company:", "Société :", "Firma:", "Azienda:", "Compañía:", "F=F6retag:"),
    };
    return slots;
}

using Loader = void (*)();
constexpr std::array<Loader, kLanguages> kLoaders = {LoadEnglish, LoadFrench,  LoadGerman,
                                                     LoadItalian, LoadSpanish, LoadSwedish};

// A loader that skips a slot leaves whatever an earlier language put there.
TEST(LanguageTable, EachLoaderWritesExactlyItsColumn) {
    const std::string kUntouched = "<untouched>";
    for (int language = 0; language < kLanguages; ++language) {
        SCOPED_TRACE(language);
        for (const auto& slot : table()) {
            *slot.text = kUntouched;
        }
        kLoaders[language]();
        for (const auto& slot : table()) {
            const char* expected = slot.expected[language];
            EXPECT_EQ(*slot.text, expected == kNotSet ? kUntouched : expected) << slot.name;
        }
    }
}

}  // namespace
