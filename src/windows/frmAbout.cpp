#include "windows/frmAbout.h"

#include <string>

#include "main/program_values.h"
#include "platform/runtime/app_info.h"
#include "platform/runtime/convert.h"
#include "platform/shell/shell_execute.h"
#include "windows/art/window_art.h"
#include "windows/frmPropPage.h"
#include "windows/mLang_applyTexts.h"

namespace {

// The credit lines: text and left indent.
struct CreditLine {
    const char* text;
    int16_t margin;
};

std::string versionLabel() {
    return "Version " + std::to_string(platform::kVersionMajor) + "." +
           std::to_string(platform::kVersionMinor) + "." +
           std::to_string(platform::kVersionRevision);
}

}  // namespace

frmAbout::frmAbout()
    : Form("frmAbout", {.Width = 3735,
                        .Height = 4290,
                        .BorderStyle = win::vbFixedDialog,
                        .ShowInTaskbar = false}) {
    setDesignPicture(win::LoadPictureFromBytes(windowart::AboutBackground()));
    Image1.setDesignPicture(win::LoadPictureFromBytes(windowart::AboutClose()));
    Image2.setDesignPicture(win::LoadPictureFromBytes(windowart::AboutBanner()));
    Label7.setDesignMouseIcon(win::LoadPictureFromBytes(windowart::AboutPointer()));
    Image1.onClick = [this] { Image1_Click(); };
    Label7.onClick = [this] { Label7_Click(); };
}

void frmAbout::Form_Load() {
    // 1.
    skin_.MakeTransparent(*this, kKeyColour);
    // 2. and 3.
    bAboutLoaded = platform::kTrue;
    mLang::ApplyAboutTexts();
    // The banner's texts, the program's own.
    Label1.setCaption(platform::kAppTitle);
    Label3.setCaption(kMakerAddress);
    // 4. Reading it loads the options window, hidden, when it is not loaded.
    Label5.setCaption(win::Default<frmPropPage>().txtCDName.Text());
    // 5. and 6.
    const std::string version = versionLabel();
    const CreditLine credits[] = {{"Credits", 5},
                                  {"", 0},
                                  {"Programmers", 5},
                                  {"Sam Example", 20},
                                  {"Alex Example", 20},
                                  {"", 0},
                                  {"", 0},
                                  {"Application Version", 5},
                                  {version.c_str(), 20}};
    for (const CreditLine& line : credits) {
        ucstCredits.AddText(line.text, line.margin);
    }
    ucstCredits.ScrollText(true);
}

void frmAbout::Form_QueryUnload(int16_t& /*Cancel*/, int16_t /*UnloadMode*/) {
    bAboutLoaded = platform::kFalse;
}

void frmAbout::Image1_Click() {
    Unload();
}

void frmAbout::Label7_Click() {
    // Its result is not used: without a browser nothing opens.
    win::ShellExecuteA(0, std::nullopt, kMakerAddress, std::nullopt, std::nullopt,
                       win::SW_SHOWNORMAL);
}
