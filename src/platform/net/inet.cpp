#include "platform/net/inet.h"

#include "platform/net/http.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/errors.h"

namespace win {

std::string Inet::URL() {
    live();
    return url_;
}

void Inet::setURL(const std::string& value) {
    live();
    url_ = value;
}

std::string Inet::OpenURL() {
    live();
    const platform::net::HttpResult result = platform::net::httpGet(url_);
    if (result.error != platform::net::kTransferOk) {
        platform::raise(kInetRequestFailed, "Unable to complete the request (Internet error " +
                                                std::to_string(result.error) + ")");
    }
    return platform::fromAnsi(result.body);
}

void Inet::formUnloaded() {
    url_.clear();
}

}  // namespace win
