// The registry's hive file on any bytes: a text it reads writes back to a text that reads as the
// same keys and values, and writing that again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/hive_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
    auto read = platform::registry::parseHive(kRoot, text);
    if (!read) {
        return 0;
    }
    const std::string written = platform::registry::formatHive(kRoot, read.value());
    auto again = platform::registry::parseHive(kRoot, written);
    if (!again || !(again.value() == read.value())) {
        std::abort();
    }
    if (platform::registry::formatHive(kRoot, again.value()) != written) {
        std::abort();
    }
    return 0;
}
