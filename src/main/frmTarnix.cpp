#include "main/frmTarnix.h"

#include <cmath>
#include <string>

#include "desktop/mInternet.h"
#include "lang/mLang_textTable.h"
#include "main/program_values.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/files/paths.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/shell/instance.h"
#include "platform/ui/msgbox.h"

namespace {

constexpr int kAlreadyRunningStyle = win::vbCritical | win::vbSystemModal;  // 4112
constexpr float kBarStep = 2;
constexpr float kBarWrapAt = 45;
constexpr float kBarRestart = 4;
constexpr float kBarFull = 50;
constexpr float kNoNetRetries = 5;

// The saved language index: the text's leading number rounded half to even. A number that does not
// fit a 16-bit index, even one too large for Val to read ("1e999", "&H1FFFFFFFF"), reads as 0,
// which start-up turns into English like any other bad index.
int16_t languageIndexFrom(const std::string& text) {
    double number = 0;
    try {
        number = platform::Val(text);
    } catch (const platform::RuntimeError&) {
        return 0;
    }
    const double rounded = platform::roundHalfEven(number);
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) {
        return 0;
    }
    return static_cast<int16_t>(rounded);
}

std::string siteAddress() {
    return oRegistry().GetSettingString(settings::currentUser(), sRegAddress + settings::kDAPLinks,
                                        "X6Domain", "");
}

}  // namespace

frmTarnix::frmTarnix()
    : Form("frmTarnix",
           {.Width = kDesignWidth, .Height = kDesignHeight, .BorderStyle = win::vbFixedDialog}) {
    tmrStart.onTimer = [this] { tmrStart_Timer(); };
    tmrAnimation.onTimer = [this] { tmrAnimation_Timer(); };
    tmrNoNet.onTimer = [this] { tmrNoNet_Timer(); };
    tmrRequestCheck.onTimer = [this] { tmrRequestCheck_Timer(); };
    wbTarnix.onDocumentComplete = [this](std::optional<int32_t> /*pDisp*/, const std::string& URL) {
        wbTarnix_DocumentComplete(URL);
    };
    wbTarnix.onNewWindow2 = [this](bool& Cancel) { wbTarnix_NewWindow2(Cancel); };
    wbTarnix.onWindowClosing = [this](bool IsChildWindow, bool& Cancel) {
        wbTarnix_WindowClosing(IsChildWindow, Cancel);
    };
    chkAction.onClick = [this](int16_t Index) { chkAction_Click(Index); };
    mnuL_Lang.onClick = [this](int16_t Index) { mnuL_Lang_Click(Index); };
    mnuSTMin.onClick = [this] { mnuSTMin_Click(); };
    mnuSTShow.onClick = [this] { mnuSTShow_Click(); };
    mnuSTProp.onClick = [this] { mnuSTProp_Click(); };
    mnuSTAbout.onClick = [this] { mnuSTAbout_Click(); };
    mnuSTExit.onClick = [this] { mnuSTExit_Click(); };
}

void frmTarnix::Form_Load() {
    if (platform::PrevInstance()) {
        win::MsgBox("Program already Running.", kAlreadyRunningStyle, "Instant Messenger");
        win::Unload(*this);
        return;
    }
    cIni& ini = oIni();
    ini.IniPath(platform::programFolder() + settings::kDesktopSettingsFile);
    std::string key = settings::kLanguageKey;
    iLang = languageIndexFrom(ini.GetIniSetting(settings::kLanguageSection, key));
    key = settings::kRegAddressKey;
    sRegAddress = ini.GetIniSetting(settings::kStartSection, key);
    lblTitle.setCaption(platform::Replace(siteAddress(), "http://", ""));
    const std::string toolTip = oRegistry().GetSettingString(
        settings::currentUser(), sRegAddress + settings::kCompanyDetails, "SystemTrayTT", "");
    oSysTray().Add(this, platform::programFolder() + "\\idata.x6c", toolTip, 0);
    // There are six languages; any other saved index starts in English and is saved as such.
    if (iLang < 1 || iLang > 6) {
        iLang = 1;
    }
    mnuL_Lang_Click(iLang);
    lblAction[0].setCaption(mLang::sTxtCheckInternet);
}

void frmTarnix::tmrStart_Timer() {
    tmrStart.setEnabled(false);
    RunStartupChecks();
}

void frmTarnix::RunStartupChecks() {
    const std::string domain = siteAddress();
    oSysTray().Balloon(this, mLang::sTxtCheckInternet, lblTitle.Caption(), 0);
    int16_t iFlags = 0;
    if (!mInternet::CheckConnection(domain, true, iFlags)) {
        tmrNoNet.setEnabled(true);
        return;
    }
    tmrNoNet.setEnabled(false);
    pbAction[0].setValue(kBarFull);
    iCheckInternet = 1;
    chkAction_Click(0);
    tmrAnimation.setEnabled(false);
    lblInformation.setCaption(mLang::sTxtChecksDone);
    oSysTray().Balloon(this, mLang::sTxtChecksDone, lblTitle.Caption(), 0);
    OpenSignInPage();
}

void frmTarnix::tmrAnimation_Timer() {
    auto& bar = pbAction[0];
    float value = bar.Value() + kBarStep;
    if (value >= kBarWrapAt) {
        value = kBarRestart;
    }
    bar.setValue(value);
}

void frmTarnix::tmrNoNet_Timer() {
    if (sngNoNetTries >= kNoNetRetries) {
        win::Unload(*this);
        return;
    }
    sngNoNetTries += 1;
    RunStartupChecks();
}

void frmTarnix::chkAction_Click(int16_t /*Index*/) {
    chkAction[0].setValue(iCheckInternet);
}
