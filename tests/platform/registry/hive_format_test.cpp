#include "platform/registry/hive_format.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/registry/registry.h"

namespace {

using platform::registry::formatHive;
using platform::registry::Key;
using platform::registry::parseHive;

constexpr const char* kRoot = "HKEY_CURRENT_USER";

std::string allBytes(bool withNul) {
    std::string bytes;
    for (int b = withNul ? 0 : 1; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

Key reparsed(const Key& root) {
    auto parsed = parseHive(kRoot, formatHive(kRoot, root));
    EXPECT_TRUE(parsed) << parsed.failure().reason;
    return parsed ? parsed.value() : Key{};
}

TEST(HiveFormat, WritesTheSettingsTreeAsReadableText) {
    Key root;
    Key& settings = root.subkey("Software").subkey("Pexar");
    settings.setValue("X6Installed", win::REG_DWORD, std::string("\x01\0\0\0", 4));
    settings.setValue("X6UserID", win::REG_SZ, "bob");
    settings.subkey("Sounds").setValue("Login", win::REG_SZ, "C:\\Program Files\\T\\notify.wav");
    root.subkey("Empty");

    EXPECT_EQ(formatHive(kRoot, root),
              "Windows Registry Editor Version 5.00\n"
              "\n[HKEY_CURRENT_USER\\Empty]\n"
              "\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Pexar]\n"
              "\"X6Installed\"=dword:00000001\n"
              "\"X6UserID\"=\"bob\"\n"
              "\n[HKEY_CURRENT_USER\\Software\\Pexar\\Sounds]\n"
              "\"Login\"=\"C:\\\\Program Files\\\\T\\\\notify.wav\"\n");
}

struct FormCase {
    const char* label;
    uint32_t type;
    std::string data;
    std::string line;
};

class ValueForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(ValueForm, IsWrittenInItsFormAndReadBackExactly) {
    const auto& c = GetParam();
    Key root;
    root.setValue("v", c.type, c.data);
    const std::string text = formatHive(kRoot, root);
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER]\n" + c.line + "\n");
    const Key back = reparsed(root);
    ASSERT_EQ(back.values.size(), 1u);
    EXPECT_EQ(back.values[0].type, c.type);
    EXPECT_EQ(back.values[0].data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ValueForm,
    ::testing::Values(
        FormCase{"TextWithoutTerminator", win::REG_SZ, "abc", "\"v\"=\"abc\""},
        FormCase{"EmptyText", win::REG_SZ, "", "\"v\"=\"\""},
        FormCase{"TextWithTerminator", win::REG_SZ, std::string("abc\0", 4),
                 "\"v\"=hex(1):61,62,63,00"},
        FormCase{"TextWithInnerNul", win::REG_SZ, std::string("a\0b", 3), "\"v\"=hex(1):61,00,62"},
        FormCase{"TextWithControls", win::REG_SZ, "a\"b\\c\nd\te\x01",
                 "\"v\"=\"a\\\"b\\\\c\\nd\\te\\x01\""},
        FormCase{"TextInWindows1252", win::REG_SZ, "caf\xE9 \x80",
                 "\"v\"=\"caf\xC3\xA9 \xE2\x82\xAC\""},
        FormCase{"Number", win::REG_DWORD, std::string("\x1f\0\0\0", 4), "\"v\"=dword:0000001f"},
        FormCase{"NegativeNumber", win::REG_DWORD, "\xff\xff\xff\xff", "\"v\"=dword:ffffffff"},
        FormCase{"ShortNumber", win::REG_DWORD, "\x01\x02", "\"v\"=hex(4):01,02"},
        FormCase{"LongNumber", win::REG_DWORD, std::string("\x01\0\0\0\0", 5),
                 "\"v\"=hex(4):01,00,00,00,00"},
        FormCase{"Bytes", win::REG_BINARY, std::string("\x00\xff\x10", 3), "\"v\"=hex:00,ff,10"},
        FormCase{"NoBytes", win::REG_BINARY, "", "\"v\"=hex:"},
        FormCase{"ExpandText", win::REG_EXPAND_SZ, "%X%", "\"v\"=hex(2):25,58,25"},
        FormCase{"TypeNone", win::REG_NONE, "", "\"v\"=hex(0):"},
        FormCase{"LargestType", 0xFFFFFFFFu, "z", "\"v\"=hex(ffffffff):7a"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HiveFormat, EveryByteOfDataAndNamesSurvives) {
    Key root;
    Key& key = root.subkey(allBytes(false).substr(0x7F) + "]\"; ~{");
    key.setValue(allBytes(true), win::REG_SZ, allBytes(false));
    key.setValue("", win::REG_SZ, allBytes(true));
    key.setValue("@", 7, allBytes(true));
    key.setValue(std::string(100'000, 'n'), win::REG_BINARY, allBytes(true) + allBytes(true));
    root.subkey(std::string(10'000, 'k')).subkey(" spaced key ");

    const std::string text = formatHive(kRoot, root);
    const Key back = reparsed(root);
    EXPECT_EQ(back, root);
    EXPECT_EQ(formatHive(kRoot, back), text);
}

TEST(HiveFormat, SubkeysComeOutSortedWithoutRegardToCaseAndKeepTheirCase) {
    Key root;
    root.subkey("beta");
    root.subkey("Alpha");
    root.subkey("ALPHA").setValue("x", win::REG_SZ, "1");
    root.subkey("\xC9t\xE9");  // "Été"
    root.subkey("\xE9t\xE9").setValue("y", win::REG_SZ, "2");
    ASSERT_EQ(root.subkeys.size(), 3u);
    EXPECT_EQ(root.subkeys[0].name, "Alpha");
    EXPECT_EQ(root.subkeys[1].name, "beta");
    EXPECT_EQ(root.subkeys[2].name, "\xC9t\xE9");
    EXPECT_EQ(reparsed(root), root);
}

TEST(HiveFormat, ReadsHandEditedFilesWithinTheRules) {
    // A byte order mark, CR LF, blanks, comments that end in "\" (which go on in no line), byte
    // lists wrapped at "\", keys out of order and one of them twice in another case, a value
    // twice: read as the canonical file below.
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "; provided with the program, see C:\\\r\n"
        "[hkey_current_user\\Software\\Pexar\\DAPLinks]\r\n"
        "\"X6Domain\" = \"http://example.test\"\r\n"
        "  ; C:\\  \r\n"
        "\"Blob\"=hex:01,\\\r\n"
        "  02\r\n"
        "[HKEY_CURRENT_USER\\B]\r\n"
        "@=hex:01,\\\r\n02,\\\r\n03\r\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\pexar\\daplinks]\r\n"
        "\"x6domain\"=\"later\"\r\n"
        "\"Late\"=hex(B):00\r\n"
        "[HKEY_CURRENT_USER\\A]\r\n";
    const auto parsed = parseHive(kRoot, text);
    ASSERT_TRUE(parsed) << parsed.failure().reason;
    EXPECT_EQ(formatHive(kRoot, *parsed),
              "Windows Registry Editor Version 5.00\n"
              "\n[HKEY_CURRENT_USER\\A]\n"
              "\n[HKEY_CURRENT_USER\\B]\n@=hex:01,02,03\n"
              "\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Pexar]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Pexar\\DAPLinks]\n"
              "\"X6Domain\"=\"later\"\n\"Blob\"=hex:01,02\n\"Late\"=hex(b):00\n");
}

TEST(HiveFormat, AnEmptyHiveIsTheHeaderAloneAndAnEmptyFileIsAnEmptyHive) {
    EXPECT_EQ(formatHive(kRoot, Key{}), "Windows Registry Editor Version 5.00\n");
    auto parsed = parseHive(kRoot, "");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, Key{});
}

struct BrokenCase {
    const char* label;
    std::string text;
    size_t line;
};

class BrokenHive : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenHive, IsRefusedAtTheRightLine) {
    const auto& c = GetParam();
    auto parsed = parseHive(kRoot, c.text);
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.failure().code, win::kRegCorrupt);
    const std::string line = "line " + std::to_string(c.line) + ": ";
    EXPECT_TRUE(parsed.failure().reason.starts_with(line)) << parsed.failure().reason;
    EXPECT_GT(parsed.failure().reason.size(), line.size());
}

const std::string kHead = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n";

INSTANTIATE_TEST_SUITE_P(
    Broken, BrokenHive,
    ::testing::Values(
        BrokenCase{"NoHeader", "[HKEY_CURRENT_USER\\A]\n", 1},
        BrokenCase{"OtherHeader", "REGEDIT4\n", 1},
        BrokenCase{"Binary", std::string("\x00\x01\x02garbage", 10), 1},
        BrokenCase{"ValueBeforeKey", "Windows Registry Editor Version 5.00\n\"a\"=\"b\"\n", 2},
        BrokenCase{"OtherRoot", "Windows Registry Editor Version 5.00\n[HKEY_USERS\\A]\n", 2},
        BrokenCase{"EmptyKeyName", kHead + "[HKEY_CURRENT_USER\\A\\\\B]\n", 4},
        BrokenCase{"StrayLine", kHead + "hello\n", 4},
        BrokenCase{"UnknownForm", kHead + "\"a\"=qword:1\n", 4},
        BrokenCase{"NoEquals", kHead + "\"a\" \"b\"\n", 4},
        BrokenCase{"OpenQuote", kHead + "\"a\"=\"b\n", 4},
        BrokenCase{"OpenQuoteEndingTheFile", kHead + "\"a\"=\"abc\\", 4},
        BrokenCase{"BadEscape", kHead + "\"a\"=\"\\q\"\n", 4},
        BrokenCase{"HighEscape", kHead + "\"a\"=\"\\xe9\"\n", 4},
        BrokenCase{"TextAfterQuote", kHead + "\"a\"=\"b\"c\n", 4},
        BrokenCase{"LongDword", kHead + "\"a\"=dword:123456789\n", 4},
        BrokenCase{"BadByte", kHead + "\"a\"=hex:01,2g\n", 4},
        BrokenCase{"OneDigitByte", kHead + "\"a\"=hex:01,2\n", 4},
        BrokenCase{"TrailingComma", kHead + "\"a\"=hex:01,\n", 4},
        BrokenCase{"BadType", kHead + "\"a\"=hex(z):01\n", 4},
        BrokenCase{"ContinuedError", kHead + "\"a\"=hex:01,\\\n zz\n", 4},
        // A key line does not go on in the next line: without its "]" it is refused.
        BrokenCase{"KeyEndingInBackslash", kHead + "[HKEY_CURRENT_USER\\B\\\n\"b\"=\"2\"\n", 4}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
