#include "platform/net/url.h"

#include <algorithm>

#include "platform/runtime/text.h"

namespace platform::net {

bool isHttpUrl(std::string_view url) {
    const std::string lower = LCase(url.substr(0, 8));
    size_t hostStart = 0;
    if (lower.starts_with("http://")) {
        hostStart = 7;
    } else if (lower.starts_with("https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    const size_t hostEnd = url.find_first_of("/?#", hostStart);
    return (hostEnd == std::string_view::npos ? url.size() : hostEnd) > hostStart;
}

std::optional<std::string> wireUrl(std::string_view url) {
    if (url.size() > kMaxUrlLength || !isHttpUrl(url)) {
        return std::nullopt;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    // isHttpUrl has seen the "//" that opens the host.
    const size_t hostEnd = std::min(url.find_first_of("/?#", url.find("//") + 2), url.size());
    std::string wire;
    for (size_t at = 0; at < url.size(); ++at) {
        const char c = url[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (byte == 0x20 && at < hostEnd)) {
            return std::nullopt;
        }
        if (byte == 0x20 || byte > 0x7f) {
            wire += '%';
            wire += kHex[byte >> 4];
            wire += kHex[byte & 0x0f];
        } else {
            wire += c;
        }
    }
    if (wire.size() > kMaxUrlLength) {
        return std::nullopt;
    }
    return wire;
}

}  // namespace platform::net
