#include "lang/mLang_textTable.h"
#include "windows/frmAbout.h"
#include "windows/mLang_applyTexts.h"

namespace mLang {

void ApplyAboutTexts() {
    auto& about = win::Default<frmAbout>();
    about.Label2.setCaption(sTxtAboutTitle);
    about.Label4.setCaption(sTxtAboutCompanyHeading);
}

}  // namespace mLang
