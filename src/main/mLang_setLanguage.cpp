#include "main/mLang_setLanguage.h"

#include "lang/mLang_loaders.h"
#include "lang/mLang_textTable.h"
#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "windows/mLang_applyTexts.h"

namespace mLang {

void SetLanguage(int16_t index) {
    switch (index) {
        case 1:
            LoadEnglish();
            break;
        case 2:
            LoadFrench();
            break;
        case 3:
            LoadGerman();
            break;
        case 4:
            LoadItalian();
            break;
        case 5:
            LoadSpanish();
            break;
        case 6:
            LoadSwedish();
            break;
        default:
            break;
    }
    auto& main = win::Default<frmTarnix>();
    main.setCaption(sTxtAppTitle);
    main.mnuSTMin.setCaption(sTxtTrayMinimize);
    main.mnuSTShow.setCaption(sTxtTrayShow);
    main.mnuSTProp.setCaption(sTxtTrayOptions);
    main.mnuLanguages.setCaption(sTxtTrayLanguage);
    main.mnuL_Lang[1].setCaption(sTxtLangEnglish);
    main.mnuL_Lang[2].setCaption(sTxtLangFrench);
    main.mnuL_Lang[3].setCaption(sTxtLangGerman);
    main.mnuL_Lang[4].setCaption(sTxtLangItalian);
    main.mnuL_Lang[5].setCaption(sTxtLangSpanish);
    main.mnuL_Lang[6].setCaption(sTxtLangSwedish);
    main.mnuSTAbout.setCaption(sTxtTrayAbout);
    main.mnuSTExit.setCaption(sTxtTrayExit);
    if (bOptionsLoaded) {
        ApplyOptionsTexts();
    }
    if (bAboutLoaded) {
        ApplyAboutTexts();
    }
}

}  // namespace mLang
