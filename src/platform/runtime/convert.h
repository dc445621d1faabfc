#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Whole-number conversions: round to nearest, halves to the even neighbour; a result outside the
// target range (or NaN) raises run-time error 6.
int16_t CInt(double value);
int32_t CLng(double value);

// A text as a whole number, as the platform converts one: blanks and tabs around a plain decimal
// number, halves to even. Run-time error 13 for a text that is no number, 6 outside the range.
int32_t CLng(std::string_view text);

// A single-precision number as text: the shortest that reads back the same ("11295", "6900.094").
std::string CStr(float value);

// Round half to even without a range check (the result is still a double).
double roundHalfEven(double value);

// The leading numeric part of a text, as the platform's Val reads it: blanks, tabs and line feeds
// are skipped anywhere in the number, "&H"/"&O" prefixes read hexadecimal/octal, reading stops at
// the first character that cannot continue a number. "2.5" is 2.5, "3x" is 3, "" and "abc" are 0.
double Val(std::string_view text);

// A 16-bit truth value: -1 for true, 0 for false.
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
constexpr int16_t toBool16(bool value) {
    return value ? kTrue : kFalse;
}

}  // namespace platform
