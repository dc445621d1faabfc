// Text to number: what CLng takes as a number, Val reads as the same number (rounded half to
// even); CLng and CInt raise only overflow or a type mismatch; Val never gives NaN and raises only
// overflow (a number beyond the double range, "1D999").
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"

namespace {
constexpr int kTypeMismatch = 13;
constexpr int kOverflow = 6;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    try {
        value = platform::Val(text);
    } catch (const platform::RuntimeError& error) {
        if (error.number() != kOverflow) {
            std::abort();
        }
        return 0;
    }
    if (std::isnan(value)) {
        std::abort();
    }
    try {
        const int32_t whole = platform::CLng(text);
        if (platform::roundHalfEven(value) != whole) {
            std::abort();
        }
    } catch (const platform::RuntimeError& error) {
        if (error.number() != kTypeMismatch && error.number() != kOverflow) {
            std::abort();
        }
    }
    try {
        if (platform::roundHalfEven(value) != platform::CInt(value)) {
            std::abort();
        }
    } catch (const platform::RuntimeError& error) {
        if (error.number() != kOverflow || std::abs(value) < 32767) {
            std::abort();
        }
    }
    return 0;
}
