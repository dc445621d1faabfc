#include "platform/runtime/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "platform/runtime/errors.h"
#include "support/run_time_error.h"

namespace {

using platform::CInt;
using platform::CLng;
using platform::Val;
using testsupport::errorNumberOf;

TEST(Conversions, BothWidthsRoundHalvesToEven) {
    using Case = std::pair<double, int32_t>;
    for (const auto& [in, out] :
         {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0}, Case{-1.5, -2}, Case{-2.5, -2},
          Case{2.4999, 2}, Case{2.5001, 3}, Case{32766.5, 32766}, Case{-32768.4, -32768}}) {
        EXPECT_EQ(CInt(in), out) << in;
        EXPECT_EQ(CLng(in), out) << in;
    }
}

TEST(Conversions, OutOfRangeRaisesOverflow) {
    struct Case {
        double in;
        bool int16Overflows;
        bool int32Overflows;
    };
    for (const Case& c : {Case{32767, false, false}, Case{32767.5, true, false},
                          Case{-32768.5, false, false},  // rounds to -32768 (even)
                          Case{-32769, true, false}, Case{2147483647.0, true, false},
                          Case{2147483647.5, true, true}, Case{-2147483648.0, true, false},
                          Case{-2147483649.0, true, true}, Case{NAN, true, true}}) {
        EXPECT_EQ(errorNumberOf([&] { CInt(c.in); }), c.int16Overflows ? 6 : 0) << c.in;
        EXPECT_EQ(errorNumberOf([&] { CLng(c.in); }), c.int32Overflows ? 6 : 0) << c.in;
    }
}

// A text converts only when it is a plain number (blanks around it), halves to even; a single
// becomes its shortest text.
TEST(Conversions, TextsConvertOnlyWhenTheyAreNumbers) {
    struct Case {
        std::string_view text;
        int error;
        int32_t value;
    };
    for (const Case& c : {Case{" 11295\t", 0, 11295}, Case{"-2.5", 0, -2}, Case{"+3.5", 0, 4},
                          Case{"Label1", 13, 0}, Case{"", 13, 0}, Case{"1e3x", 13, 0},
                          Case{"--1", 13, 0}, Case{"inf", 13, 0}, Case{"2147483648", 6, 0}}) {
        int32_t value = 0;
        EXPECT_EQ(errorNumberOf([&] { value = CLng(c.text); }), c.error) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    EXPECT_EQ(platform::CStr(11295.0f), "11295");
    EXPECT_EQ(platform::CStr(6900.094f), "6900.094");
}

TEST(Conversions, ValReadsTheLeadingNumber) {
    using Case = std::pair<const char*, double>;
    for (const auto& [text, value] :
         {Case{"", 0}, Case{"abc", 0}, Case{"2.5", 2.5}, Case{"3x", 3}, Case{"  7", 7},
          Case{"1 2 3", 123}, Case{"-4", -4}, Case{"+6", 6}, Case{"3.5.1", 3.5}, Case{".5", 0.5},
          Case{"1e3", 1000}, Case{"2e-", 2}, Case{"1d2", 100}, Case{"&H1F", 31}, Case{"&hFFFF", -1},
          Case{"&O17", 15}, Case{"--1", 0}, Case{"\t\n5", 5}, Case{"5-", 5}}) {
        EXPECT_DOUBLE_EQ(Val(text), value) << text;
    }
    EXPECT_EQ(errorNumberOf([] { Val("1e999"); }), 6);
}

}  // namespace
