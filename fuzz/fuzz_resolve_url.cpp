// Resolving an href: what comes out holds no blank, control or byte above 127, and, for a reference
// without escapes or characters that need them whose result names a host a name server could know,
// resolving it again against the same page changes nothing. (The URI parser decodes escapes in a
// host, so a host spelled with escapes may read differently the second time.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr std::string_view kBase = "http://site.example/dir/page.php?x=1#top";
    const std::string_view reference(reinterpret_cast<const char*>(data), size);
    const std::string resolved = platform::web::resolveUrl(reference, kBase);
    for (const char c : resolved) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            std::abort();
        }
    }
    const size_t host = resolved.find("://");
    const size_t hostEnd =
        host == std::string::npos ? std::string::npos : resolved.find_first_of("/?#", host + 3);
    const std::string name =
        host == std::string::npos ? std::string() : resolved.substr(host + 3, hostEnd - host - 3);
    const bool plainHost =
        !name.empty() && name.find_first_not_of(
                             "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                             "0123456789.-:") == std::string::npos;
    const bool plainReference = reference.find_first_of("%\"<>\\^`{|}") == std::string_view::npos;
    if (plainHost && plainReference && platform::web::resolveUrl(resolved, kBase) != resolved) {
        std::abort();
    }
    return 0;
}
