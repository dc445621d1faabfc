#include <string>

#include "main/frmTarnix.h"
#include "main/mLang_setLanguage.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/runtime/convert.h"

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
