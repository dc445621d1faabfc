#include "platform/runtime/convert.h"

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

}  // namespace platform
