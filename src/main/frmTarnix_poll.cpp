#include <string>

#include "desktop/cAV.h"
#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "main/settings_layout.h"
#include "main/shared_objects.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/short_date.h"
#include "platform/runtime/text.h"

namespace {

// The repeat limit of the NewMail and GenAlert counters.
constexpr int16_t kRepeatLimit = 150;

// Today's date in the user's short-date format, every "/" removed.
std::string dateText() {
    const auto today = platform::localDate(platform::clock().wallNow());
    return platform::Replace(platform::formatDate(platform::userShortDatePattern(), today), "/",
                             "");
}

}  // namespace

void frmTarnix::tmrRequestCheck_Timer() {
    // 1. Any run-time error ends the tick where it happens; nothing is shown or logged.
    try {
        clsRegistry& registry = oRegistry();
        const std::string alerts = sRegAddress + settings::kAlerts;
        const auto switchOn = [&](const char* kind) {
            return registry.GetSettingLong(settings::currentUser(), alerts, kind, 0) == 1;
        };
        const auto raiseAlert = [&](const std::string& kind) {
            oAV().OpenMCIAudioFile(registry.GetSettingString(
                settings::currentUser(), sRegAddress + settings::kSounds, kind, ""));
            ShowRequest(kind);
        };
        // A counted block (NewMail, GenAlert); false when it ends the tick.
        const auto countedBlock = [&](const char* kind, const char* marker, int16_t& repeat) {
            if (!switchOn(kind)) {
                return true;
            }
            if (platform::InStr(txtRequest.Text(), marker) == 0) {
                repeat = 0;
                return true;
            }
            if (repeat == 0) {
                raiseAlert(kind);
                repeat = 1;
            } else if (repeat > kRepeatLimit) {
                repeat = 0;
                return false;
            } else {
                ++repeat;
            }
            return true;
        };

        // 2.
        const std::string D = dateText();
        if (!oMD5) {
            oMD5 = std::make_unique<cMD5>();
        }
        const std::string V = oMD5->CalculateMD5(D + "_" + sMemberName);
        // 3. Nothing is escaped: the member name goes in as it is.
        inetRequest.setURL(sUpdateURL + "?membername=" + sMemberName + "&vb=" + V);
        txtRequest.setText(inetRequest.OpenURL());
        // 4.
        if (switchOn("ChatRequest") && platform::InStr(txtRequest.Text(), "vb_chatrequest") != 0) {
            raiseAlert("ChatRequest");
        }
        // 5.
        if (!countedBlock("NewMail", "vb_newmail", iNewMailRepeat)) {
            return;
        }
        // 6.
        if (switchOn("ContactOnline")) {
            const std::string answer = txtRequest.Text();
            const size_t p = platform::InStr(answer, "vb_contactonline");
            if (p != 0) {
                const size_t e = platform::InStr(p, answer, "=");
                const size_t s = e == 0 ? 0 : platform::InStr(e, answer, ";");
                if (e == 0 || s == 0) {
                    platform::raise(platform::kInvalidCall);
                }
                const std::string name = platform::Mid(answer, e + 1, s - e - 1);
                if (name == sLastContactOnline) {
                    return;
                }
                sLastContactOnline = name;
                raiseAlert("ContactOnline");
            } else {
                sLastContactOnline.clear();
            }
        }
        // 7.
        if (!countedBlock("GenAlert", "vb_genalert", iGenAlertRepeat)) {
            return;
        }
        // 8.
        inetRequest.Cancel();
    } catch (const platform::RuntimeError&) {
        // The next tick starts afresh; whatever this one changed stays changed.
    }
}
