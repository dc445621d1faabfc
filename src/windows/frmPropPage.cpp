#include "windows/frmPropPage.h"

#include <array>
#include <string>

#include "desktop/cAV.h"
#include "desktop/mOnTop.h"
#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/files/paths.h"
#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "windows/art/window_art.h"
#include "windows/mLang_applyTexts.h"

namespace {

// The alert switches of chkAlertsOptions and the sounds of lbxSounds, by index.
constexpr std::array<const char*, 3> kAlertNames = {"ContactOnline", "ChatRequest", "NewMail"};
constexpr std::array<const char*, 5> kSoundNames = {"Login", "ContactOnline", "ChatRequest",
                                                    "NewMail", "GenAlert"};

// The line break as the company address stores it: U+00BF U+00A7 U+00E6 U+00A7 U+00BF.
constexpr const char* kAddressLineBreak = "\u00BF\u00A7\u00E6\u00A7\u00BF";

win::StdPicture stored(std::span<const std::uint8_t> bytes) {
    return win::LoadPictureFromBytes(bytes);
}

}  // namespace

frmPropPage::frmPropPage()
    : Form("frmPropPage", {.Caption = "Instant Messenger Options",
                           .Width = 6990,
                           .Height = 5700,
                           .BorderStyle = win::vbFixedDialog,
                           .ShowInTaskbar = false}) {
    setDesignPicture(stored(windowart::OptionsBackground()));
    const win::StdPicture selected = stored(windowart::OptionsTabSelected());
    const win::StdPicture unselected = stored(windowart::OptionsTabUnselected());
    imgControlBox.setDesignPicture(stored(windowart::OptionsClose()));
    imgPlaySound.setDesignPicture(stored(windowart::OptionsPlay()));
    imgBTNUP.setDesignPicture(selected);
    imgBTNDOWN.setDesignPicture(unselected);
    imgPropBTN[0].setDesignPicture(selected);
    imgPropBTN[1].setDesignPicture(unselected);
    imgPropBTN[2].setDesignPicture(unselected);

    imgControlBox.onClick = [this] { imgControlBox_Click(); };
    imgPropBTN.onClick = [this](int16_t Index) { imgPropBTN_Click(Index); };
    lblPropOptions.onClick = [this](int16_t Index) { lblPropOptions_Click(Index); };
    chkGDAWOT.onClick = [this] { chkGDAWOT_Click(); };
    chkGDRASUP.onClick = [this] { chkGDRASUP_Click(); };
    chkAlertsOptions.onClick = [this](int16_t Index) { chkAlertsOptions_Click(Index); };
    lbxSounds.onClick = [this] { lbxSounds_Click(); };
    cmdSounds.onClick = [this] { cmdSounds_Click(); };
    imgPlaySound.onClick = [this] { imgPlaySound_Click(); };
}

void frmPropPage::Form_Load() {
    clsRegistry& registry = oRegistry();
    // 1.
    bOptionsLoaded = platform::kTrue;
    // 2.
    mLang::ApplyOptionsTexts();
    // 3.
    for (int16_t page = 0; page <= 2; ++page) {
        picPropOptions[page].setBackColor(kPageColour);
    }
    chkGDAWOT.setBackColor(kPageColour);
    chkGDRASUP.setBackColor(kPageColour);
    // 4.
    skin_.MakeTransparent(*this, kKeyColour);
    // 5.
    for (int16_t index = 0; index <= 2; ++index) {
        chkAlertsOptions[index].setBackColor(kPageColour);
    }
    // 6. and 7.
    const std::string company = sRegAddress + settings::kCompanyDetails;
    txtCDName.setText(registry.GetSettingString(settings::currentUser(), company, "Name", ""));
    txtCDAddress.setText(platform::Replace(
        registry.GetSettingString(settings::currentUser(), company, "Address", ""),
        kAddressLineBreak, "\r\n"));
    // 8. A logo that cannot be shown leaves the window without one; the load goes on, so the
    // window is never left half set up (the sign-in step loads the logo again and falls back).
    const std::string logo = platform::programFolder() + "\\ldata.x6c";
    try {
        imgCompanyLogo.setPicture(win::LoadPicture(logo));
    } catch (const platform::RuntimeError& error) {
        platform::trace("options", "logo-failed file=" + platform::quoted(logo) +
                                       " number=" + std::to_string(error.number()) +
                                       " description=" + platform::quoted(error.description()));
    }
    // 9. to 11. Each non-zero value raises its box's click handler here, which stores it again.
    chkGDAWOT.setValue(checkBoxValueOf(
        registry.GetSettingLong(settings::currentUser(), sRegAddress, "X6OnTop", 0)));
    chkGDRASUP.setValue(checkBoxValueOf(
        registry.GetSettingLong(settings::currentUser(), sRegAddress, "OnWindowsLoad", 0)));
    const std::string alerts = sRegAddress + settings::kAlerts;
    for (int16_t index = 0; index <= 2; ++index) {
        chkAlertsOptions[index].setValue(checkBoxValueOf(
            registry.GetSettingLong(settings::currentUser(), alerts, kAlertNames[index], 0)));
    }
}

// A check box holds 0, 1 or 2. Any other stored number (one beyond 16 bits too) shows unticked,
// raises nothing and is left in the store as it is; the trace says so.
int16_t frmPropPage::checkBoxValueOf(int32_t stored) {
    if (stored >= win::vbUnchecked && stored <= win::vbGrayed) {
        return static_cast<int16_t>(stored);
    }
    platform::trace("options", "check-box-value-ignored stored=" + std::to_string(stored));
    return win::vbUnchecked;
}

void frmPropPage::Form_QueryUnload(int16_t& /*Cancel*/, int16_t /*UnloadMode*/) {
    bOptionsLoaded = platform::kFalse;
}

void frmPropPage::imgPropBTN_Click(int16_t Index) {
    for (int16_t i = 0; i <= 2; ++i) {
        const bool shown = i == Index;
        picPropOptions[i].setVisible(shown);
        imgPropBTN[i].setPicture(shown ? imgBTNUP.Picture() : imgBTNDOWN.Picture());
    }
}

void frmPropPage::lblPropOptions_Click(int16_t Index) {
    imgPropBTN_Click(Index);
}

void frmPropPage::chkGDAWOT_Click() {
    mOnTop::SetWindowOnTop(win::Default<frmTarnix>().hWnd(),
                           platform::toBool16(chkGDAWOT.Value() != 0));
    oRegistry().SaveSettingLong(settings::currentUser(), sRegAddress, "X6OnTop", chkGDAWOT.Value());
}

void frmPropPage::chkGDRASUP_Click() {
    clsRegistry& registry = oRegistry();
    if (chkGDRASUP.Value() == win::vbChecked) {
        registry.SaveSettingString(settings::currentUser(), settings::kRunKey,
                                   settings::autostartName(), settings::autostartData());
    } else {
        registry.DeleteValue(settings::currentUser(), settings::kRunKey, settings::autostartName());
    }
    registry.SaveSettingLong(settings::currentUser(), sRegAddress, "OnWindowsLoad",
                             chkGDRASUP.Value());
}

void frmPropPage::chkAlertsOptions_Click(int16_t Index) {
    if (Index < 0 || Index > 2) {
        return;
    }
    oRegistry().SaveSettingLong(settings::currentUser(), sRegAddress + settings::kAlerts,
                                kAlertNames[Index], chkAlertsOptions[Index].Value());
}

void frmPropPage::lbxSounds_Click() {
    const int16_t index = lbxSounds.ListIndex();
    if (index < 0 || index > 4) {
        return;
    }
    txtSounds.setText(oRegistry().GetSettingString(
        settings::currentUser(), sRegAddress + settings::kSounds, kSoundNames[index], ""));
}

void frmPropPage::cmdSounds_Click() {
    cdgProperties.setFilter("Sound Files|*.wav");
    cdgProperties.setInitDir(platform::programFolder());
    cdgProperties.ShowOpen();
    const std::string chosen = cdgProperties.FileName();
    if (chosen.empty()) {
        return;  // cancelled
    }
    const int16_t index = lbxSounds.ListIndex();
    if (index >= 0 && index <= 4) {
        oRegistry().SaveSettingString(settings::currentUser(), sRegAddress + settings::kSounds,
                                      kSoundNames[index], chosen);
    }
    txtSounds.setText(chosen);
}

void frmPropPage::imgPlaySound_Click() {
    const std::string file = txtSounds.Text();
    if (file.empty()) {
        return;
    }
    oAV().OpenMCIAudioFile(file);
    oAV().PlayMCIAudioFile(true);
}

void frmPropPage::imgControlBox_Click() {
    Unload();
}
