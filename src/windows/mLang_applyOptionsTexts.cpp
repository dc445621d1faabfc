#include "lang/mLang_textTable.h"
#include "windows/frmPropPage.h"
#include "windows/mLang_applyTexts.h"

namespace mLang {

void ApplyOptionsTexts() {
    auto& options = win::Default<frmPropPage>();
    options.Label1.setCaption(sTxtOptTitle);
    options.lblPropOptions[0].setCaption(sTxtOptTabGeneral);
    options.lblGDLogin[0].setCaption(sTxtOptSignIn);
    options.chkGDRASUP.setCaption(sTxtOptRunAtStartup);
    options.chkGDAWOT.setCaption(sTxtOptAlwaysOnTop);
    options.lblPropOptions[1].setCaption(sTxtOptTabSounds);
    options.lblSALabel[0].setCaption(sTxtOptAlertsHeading);
    options.chkAlertsOptions[0].setCaption(sTxtOptAlertContactOnline);
    options.chkAlertsOptions[1].setCaption(sTxtOptAlertChatRequest);
    options.chkAlertsOptions[2].setCaption(sTxtOptAlertNewMail);
    options.chkAlertsOptions[0].setToolTipText(sTxtOptAlertsTip);
    options.chkAlertsOptions[1].setToolTipText(sTxtOptAlertsTip);
    options.chkAlertsOptions[2].setToolTipText(sTxtOptAlertsTip);
    options.lblSALabel[1].setCaption(sTxtOptSoundsHeading);
    options.lbxSounds.setList(0, sTxtSoundLogin);
    options.lbxSounds.setList(1, sTxtSoundContactOnline);
    options.lbxSounds.setList(2, sTxtSoundChatRequest);
    options.lbxSounds.setList(3, sTxtSoundNewMail);
    options.lbxSounds.setList(4, sTxtSoundGenAlert);
    options.lbxSounds.setToolTipText(sTxtSoundListTip);
    options.txtSounds.setToolTipText(sTxtSoundFileTip);
    options.cmdSounds.setToolTipText(sTxtSoundBrowseTip);
    options.imgPlaySound.setToolTipText(sTxtSoundPlayTip);
    options.lblPropOptions[2].setCaption(sTxtOptTabCompany);
    options.lblCDLabel[0].setCaption(sTxtCompanyNameLabel);
    options.txtCDName.setToolTipText(sTxtCompanyNameTip);
    options.lblCDLabel[1].setCaption(sTxtCompanyAddressLabel);
    options.txtCDAddress.setToolTipText(sTxtCompanyAddressTip);
}

}  // namespace mLang
