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

// Each malformed sequence takes its lead byte and the continuation bytes after it, up to the
// length the lead announces; whatever follows is read afresh.
TEST(Ansi, ToAnsiGivesOneQuestionMarkPerMalformedSequence) {
    const std::pair<std::string, std::string> cases[] = {
        // The shortest form of each length, and the ends of the ranges.
        {"\xC2\x81", "\x81"},
        {"x\xC2\xA9y", "x\xA9y"},
        {"\xE2\x82\xAC", "\x80"},
        {"\xF0\x9F\x98\x80", "?"},
        {"\xF4\x8F\xBF\xBF!", "?!"},
        // Overlong forms never become the character they spell.
        {"a\xC0\x8A-", "a?-"},
        {"\xC1\xBF", "?"},
        {"\xE0\x82\xA9", "?"},
        {"\xF0\x82\x82\xAC", "?"},
        // Surrogates and values beyond U+10FFFF (whole sequences, each one "?").
        {"\xED\xA0\xBD\xED\xB8\x80", "??"},
        {"\xF4\x90\x80\x80", "?"},
        // Bytes that cannot start a sequence, each on its own.
        {"a\x80\xBFz", "a??z"},
        {"\xF8\x88\x80\x80\x80", "?????"},
        // Sequences cut short by another byte or by the end of the text.
        {"a\xC3", "a?"},
        {"\xE2\x82Z", "?Z"},
        {"\xE2\xC3\xA9", "?\xE9"},
        {"\xF0\x9F\xE2\x82\xAC", "?\x80"}};
    for (const auto& [utf8, ansi] : cases) {
        EXPECT_EQ(toAnsi(utf8), ansi) << quoted(utf8);
    }
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
