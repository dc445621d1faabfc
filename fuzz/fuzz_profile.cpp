// The profile (INI) text on any bytes: a value set under a section and key that can be stored is
// what a reader then finds there, and a second value set under the same key replaces it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/files/profile_text.h"
#include "platform/runtime/ansi.h"

namespace {

// Names without the blanks around them, as the profile functions take them.
std::string_view trimmed(std::string_view name) {
    const size_t first = name.find_first_not_of(" \t");
    const size_t last = name.find_last_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : name.substr(first, last - first + 1);
}

std::optional<std::string> readBack(const std::string& bytes, const std::string& section,
                                    const std::string& key) {
    std::optional<std::string> found;
    platform::ProfileText::forEachEntry(
        bytes, trimmed(section), [&](std::string_view name, std::string_view value) {
            if (!found && platform::ansiEqualIgnoringCase(name, trimmed(key))) {
                found = std::string(value);
            }
        });
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string first = input.ConsumeRandomLengthString(64);
    const std::string second = input.ConsumeRandomLengthString(64);
    const std::string file = input.ConsumeRemainingBytesAsString();
    using platform::ProfileText;
    if (!ProfileText::canStoreSection(section) || !ProfileText::canStoreKey(key) ||
        key.find_first_not_of(" \t") == std::string::npos ||
        section.find_first_not_of(" \t") == std::string::npos) {
        return 0;
    }
    ProfileText text(file);
    for (const std::string* value : {&first, &second}) {
        if (!ProfileText::canStoreValue(*value)) {
            return 0;
        }
        text.set(section, key, *value);
        if (const auto found = readBack(text.bytes(), section, key); found != *value) {
            std::fprintf(stderr, "section [%s] key [%s] value [%s] read [%s]\nfile:\n%s\n",
                         section.c_str(), key.c_str(), value->c_str(),
                         found ? found->c_str() : "(none)", text.bytes().c_str());
            std::abort();
        }
    }
    return 0;
}
