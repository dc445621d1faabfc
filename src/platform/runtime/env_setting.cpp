#include "platform/runtime/env_setting.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/runtime/text.h"

namespace platform {

namespace {
// Enough of a bad value to recognise it; a longer one is cut.
constexpr size_t kShownValueLength = 64;
}  // namespace

std::optional<std::string> envText(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

void reportBadSetting(const char* name, std::string_view value, std::string_view expected,
                      std::string_view used) {
    std::string shown = quoted(value.substr(0, kShownValueLength));
    if (value.size() > kShownValueLength) {
        shown += "...";
    }
    std::fprintf(stderr, "tarnix: %s=%s must be %.*s; using %.*s\n", name, shown.c_str(),
                 static_cast<int>(expected.size()), expected.data(), static_cast<int>(used.size()),
                 used.data());
}

std::optional<int64_t> wholeNumberIn(std::string_view text, int64_t min, int64_t max) {
    int64_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> numberIn(std::string_view text, double min, double max) {
    double value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value) || value < min ||
        value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace platform
