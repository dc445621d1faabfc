#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "desktop/mTwips.h"
#include "lang/mLang_textTable.h"
#include "main/frmRequests.h"
#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/screen.h"

namespace {

// The pop-up's full height: the divisor for the rows, the row pitch and its record's height.
constexpr int32_t kPopupHeight = 3630;
constexpr int32_t kPopupWidth = 4545;

// An alert kind, the text slot of its caption, its page and the page's query key.
struct RequestKind {
    const char* kind;
    const std::string& caption;
    const char* page;
    const char* key;
};

const std::array<RequestKind, 4>& requestKinds() {
    static const std::array<RequestKind, 4> kinds{{
        {"ChatRequest", mLang::sTxtPopupChatRequest, "chatrequest.php", "?mid="},
        {"ContactOnline", mLang::sTxtPopupContactOnline, "contactonline.php", "?mid="},
        {"NewMail", mLang::sTxtPopupNewMail, "newmail.php", "?member="},
        {"GenAlert", mLang::sTxtPopupNewMail, "newmail.php", "?member="},
    }};
    return kinds;
}

}  // namespace

// The lowest free slot of 1 to 15; 0 when all are in use.
int16_t frmTarnix::GetFreeRequestSlot() {
    for (int16_t i = 1; i <= 15; ++i) {
        if (abSlotUsed[i] == 0) {
            return i;
        }
    }
    return 0;
}

// Places a new pop-up in a grid filling from the bottom right corner upwards, then leftwards,
// above the taskbar; the pop-up then runs by itself.
void frmTarnix::ShowRequest(const std::string& sTheRequest) {
    // 1.
    const int16_t rows =
        platform::CInt(std::trunc(static_cast<double>(win::Screen.Height()) / kPopupHeight));
    // 2.
    const int16_t slot = GetFreeRequestSlot();
    // 3. Each test that holds overrides the one before; Left is 16-bit (error 6 beyond).
    int16_t column = 0;
    int16_t left = 0;
    if (slot <= rows) {
        column = 0;
        left = platform::CInt(static_cast<double>(win::Screen.Width()) - kPopupWidth -
                              mTwips::PixelsToTwipsX(10));
    }
    if (slot > rows) {
        column = 1;
        left = platform::CInt(static_cast<double>(win::Screen.Width()) -
                              (kPopupWidth + mTwips::PixelsToTwipsX(10)) * 2);
    }
    if (slot > 2 * rows) {
        column = 2;
        left = platform::CInt(static_cast<double>(win::Screen.Width()) -
                              (kPopupWidth + mTwips::PixelsToTwipsX(10)) * 3);
    }
    // 4.
    const int16_t row = platform::CInt(slot - rows * column);
    // 5.
    int16_t offset = 0;
    const double halfTaskbar = static_cast<double>(iTaskbarHeight) / 2;
    switch (row) {
        case 1:
            offset = platform::CInt(halfTaskbar);
            break;
        case 2:
            offset = platform::CInt(halfTaskbar + 3630);
            break;
        case 3:
            offset = platform::CInt(halfTaskbar + 7260);
            break;
        case 4:
            offset = platform::CInt(halfTaskbar + 10890);
            break;
        default:
            win::MsgBox("Requests excided 15 PopUps!");
            break;
    }
    // 6.
    std::shared_ptr<frmRequests> popup = win::New<frmRequests>();
    aPopups[slot] = popup;
    // 7.
    abSlotUsed[slot] = platform::kTrue;
    // 8. The first touch: the pop-up loads here and starts the prepared sound.
    popup->lblFormRefNo.setCaption(std::to_string(slot));
    // 9.
    popup->lblFormHeight.setCaption(std::to_string(kPopupHeight));
    // 10.
    popup->setTop(static_cast<float>(static_cast<double>(win::Screen.Height()) - offset));
    // 11.
    popup->setLeft(left);
    // 12.
    popup->setHeight(0);
    // 13.
    popup->lblBase.setCaption(platform::CStr(popup->Top()));
    // 14.
    bool known = false;
    for (const RequestKind& kind : requestKinds()) {
        if (sTheRequest == kind.kind) {
            popup->setCaption("  " + kind.caption);
            popup->wbPopUp.Navigate(sNewRequestURL + kind.page + kind.key + sMemberName);
            known = true;
            break;
        }
    }
    if (!known) {
        win::MsgBox("Sorry unknown string has been passed to ShowRequest - " + sTheRequest);
    }
    // 15. Still 0 high at its base line: it grows once its page has loaded.
    popup->Show();
    // 16. aPopups keeps the window; a loaded window also lives on by itself.
}

// Frees the slot named by a pop-up's record; "Label1" names none. The reference stays in aPopups.
void frmTarnix::CloseRequestSLot(const std::string& lRequestPage) {
    // 1.
    if (lRequestPage == "Label1") {
        return;
    }
    // 2. Text that is no number: error 13; a number outside the table: error 9.
    const int32_t n = platform::CLng(lRequestPage);
    if (n < 0 || n >= static_cast<int32_t>(abSlotUsed.size())) {
        platform::raise(platform::kSubscriptOutOfRange);
    }
    abSlotUsed[static_cast<size_t>(n)] = platform::kFalse;
}
