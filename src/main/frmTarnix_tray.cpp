#include <string>

#include "main/frmTarnix.h"
#include "main/mLang_setLanguage.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/runtime/convert.h"
#include "platform/ui/loop.h"
#include "platform/ui/screen.h"
#include "windows/frmAbout.h"
#include "windows/frmPropPage.h"

namespace {
// The tray icon's callback carries the mouse message in X: a right-button press.
constexpr int32_t kTrayRightButtonDown = 516;
}  // namespace

void frmTarnix::Form_MouseMove(int16_t /*Button*/, int16_t /*Shift*/, float X, float /*Y*/) {
    if (oSysTray().MouseTrayEvent(this, platform::CLng(X), kTrayRightButtonDown)) {
        PopupMenu(mnuSysTray);
    }
}

void frmTarnix::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    if (UnloadMode == win::vbFormControlMenu) {
        Hide();
        mnuSTMin.setEnabled(false);
        mnuSTShow.setEnabled(true);
        Cancel = platform::kTrue;
    }
}

void frmTarnix::Form_Unload(int16_t& /*Cancel*/) {
    tmrStart.setEnabled(false);
    tmrNoNet.setEnabled(false);
    tmrAnimation.setEnabled(false);
    tmrRequestCheck.setEnabled(false);
    oSysTray().Remove();
    // Unloading a window that is not loaded does nothing.
    win::Unload(win::Default<frmPropPage>());
    win::Unload(win::Default<frmAbout>());
}

void frmTarnix::mnuSTMin_Click() {
    Hide();
    mnuSTMin.setEnabled(false);
    mnuSTShow.setEnabled(true);
}

void frmTarnix::mnuSTShow_Click() {
    Show();
    mnuSTMin.setEnabled(true);
    mnuSTShow.setEnabled(false);
}

void frmTarnix::mnuSTProp_Click() {
    SlideIn(win::Default<frmPropPage>());
}

void frmTarnix::mnuSTAbout_Click() {
    SlideIn(win::Default<frmAbout>());
}

// Slides W in from beyond the right edge of the screen, 15 twips a step with one pass of the
// message loop each, until its right edge meets the screen's; its bottom 480 twips above the
// screen's. The first reference loads W.
void frmTarnix::SlideIn(win::Form& W) {
    W.setLeft(win::Screen.Width() + 30);
    W.setTop(win::Screen.Height() - W.Height() - 480);
    W.Show();
    while (win::Screen.Width() - W.Width() < W.Left()) {
        W.setLeft(W.Left() - 15);
        win::DoEvents();
    }
    W.setLeft(win::Screen.Width() - W.Width());
}

void frmTarnix::ShowTrayMenu() {
    PopupMenu(mnuSysTray, 0);
}

void frmTarnix::mnuSTExit_Click() {
    tmrRequestCheck.setEnabled(false);
    win::Unload(*this);
}

void frmTarnix::mnuL_Lang_Click(int16_t Index) {
    for (int16_t i = 1; i <= 6; ++i) {
        mnuL_Lang[i].setChecked(false);
    }
    if (Index >= 1 && Index <= 6) {
        mLang::SetLanguage(Index);
    }
    // Only the six languages have an item to tick.
    if (mnuL_Lang.Exists(Index)) {
        mnuL_Lang[Index].setChecked(true);
    }
    oIni().SaveIniSetting(settings::kLanguageSection, settings::kLanguageKey,
                          std::to_string(Index));
}
