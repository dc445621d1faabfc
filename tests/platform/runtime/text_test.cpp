#include "platform/runtime/text.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(Text, InStrIsOneBasedAndCaseSensitive) {
    struct Case {
        size_t start;
        const char* text;
        const char* needle;
        size_t expected;
    };
    for (const Case& c : {Case{1, "abcabc", "c", 3}, Case{4, "abcabc", "c", 6},
                          Case{7, "abcabc", "c", 0}, Case{1, "abc", "C", 0}, Case{4, "abc", "", 4},
                          Case{5, "abc", "", 0}, Case{0, "abc", "a", 0}, Case{1, "", "a", 0}}) {
        EXPECT_EQ(InStr(c.start, c.text, c.needle), c.expected)
            << c.start << " " << c.text << " " << c.needle;
    }
}

TEST(Text, ReplaceDoesNotRescanItsOwnOutput) {
    EXPECT_EQ(Replace("http://site/http://", "http://", ""), "site/");
    EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(Replace("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Replace("Abc", "a", "x"), "Abc");
}

TEST(Text, CaseChangesTouchOnlyAsciiLetters) {
    EXPECT_EQ(UCase("Lang-é1"), "LANG-é1");
    EXPECT_EQ(LCase("LANG-É1"), "lang-É1");
}

TEST(Text, SlicesClampToTheText) {
    EXPECT_EQ(Left("abc", 5), "abc");
    EXPECT_EQ(Right("abc", 2), "bc");
    EXPECT_EQ(Right("abc", 9), "abc");
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 5), "ef");
    EXPECT_EQ(Mid("abc", 4), "");
}

TEST(Text, TrimRemovesOnlySpaces) {
    EXPECT_EQ(Trim("  a b \t "), "a b \t");
    EXPECT_EQ(Trim(std::string("  x\0  ", 6)), std::string("x\0", 2));
    EXPECT_EQ(Trim("   "), "");
}

TEST(Text, QuotedEscapesControlBytes) {
    EXPECT_EQ(quoted("a\"b\\c\r\n\x01"), R"("a\"b\\c\r\n\x01")");
}

TEST(Text, TrimBlanksRemovesSpacesAndTabsAtBothEnds) {
    using Case = std::pair<const char*, const char*>;
    for (const auto& [text, expected] : {Case{"", ""}, Case{" \t ", ""}, Case{"\t a b \t", "a b"},
                                         Case{"a\r", "a\r"}, Case{"\xA0z\xA0", "\xA0z\xA0"}}) {
        EXPECT_EQ(trimBlanks(text), expected) << quoted(text);
    }
}

}  // namespace
