#include "platform/runtime/convert.h"

#include <gtest/gtest.h>

#include "support/run_time_error.h"

#include <cmath>

#include "platform/runtime/errors.h"

namespace {

using platform::CInt;
using platform::CLng;
using platform::RuntimeError;
using platform::Val;

struct RoundCase {
    double in;
    int32_t out;
};

class HalfToEven : public ::testing::TestWithParam<RoundCase> {};

TEST_P(HalfToEven, BothWidthsRoundHalvesToEven) {
    EXPECT_EQ(CInt(GetParam().in), GetParam().out);
    EXPECT_EQ(CLng(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Conversions, HalfToEven,
                         ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2},
                                           RoundCase{3.5, 4}, RoundCase{-0.5, 0},
                                           RoundCase{-1.5, -2}, RoundCase{-2.5, -2},
                                           RoundCase{2.4999, 2}, RoundCase{2.5001, 3},
                                           RoundCase{7.5, 8}, RoundCase{32766.5, 32766},
                                           RoundCase{-32768.4, -32768}));

struct RangeCase {
    double in;
    bool int16Overflows;
    bool int32Overflows;
};

class RangeCheck : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeCheck, OutOfRangeRaisesOverflow) {
    const auto& c = GetParam();
    auto expectOverflow = [](auto fn, bool overflows) {
        EXPECT_EQ(testsupport::errorNumberOf(fn), overflows ? 6 : 0);
    };
    expectOverflow([&] { return CInt(c.in); }, c.int16Overflows);
    expectOverflow([&] { return CLng(c.in); }, c.int32Overflows);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, RangeCheck,
    ::testing::Values(RangeCase{32767, false, false}, RangeCase{32767.5, true, false},
                      RangeCase{32768, true, false}, RangeCase{-32768, false, false},
                      RangeCase{-32768.5, false, false},  // rounds to -32768 (even)
                      RangeCase{-32769, true, false}, RangeCase{2147483647.0, true, false},
                      RangeCase{2147483647.5, true, true}, RangeCase{-2147483648.0, true, false},
                      RangeCase{-2147483649.0, true, true}, RangeCase{NAN, true, true}));

struct ValCase {
    const char* text;
    double value;
};

class ValReading : public ::testing::TestWithParam<ValCase> {};

TEST_P(ValReading, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, ValReading,
    ::testing::Values(ValCase{"", 0}, ValCase{"abc", 0}, ValCase{"2.5", 2.5}, ValCase{"3x", 3},
                      ValCase{"  7", 7}, ValCase{"1 2 3", 123}, ValCase{"-4", -4}, ValCase{"+6", 6},
                      ValCase{"3.5.1", 3.5}, ValCase{".5", 0.5}, ValCase{"1e3", 1000},
                      ValCase{"2e", 2}, ValCase{"2e-", 2}, ValCase{"1d2", 100}, ValCase{"&H1F", 31},
                      ValCase{"&hFFFF", -1}, ValCase{"&O17", 15}, ValCase{"99999", 99999},
                      ValCase{"--1", 0}, ValCase{"\t\n5", 5}, ValCase{"5-", 5}));

TEST(Conversions, ValOfAHugeExponentOverflows) {
    EXPECT_THROW(Val("1e999"), RuntimeError);
}

}  // namespace
