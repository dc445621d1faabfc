// Windows-1252 and UTF-8: every byte string survives the way to UTF-8 and back, the way there
// gives valid UTF-8, and the way back from any bytes is never longer than they are.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/runtime/ansi.h"

namespace {

// A strict UTF-8 check, written apart from the converter's own.
bool validUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80         ? 1
                        : (lead >> 5) == 6  ? 2
                        : (lead >> 4) == 14 ? 3
                        : (lead >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            value = (value << 6) | (next & 0x3F);
        }
        const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = platform::fromAnsi(bytes);
    if (!validUtf8(utf8) || platform::toAnsi(utf8) != bytes) {
        std::abort();
    }
    // Any bytes taken as UTF-8: one code-page byte at most per byte, and stable once converted.
    const std::string ansi = platform::toAnsi(bytes);
    if (ansi.size() > size || platform::toAnsi(platform::fromAnsi(ansi)) != ansi) {
        std::abort();
    }
    return 0;
}
