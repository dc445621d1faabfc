#include <gtest/gtest.h>

#include <functional>

#include "platform/registry/registry.h"
#include "support/registry_test.h"

namespace {

using namespace win;

class RegistryOps : public testsupport::RegistryTest {
  protected:
    HKEY create(const std::string& path) {
        HKEY key = 0;
        EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path, key), kRegOk);
        return key;
    }
    int32_t set(HKEY key, const std::string& name, uint32_t type, const std::string& data) {
        return RegSetValueExA(key, name, type, reinterpret_cast<const uint8_t*>(data.data()),
                              static_cast<uint32_t>(data.size()));
    }
    std::string enumKeyName(HKEY key, uint32_t index, uint32_t size, int32_t& status) {
        std::string buffer(size, ' ');
        status = RegEnumKeyA(key, index, buffer.data(), size);
        return buffer.substr(0, buffer.find('\0'));
    }
};

TEST_F(RegistryOps, EveryOperationRefusesABadHandle) {
    HKEY closed = create("A");
    ASSERT_EQ(RegCloseKey(closed), kRegOk);
    for (const HKEY bad : {HKEY{0}, closed, HKEY{0x80000004}, HKEY{0x80000007}, HKEY{12345}}) {
        SCOPED_TRACE(bad);
        HKEY out = 99;
        uint32_t size = 4;
        uint8_t data[4] = {};
        char name[8];
        uint32_t nameSize = sizeof name;
        EXPECT_EQ(RegOpenKeyA(bad, "A", out), kRegBadHandle);
        EXPECT_EQ(out, 0u);
        EXPECT_EQ(RegCreateKeyA(bad, "A", out), kRegBadHandle);
        EXPECT_EQ(RegCloseKey(bad), kRegBadHandle);
        EXPECT_EQ(RegQueryValueExA(bad, "v", nullptr, data, &size), kRegBadHandle);
        EXPECT_EQ(RegSetValueExA(bad, "v", REG_DWORD, data, 4), kRegBadHandle);
        EXPECT_EQ(RegDeleteValueA(bad, "v"), kRegBadHandle);
        EXPECT_EQ(RegDeleteKeyA(bad, "A"), kRegBadHandle);
        EXPECT_EQ(RegEnumKeyA(bad, 0, name, sizeof name), kRegBadHandle);
        EXPECT_EQ(RegEnumValueA(bad, 0, name, &nameSize, nullptr, nullptr, nullptr), kRegBadHandle);
    }
    EXPECT_FALSE(std::filesystem::exists(hiveFile("HKEY_PERFORMANCE_DATA")));
}

TEST_F(RegistryOps, OpenFindsOnlyExistingKeysAndCreateMakesTheWholePath) {
    HKEY key = 5;
    EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "A\\B\nC", key), kRegBadParameter);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(std::filesystem::exists(hiveFile()));
    key = 77;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Pexar", key), kRegNotFound);
    EXPECT_EQ(key, 0u);
    const HKEY made = create("Software\\Pexar\\X6\\Alerts");
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "SOFTWARE\\pexar", key), kRegOk);
    HKEY below = 0;
    EXPECT_EQ(RegOpenKeyA(key, "x6\\ALERTS", below), kRegOk);
    EXPECT_EQ(set(below, "NewMail", REG_SZ, "on"), kRegOk);
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(made, "newmail", nullptr, nullptr, &size), kRegOk);
    EXPECT_EQ(size, 2u);
    // Created names keep the case they were first given.
    int32_t status = 0;
    EXPECT_EQ(enumKeyName(key, 0, 255, status), "X6");
}

TEST_F(RegistryOps, QueryReportsTypeAndSizeThenDataWithinTheOfferedSize) {
    const HKEY key = create("K");
    ASSERT_EQ(set(key, "Blob", REG_BINARY, "12345"), kRegOk);
    uint32_t type = 0;
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Blob", &type, nullptr, &size), kRegOk);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 5u);

    std::string buffer(8, '.');
    auto* data = reinterpret_cast<uint8_t*>(buffer.data());
    size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "Blob", &type, data, &size), kRegMoreData);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(buffer, "........");
    size = 5;
    EXPECT_EQ(RegQueryValueExA(key, "Blob", &type, data, &size), kRegOk);
    EXPECT_EQ(buffer, "12345...");
    EXPECT_EQ(RegQueryValueExA(key, "Blob", &type, data, nullptr), kRegBadParameter);
    EXPECT_EQ(RegQueryValueExA(key, "Missing", &type, nullptr, &size), kRegNotFound);
}

TEST_F(RegistryOps, NamesCompareWithoutRegardToCaseKeepTheFirstCaseAndTravelInWindows1252) {
    const HKEY key = create("Caf\xC3\xA9\xE2\x82\xAC");  // "Café€"
    ASSERT_EQ(set(key, "Größe", REG_SZ, "1"), kRegOk);
    ASSERT_EQ(set(key, "GRÖSSE", REG_SZ, "2"), kRegOk);  // another name: ß is not SS
    ASSERT_EQ(set(key, "GRÖßE", REG_SZ, "3"), kRegOk);
    ASSERT_EQ(set(key, "\xE6\x97\xA5", REG_SZ, ""), kRegOk);  // a character 1252 cannot hold
    int32_t status = 0;
    EXPECT_EQ(enumKeyName(HKEY_CURRENT_USER, 0, 255, status), "Caf\xE9\x80");
    std::vector<std::string> names;
    char name[16];
    for (uint32_t index = 0, nameSize = sizeof name;
         RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr) == kRegOk;
         ++index, nameSize = sizeof name) {
        names.emplace_back(name, nameSize);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Gr\xF6\xDF"
                                               "e",
                                               "GR\xD6SSE", "?"}));
    uint8_t data[4];
    uint32_t size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "größe", nullptr, data, &size), kRegOk);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), "3");
}

struct LimitCase {
    size_t nameLength;
    size_t dataLength;
    int32_t status;

    friend void PrintTo(const LimitCase& c, std::ostream* os) {
        *os << c.nameLength << "-char name, " << c.dataLength << " bytes";
    }
};

class EnumLimits : public RegistryOps, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(EnumLimits, NamesNeedRoomForTheirNulAndDataMustFitTheOffer) {
    const auto& c = GetParam();
    const HKEY key = create("K\\" + std::string(c.nameLength, 'k'));
    HKEY parent = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "K", parent), kRegOk);
    ASSERT_EQ(set(key, std::string(c.nameLength, 'v'), REG_BINARY, std::string(c.dataLength, 'd')),
              kRegOk);

    int32_t status = 0;
    const std::string keyName = enumKeyName(parent, 0, 255, status);
    EXPECT_EQ(status, c.nameLength <= 254 ? kRegOk : kRegMoreData);
    if (status == kRegOk) {
        EXPECT_EQ(keyName, std::string(c.nameLength, 'k'));
    }

    std::string name(255, ' ');
    uint32_t nameSize = 255;
    uint32_t type = 0;
    std::vector<uint8_t> data(4000);
    uint32_t dataSize = 4000;
    EXPECT_EQ(RegEnumValueA(key, 0, name.data(), &nameSize, &type, data.data(), &dataSize),
              c.status);
    if (c.status == kRegOk) {
        EXPECT_EQ(nameSize, c.nameLength);
        EXPECT_EQ(name.substr(0, nameSize + 1), std::string(c.nameLength, 'v') + '\0');
        EXPECT_EQ(dataSize, c.dataLength);
        EXPECT_EQ(type, REG_BINARY);
    }
    EXPECT_EQ(RegEnumKeyA(parent, 1, name.data(), 255), kRegNoMoreItems);
}

INSTANTIATE_TEST_SUITE_P(Limits, EnumLimits,
                         ::testing::Values(LimitCase{1, 0, kRegOk}, LimitCase{254, 4000, kRegOk},
                                           LimitCase{255, 10, kRegMoreData},
                                           LimitCase{3000, 10, kRegMoreData},
                                           LimitCase{10, 4001, kRegMoreData}));

TEST_F(RegistryOps, DeleteKeyTakesOnlyKeysWithoutSubkeys) {
    const HKEY leaf = create("A\\B");
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A"), kRegAccessDenied);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A\\Missing"), kRegNotFound);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), kRegBadParameter);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "a\\b"), kRegOk);
    // The handle still names the gone key: nothing through it finds, makes or brings back a key.
    uint32_t size = 0;
    HKEY below = 7;
    EXPECT_EQ(RegQueryValueExA(leaf, "v", nullptr, nullptr, &size), kRegKeyDeleted);
    EXPECT_EQ(set(leaf, "v", REG_SZ, "x"), kRegKeyDeleted);
    EXPECT_EQ(RegCreateKeyA(leaf, "C", below), kRegKeyDeleted);
    EXPECT_EQ(RegOpenKeyA(leaf, "", below), kRegKeyDeleted);
    EXPECT_EQ(below, 0u);
    EXPECT_EQ(RegDeleteKeyA(leaf, "C"), kRegKeyDeleted);
    EXPECT_EQ(RegCloseKey(leaf), kRegOk);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A"), kRegOk);
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "A", key), kRegNotFound);
}

TEST_F(RegistryOps, DeleteValueReportsAMissingValueAndSetRefusesDataWithoutBytes) {
    const HKEY key = create("K");
    EXPECT_EQ(RegSetValueExA(key, "v", REG_BINARY, nullptr, 3), kRegBadParameter);
    EXPECT_EQ(RegSetValueExA(key, "v", REG_BINARY, nullptr, 0), kRegOk);
    ASSERT_EQ(set(key, "v", REG_DWORD, "abcd"), kRegOk);
    EXPECT_EQ(RegDeleteValueA(key, "V"), kRegOk);
    EXPECT_EQ(RegDeleteValueA(key, "v"), kRegNotFound);
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, &size), kRegNotFound);
}

TEST_F(RegistryOps, EachRootHasItsOwnFile) {
    for (const HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                            HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        HKEY key = 0;
        ASSERT_EQ(RegCreateKeyA(root, "Only", key), kRegOk);
        ASSERT_EQ(set(key, "root", REG_DWORD, std::string(reinterpret_cast<const char*>(&root), 4)),
                  kRegOk);
    }
    for (const char* name : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                             "HKEY_USERS", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"}) {
        const std::string text = testsupport::readFile(hiveFile(name));
        EXPECT_NE(text.find(std::string("[") + name + "\\Only]\n"), std::string::npos) << text;
    }
    EXPECT_NE(testsupport::readFile(hiveFile("HKEY_CURRENT_CONFIG")).find("dword:80000005"),
              std::string::npos);
}

}  // namespace
