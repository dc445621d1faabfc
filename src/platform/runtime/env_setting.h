#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The program is configured through environment variables, each read and checked here.
namespace platform {

// The variable's text; nothing when it is unset or empty.
std::optional<std::string> envText(const char* name);

// One line on stderr for a value that cannot be used:
//   tarnix: TARNIX_SCREEN="0.4x0.4" must be <expected>; using <used>
void reportBadSetting(const char* name, std::string_view value, std::string_view expected,
                      std::string_view used);

// A setting read by read (text -> std::optional<T>): unset or empty gives fallback silently; a
// value that read refuses gives fallback after reportBadSetting.
template <typename T, typename Read>
T envSetting(const char* name, T fallback, std::string_view expected, std::string_view used,
             Read read) {
    const std::optional<std::string> text = envText(name);
    if (!text) {
        return fallback;
    }
    if (std::optional<T> value = read(std::string_view(*text))) {
        return *value;
    }
    reportBadSetting(name, *text, expected, used);
    return fallback;
}

// A reader for envSetting<bool>: the text yes is true, no false, anything else unreadable.
inline auto oneOf(std::string_view yes, std::string_view no) {
    return [yes, no](std::string_view text) -> std::optional<bool> {
        if (text == yes || text == no) {
            return text == yes;
        }
        return std::nullopt;
    };
}

// The whole text as a decimal whole number in [min, max]; nothing otherwise.
std::optional<int64_t> wholeNumberIn(std::string_view text, int64_t min, int64_t max);
// The whole text as a finite decimal number in [min, max]; nothing otherwise.
std::optional<double> numberIn(std::string_view text, double min, double max);

}  // namespace platform
