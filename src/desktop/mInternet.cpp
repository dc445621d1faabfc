#include "desktop/mInternet.h"

#include <memory>

#include "platform/net/object.h"
#include "platform/net/wininet.h"
#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/ui/loop.h"

namespace mInternet {

namespace {

// Runs one statement; a run-time error skips it and the next one runs.
template <typename Statement>
void resumeNext(Statement&& statement) {
    try {
        statement();
    } catch (const platform::RuntimeError&) {
    }
}

// Transfer failures are reported in place of an HTTP status, as codes above this.
constexpr int32_t kLastHttpStatus = 12000;

}  // namespace

bool CheckConnection(const std::string& sURL, bool bTestURL, int16_t& iFlags) {
    bool result = false;
    win::Variant lStatus;
    std::shared_ptr<win::Object> oHttp;
    int32_t lFlags = 0;

    resumeNext([&] { oHttp = win::CreateObject("Microsoft.XMLHTTP"); });
    if (win::InternetGetConnectedState(lFlags, 0) == 0) {
        return false;
    }
    result = true;
    resumeNext([] { win::DoEvents(); });

    if (bTestURL) {
        resumeNext([&] { win::CallByName(oHttp, "Open", {"GET", sURL, false}); });
        resumeNext([&] {
            win::CallByName(oHttp, "setRequestHeader", {"Content-Type", "text/html"});
        });
        resumeNext([&] { win::CallByName(oHttp, "send"); });
        resumeNext([&] { lStatus = win::CallByName(oHttp, "Status"); });
        oHttp.reset();
        // An empty status (no answer was read) is not above the limit.
        const auto* status = std::get_if<int32_t>(&lStatus);
        if (status && *status > kLastHttpStatus) {
            result = false;
        }
    }

    resumeNext([&] { iFlags = platform::CInt(lFlags); });
    return result;
}

}  // namespace mInternet
