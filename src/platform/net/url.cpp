#include "platform/net/url.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

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
        // Past the host, a blank and UTF-8 bytes are encoded; a host keeps its UTF-8 for the
        // transport to turn into an international domain name.
        if (byte == 0x20 || (byte > 0x7f && at >= hostEnd)) {
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
    // Whatever the transport's own parser would refuse (a bad port, a host with characters no name
    // may hold) is unfit too, so the refusal comes before any request exists.
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, wire.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    return wire;
}

}  // namespace platform::net
