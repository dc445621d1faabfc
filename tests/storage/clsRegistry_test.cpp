#include "storage/clsRegistry.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/registry_test.h"

namespace {

using namespace win;

constexpr const char* kPath = "Software\\Pexar\\X6";

// Every test also checks that every call closes the keys it opened.
class ClsRegistry : public testsupport::RegistryTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(platform::registryStore().openHandles(), 0u);
        RegistryTest::TearDown();
    }
    // Raw bytes of any type, as another program might have left them.
    void plant(const std::string& path, const std::string& name, uint32_t type,
               const std::string& data) {
        ASSERT_EQ(testsupport::storeValue(platform::registryStore(), path, name, type, data),
                  kRegOk);
    }
    std::pair<uint32_t, std::string> stored(const std::string& path, const std::string& name,
                                            HKEY root = HKEY_CURRENT_USER) {
        return testsupport::storedValue(platform::registryStore(), path, name, root)
            .value_or(std::make_pair(0xFFFFFFFFu, std::string()));
    }

    clsRegistry reg;
};

struct TextCase {
    const char* label;
    uint32_t type;
    std::string data;
    const char* Default;
    std::string expected;
};

class ReadText : public ClsRegistry, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ReadText, GivesTheTrimmedTextOrDefaultForOtherTypes) {
    const auto& c = GetParam();
    plant(kPath, "v", c.type, c.data);
    EXPECT_EQ(reg.GetSettingString(1, kPath, "v", c.Default), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadText,
    ::testing::Values(TextCase{"Plain", REG_SZ, "abc", "d", "abc"},
                      TextCase{"ZeroBytes", REG_SZ, "", "d", ""},
                      TextCase{"OnlyNul", REG_SZ, std::string(1, '\0'), "d", ""},
                      TextCase{"SpacedPath", REG_SZ, "  C:\\My Dir  ", "d", "C:\\My Dir"},
                      TextCase{"SpacesBeforeNul", REG_SZ, std::string("  C:\\My Dir  \0", 14), "d",
                               "C:\\My Dir  "},
                      TextCase{"CutAtFirstNul", REG_SZ, std::string("abc\0def", 7), "d", "abc"},
                      TextCase{"Windows1252", REG_SZ, "Caf\xE9 \x80", "d",
                               "Caf\xC3\xA9 \xE2\x82\xAC"},
                      TextCase{"NulFarOut", REG_SZ, std::string(40000, 'x') + '\0' + "tail", "d",
                               std::string(40000, 'x')},
                      TextCase{"ExpandText", REG_EXPAND_SZ, "%TEMP%", "d", "d"},
                      TextCase{"Number", REG_DWORD, std::string("\x01\x00\x00\x00", 4), "d", "d"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ClsRegistry, AMissingTextIsErrorWhateverTheDefault) {
    plant(kPath, "there", REG_SZ, "x");
    EXPECT_EQ(reg.GetSettingString(1, kPath, "missing", "fallback"), "Error");
    EXPECT_EQ(reg.GetSettingString(1, "Software\\Nowhere", "there", "fallback"), "Error");
    EXPECT_EQ(reg.GetSettingString(6, kPath, "there", "fallback"), "Error");
    EXPECT_EQ(reg.GetSettingString(-1, kPath, "there"), "Error");
    EXPECT_EQ(reg.GetSettingString(1, kPath, "there", "fallback"), "x");
}

TEST_F(ClsRegistry, SavedTextIsStoredWithoutTerminatorAndReadsBack) {
    reg.SaveSettingString(1, kPath, "Three", "abc");
    EXPECT_EQ(stored(kPath, "Three"), std::make_pair(REG_SZ, std::string("abc")));
    EXPECT_EQ(reg.GetSettingString(1, kPath, "Three"), "abc");

    reg.SaveSettingString(1, kPath, "Empty", "");
    EXPECT_EQ(stored(kPath, "Empty"), std::make_pair(REG_SZ, std::string()));
    reg.SaveSettingString(1, kPath, "Euro", "5 \xE2\x82\xAC");
    EXPECT_EQ(stored(kPath, "Euro").second, "5 \x80");
}

TEST_F(ClsRegistry, InOutRootNumbersReceiveTheRootHandle) {
    for (const auto& [number, handle] :
         std::vector<std::pair<int32_t, HKEY>>{{0, HKEY_CLASSES_ROOT},
                                               {1, HKEY_CURRENT_USER},
                                               {2, HKEY_LOCAL_MACHINE},
                                               {3, HKEY_USERS},
                                               {4, HKEY_CURRENT_CONFIG},
                                               {5, HKEY_DYN_DATA},
                                               {6, 0},
                                               {-1, 0}}) {
        int32_t hKey = number;
        reg.SaveSettingString(hKey, kPath, "v", "x");
        EXPECT_EQ(static_cast<HKEY>(hKey), handle) << number;
    }
    // Number 4 is HKEY_CURRENT_CONFIG.
    EXPECT_EQ(stored(kPath, "v", HKEY_CURRENT_CONFIG).second, "x");
}

TEST_F(ClsRegistry, NumbersRoundTripUnchangedAndAMissingOneIsTheDefault) {
    EXPECT_EQ(reg.GetSettingLong(1, kPath, "n"), 0);
    EXPECT_EQ(reg.GetSettingLong(1, kPath, "n", 42), 42);
    EXPECT_EQ(reg.GetSettingLong(9, kPath, "n", 42), 42);
    for (const int32_t n : {0, 1, -1, 31, INT32_MAX, INT32_MIN, 0x12345678}) {
        reg.SaveSettingLong(1, kPath, "n", n);
        EXPECT_EQ(reg.GetSettingLong(1, kPath, "n", 99), n);
    }
    EXPECT_EQ(stored(kPath, "n"), std::make_pair(REG_DWORD, std::string("\x78\x56\x34\x12")));
}

struct NumberCase {
    const char* label;
    uint32_t type;
    std::string data;
    int32_t expected;
};

class ReadNumber : public ClsRegistry, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ReadNumber, OnlyAFittingDwordIsANumber) {
    const auto& c = GetParam();
    plant(kPath, "n", c.type, c.data);
    EXPECT_EQ(reg.GetSettingLong(1, kPath, "n", -7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadNumber,
    ::testing::Values(NumberCase{"Dword", REG_DWORD, std::string("\x01\x02\x00\x80", 4),
                                 static_cast<int32_t>(0x80000201)},
                      NumberCase{"ShortDword", REG_DWORD, "\x05", 5},
                      NumberCase{"LongDword", REG_DWORD, std::string(5, '\x01'), -7},
                      NumberCase{"FourBytesBinary", REG_BINARY, std::string("\x01\x00\x00\x00", 4),
                                 -7},
                      NumberCase{"Text", REG_SZ, "1", -7}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ClsRegistry, BytesRoundTripAndOtherwiseGiveTheStartingResult) {
    const std::vector<uint8_t> bytes = {0, 1, 0xFF, 0};
    const std::vector<uint8_t> fallback = {9};
    reg.SaveSettingByte(1, kPath, "b", bytes);
    EXPECT_EQ(stored(kPath, "b").first, REG_BINARY);
    EXPECT_EQ(reg.GetSettingByte(1, kPath, "b"), RegistryBytes(bytes));

    EXPECT_EQ(reg.GetSettingByte(1, kPath, "missing", fallback), RegistryBytes(fallback));
    EXPECT_EQ(reg.GetSettingByte(1, kPath, "missing", int16_t{5}), RegistryBytes(int16_t{0}));
    EXPECT_EQ(reg.GetSettingByte(1, kPath, "missing"), RegistryBytes(int16_t{0}));
    plant(kPath, "text", REG_SZ, "abc");
    EXPECT_EQ(reg.GetSettingByte(1, kPath, "text", fallback), RegistryBytes(fallback));

    reg.SaveSettingByte(1, kPath, "none", {});
    EXPECT_EQ(stored(kPath, "none"), std::make_pair(REG_BINARY, std::string()));
    EXPECT_EQ(reg.GetSettingByte(1, kPath, "none", fallback),
              RegistryBytes(std::vector<uint8_t>{}));
}

TEST_F(ClsRegistry, MakesMissingKeysAndDeletesValuesAndKeys) {
    reg.SaveSettingLong(1, "A\\B\\C", "n", 3);
    EXPECT_EQ(reg.GetAllKeys(1, "A"), std::vector<std::string>{"B"});
    EXPECT_EQ(reg.GetSettingLong(1, "a\\b\\c", "N"), 3);
    reg.SaveSettingLong(1, kPath, "a", 1);
    reg.SaveSettingLong(1, kPath, "b", 2);
    reg.DeleteValue(1, kPath, "A");
    EXPECT_EQ(reg.GetSettingLong(1, kPath, "a", -1), -1);
    EXPECT_EQ(reg.GetSettingLong(1, kPath, "b", -1), 2);
    reg.DeleteValue(1, "Nowhere", "b");  // ignored
    reg.DeleteKey(1, kPath);
    EXPECT_EQ(reg.GetSettingLong(1, kPath, "b", -1), -1);
    int32_t hKey = 1;
    reg.CreateKey(hKey, "Fresh\\Key");
    EXPECT_EQ(hKey, static_cast<int32_t>(HKEY_CURRENT_USER));
    EXPECT_EQ(reg.GetAllKeys(1, "Fresh"), std::vector<std::string>{"Key"});
}

TEST_F(ClsRegistry, GetAllKeysStopsAtTheFirstNameThatDoesNotFit) {
    for (const char* name : {"Gamma", "alpha", "Beta"}) {
        reg.CreateKey(1, std::string(kPath) + "\\" + name);
    }
    EXPECT_EQ(reg.GetAllKeys(1, kPath), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));
    reg.CreateKey(1, std::string(kPath) + "\\B" + std::string(253, 'x'));  // 254: fits
    reg.CreateKey(1, std::string(kPath) + "\\C" + std::string(254, 'x'));  // 255: does not
    // Gamma, after the name that does not fit, is not listed either.
    EXPECT_EQ(reg.GetAllKeys(1, kPath),
              (std::vector<std::string>{"alpha", "Beta", 'B' + std::string(253, 'x')}));
    EXPECT_TRUE(reg.GetAllKeys(1, "Nowhere").empty());
    EXPECT_TRUE(reg.GetAllKeys(7, kPath).empty());
}

TEST_F(ClsRegistry, GetAllValuesListsNamesAndTypesUpToTheFirstOversizedValue) {
    plant(kPath, "Small", REG_SZ, "s");
    plant(kPath, "Full", REG_BINARY, std::string(4000, 'f'));
    plant(kPath, "Number", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    plant(kPath, "Huge", REG_BINARY, std::string(4001, 'h'));
    plant(kPath, "After", REG_SZ, "a");
    int32_t hKey = 1;
    EXPECT_EQ(reg.GetAllValues(hKey, kPath),
              (std::vector<RegistryValueRow>{{"Small", 1}, {"Full", 3}, {"Number", 4}}));
    EXPECT_EQ(hKey, static_cast<int32_t>(HKEY_CURRENT_USER));
    EXPECT_TRUE(reg.GetAllValues(1, "Nowhere").empty());
}

}  // namespace
