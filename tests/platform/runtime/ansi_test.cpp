#include "platform/runtime/ansi.h"

#include <gtest/gtest.h>

#include "platform/runtime/text.h"

namespace {

using namespace platform;

TEST(Ansi, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(toAnsi(fromAnsi(all)), all);
}

TEST(Ansi, MapsTheCodePageCharacters) {
    EXPECT_EQ(toAnsi("€ äöå Ÿ"), "\x80 \xe4\xf6\xe5 \x9f");
    EXPECT_EQ(fromAnsi("\x80\xe9"), "€é");
    EXPECT_EQ(toAnsi("日本"), "??");  // outside the code page
}

struct Utf8Case {
    const char* label;
    std::string utf8;
    std::string ansi;

    friend void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.label; }
};

class ToAnsi : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(ToAnsi, GivesOneQuestionMarkPerMalformedSequence) {
    EXPECT_EQ(toAnsi(GetParam().utf8), GetParam().ansi) << quoted(GetParam().utf8);
}

// Each malformed sequence takes its lead byte and the continuation bytes after it, up to the
// length the lead announces; whatever follows is read afresh.
INSTANTIATE_TEST_SUITE_P(
    Sequences, ToAnsi,
    ::testing::Values(
        // The shortest form of each length, and the ends of the ranges.
        Utf8Case{"SmallestMappedTwoBytes", "\xC2\x81", "\x81"},
        Utf8Case{"TwoBytes", "x\xC2\xA9y", "x\xA9y"},
        Utf8Case{"LargestTwoBytes", "\xDF\xBF", "?"},  // U+07FF is not in the code page
        Utf8Case{"ThreeBytes", "\xE2\x82\xAC", "\x80"},
        Utf8Case{"FourBytes", "\xF0\x9F\x98\x80", "?"},
        Utf8Case{"LargestCodePoint", "\xF4\x8F\xBF\xBF!", "?!"},
        Utf8Case{"BeforeSurrogates", "\xED\x9F\xBF", "?"},
        Utf8Case{"AfterSurrogates", "\xEE\x80\x80", "?"},
        // Overlong forms never become the character they spell.
        Utf8Case{"OverlongLineFeed",
                 "a\xC0\x8A"
                 "b",
                 "a?b"},
        Utf8Case{"OverlongBackslash", "\xC1\x9C", "?"},
        Utf8Case{"OverlongCopyright", "\xE0\x82\xA9", "?"},
        Utf8Case{"OverlongNul", std::string("\xC0\x80", 2), "?"},
        Utf8Case{"OverlongThreeByteSlash", "\xE0\x80\xAF", "?"},
        Utf8Case{"OverlongFourByteEuro", "\xF0\x82\x82\xAC", "?"},
        Utf8Case{"LargestOverlongTwo", "\xC1\xBF", "?"},
        Utf8Case{"LargestOverlongThree", "\xE0\x9F\xBF", "?"},
        Utf8Case{"LargestOverlongFour", "\xF0\x8F\xBF\xBF", "?"},
        // Surrogates and values beyond U+10FFFF.
        Utf8Case{"FirstSurrogate", "\xED\xA0\x80", "?"},
        Utf8Case{"LastSurrogate", "\xED\xBF\xBF", "?"},
        Utf8Case{"SurrogatePair", "\xED\xA0\xBD\xED\xB8\x80", "??"},
        Utf8Case{"BeyondUnicode", "\xF4\x90\x80\x80", "?"},
        Utf8Case{"LargestFourByteForm", "\xF7\xBF\xBF\xBF", "?"},
        // Bytes that cannot start a sequence, each on its own.
        Utf8Case{"StrayContinuations",
                 "a\x80\xBF"
                 "b",
                 "a??b"},
        Utf8Case{"FiveAndSixByteLeads", "\xF8\x88\x80\x80\x80", "?????"},
        Utf8Case{"NotUtf8AtAll", "\xFF\xFE", "??"},
        // Sequences cut short by another byte or by the end of the text.
        Utf8Case{"CutAtTheEnd", "a\xC3", "a?"}, Utf8Case{"CutThreeAtTheEnd", "\xE2\x82", "?"},
        Utf8Case{"CutByAscii",
                 "\xE2\x82"
                 "A",
                 "?A"},
        Utf8Case{"CutByALead", "\xE2\xC3\xA9", "?\xE9"},
        Utf8Case{"CutFourByThree", "\xF0\x9F\xE2\x82\xAC", "?\x80"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Ansi, LongTextsKeepTheirAsciiAndConvertTheRest) {
    std::string utf8;
    std::string ansi;
    for (int i = 0; i < 1000; ++i) {
        utf8 += "plain text \xE2\x82\xAC\xC0\x8A";
        ansi += "plain text \x80?";
    }
    EXPECT_EQ(toAnsi(utf8), ansi);
}

TEST(Ansi, FoldCaseLowersExactlyTheCodePagesCapitals) {
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const bool capital = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
                             c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F;
        if (!capital) {
            EXPECT_EQ(ansiFoldCase(c), c) << b;
            continue;
        }
        // Each capital's small letter: the Latin-1 rule (+0x20) and the three pairs of the
        // code page's own 0x80 row, plus Ÿ, whose small letter lies in the Latin-1 half.
        const unsigned char expected = c == 0x9F                               ? 0xFF
                                       : (c == 0x8A || c == 0x8C || c == 0x8E) ? c + 0x10
                                                                               : c + 0x20;
        const unsigned char lower = ansiFoldCase(c);
        EXPECT_EQ(lower, expected) << b;
        EXPECT_EQ(ansiFoldCase(lower), lower) << b;
    }
    EXPECT_EQ(ansiFoldCase(0x8A), 0x9A);  // Š š
    EXPECT_EQ(ansiFoldCase(0x9F), 0xFF);  // Ÿ ÿ
    EXPECT_EQ(ansiFoldCase(0xD7), 0xD7);  // ×
    EXPECT_EQ(ansiFoldCase(0xDF), 0xDF);  // ß has no capital here
}

TEST(Ansi, NamesCompareAndOrderWithoutRegardToCase) {
    EXPECT_TRUE(ansiEqualIgnoringCase("\xC9t\xE9 Z", "\xE9T\xC9 z"));  // "Été Z"
    EXPECT_FALSE(ansiEqualIgnoringCase("abc", "abcd"));
    EXPECT_FALSE(ansiEqualIgnoringCase("\xD7", "\xF7"));  // × and ÷ are not a pair
    EXPECT_TRUE(ansiLessIgnoringCase("alpha", "BETA"));
    EXPECT_FALSE(ansiLessIgnoringCase("ALPHA", "alpha"));
    EXPECT_TRUE(ansiLessIgnoringCase("AB", "abc"));
}

}  // namespace
