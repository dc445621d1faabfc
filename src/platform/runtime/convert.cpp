#include "platform/runtime/convert.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/runtime/errors.h"

namespace platform {

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return std::nearbyint(value);
}

namespace {
template <typename Int>
Int toWhole(double value) {
    if (std::isnan(value)) {
        raise(kOverflow);
    }
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        raise(kOverflow);
    }
    return static_cast<Int>(rounded);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

double readRadix(std::string_view text, size_t pos, int radix) {
    // &H / &O literals are 32-bit patterns (&HFFFFFFFF is -1), as the platform reads them.
    uint64_t value = 0;
    bool any = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isBlank(c)) {
            continue;
        }
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (radix == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (radix == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0 || digit >= radix) {
            break;
        }
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) {
            raise(kOverflow);
        }
        any = true;
    }
    if (!any) {
        return 0;
    }
    if (value <= 0xFFFFull && value > 0x7FFFull) {
        return static_cast<double>(static_cast<int16_t>(value));
    }
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}
}  // namespace

int16_t CInt(double value) {
    return toWhole<int16_t>(value);
}
int32_t CLng(double value) {
    return toWhole<int32_t>(value);
}

double Val(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    if (pos + 1 < text.size() && text[pos] == '&') {
        const char kind = text[pos + 1];
        if (kind == 'h' || kind == 'H') {
            return readRadix(text, pos + 2, 16);
        }
        if (kind == 'o' || kind == 'O') {
            return readRadix(text, pos + 2, 8);
        }
    }

    // Collect the characters of a decimal number, dropping blanks, then convert once.
    std::string number;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isBlank(c)) {
            continue;
        }
        if (c >= '0' && c <= '9') {
            number += c;
            digits = true;
        } else if ((c == '+' || c == '-') && (number.empty() || number.back() == 'e')) {
            number += c;
        } else if (c == '.' && !point && !exponent) {
            number += c;
            point = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
            number += 'e';
            exponent = true;
        } else {
            break;
        }
    }
    // Drop a dangling exponent or sign ("3e", "3e-") so the rest still reads.
    while (!number.empty() &&
           (number.back() == 'e' || number.back() == '+' || number.back() == '-')) {
        number.pop_back();
    }
    if (!digits || number.empty()) {
        return 0;
    }
    const double result = std::strtod(number.c_str(), nullptr);
    if (std::isinf(result)) {
        raise(kOverflow);
    }
    return result;
}

int32_t CLng(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
        rest.remove_prefix(1);
    }
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) {
        rest.remove_suffix(1);
    }
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // Only a plain decimal number: no second sign, no "inf" or "nan".
    if (rest.empty() ||
        !(std::isdigit(static_cast<unsigned char>(rest.front())) != 0 || rest.front() == '.')) {
        raise(kTypeMismatch);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc::result_out_of_range) {
        raise(kOverflow);
    }
    if (error != std::errc() || end != rest.data() + rest.size()) {
        raise(kTypeMismatch);
    }
    return CLng(negative ? -value : value);
}

std::string CStr(float value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

}  // namespace platform
