// What may go on the wire: an accepted address is an http(s) address again, within the length,
// without a control character, DEL or a blank, and taking it a second time changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/net/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view url(reinterpret_cast<const char*>(data), size);
    const auto wire = platform::net::wireUrl(url);
    if (!wire) {
        return 0;
    }
    if (!platform::net::isHttpUrl(*wire) || wire->size() > platform::net::kMaxUrlLength) {
        std::abort();
    }
    for (const char c : *wire) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == ' ') {
            std::abort();
        }
    }
    if (platform::net::wireUrl(*wire) != wire) {
        std::abort();
    }
    return 0;
}
