#include "storage/clsRegistry.h"

#include <array>

#include "platform/runtime/ansi.h"
#include "platform/runtime/text.h"

using namespace win;

namespace {
// A name or text up to its first NUL (all of it when there is none).
std::string beforeNul(std::string text) {
    if (const size_t nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

const uint8_t* bytesOf(const std::string& text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}
}  // namespace

HKEY clsRegistry::MapRootKey(int32_t hKey) {
    switch (hKey) {
        case 0:
            return HKEY_CLASSES_ROOT;
        case 1:
            return HKEY_CURRENT_USER;
        case 2:
            return HKEY_LOCAL_MACHINE;
        case 3:
            return HKEY_USERS;
        case 4:
            return HKEY_CURRENT_CONFIG;
        case 5:
            return HKEY_DYN_DATA;
        default:
            return 0;
    }
}

void clsRegistry::CreateKey(int32_t& hKey, const std::string& strPath) {
    const HKEY root = MapRootKey(hKey);
    hKey = static_cast<int32_t>(root);
    HKEY key = 0;
    RegCreateKeyA(root, strPath, key);
    RegCloseKey(key);
}

void clsRegistry::DeleteKey(int32_t hKey, const std::string& strPath) {
    RegDeleteKeyA(MapRootKey(hKey), strPath);
}

void clsRegistry::DeleteValue(int32_t hKey, const std::string& strPath,
                              const std::string& strValue) {
    HKEY key = 0;
    RegOpenKeyA(MapRootKey(hKey), strPath, key);
    RegDeleteValueA(key, strValue);
    RegCloseKey(key);
}

std::string clsRegistry::GetSettingString(int32_t& hKey, const std::string& strPath,
                                          const std::string& strValue, const std::string& Default) {
    std::string result = Default;
    const HKEY root = MapRootKey(hKey);
    hKey = static_cast<int32_t>(root);
    HKEY key = 0;
    RegOpenKeyA(root, strPath, key);
    uint32_t type = 0;
    uint32_t count = 0;
    if (RegQueryValueExA(key, strValue, &type, nullptr, &count) != kRegOk) {
        result = "Error";
    } else if (type == REG_SZ) {
        std::string buffer(count, ' ');
        uint32_t scratch = 0;
        RegQueryValueExA(key, strValue, &scratch, reinterpret_cast<uint8_t*>(buffer.data()),
                         &count);
        // Spaces go from both ends first, so spaces just before a NUL stay.
        result = platform::fromAnsi(beforeNul(platform::Trim(buffer)));
    }
    RegCloseKey(key);
    return result;
}

void clsRegistry::SaveSettingString(int32_t& hKey, const std::string& strPath,
                                    const std::string& strValue, const std::string& strData) {
    const HKEY root = MapRootKey(hKey);
    hKey = static_cast<int32_t>(root);
    HKEY key = 0;
    RegCreateKeyA(root, strPath, key);
    const std::string ansi = platform::toAnsi(strData);
    RegSetValueExA(key, strValue, REG_SZ, bytesOf(ansi), static_cast<uint32_t>(ansi.size()));
    RegCloseKey(key);
}

int32_t clsRegistry::GetSettingLong(int32_t hKey, const std::string& strPath,
                                    const std::string& strValue, int32_t Default) {
    int32_t result = Default;
    HKEY key = 0;
    RegOpenKeyA(MapRootKey(hKey), strPath, key);
    uint32_t type = 0;
    std::array<uint8_t, 4> number{};
    uint32_t count = 4;
    if (RegQueryValueExA(key, strValue, &type, number.data(), &count) == kRegOk &&
        type == REG_DWORD) {
        result = static_cast<int32_t>(number[0] | number[1] << 8 | number[2] << 16 |
                                      static_cast<uint32_t>(number[3]) << 24);
    }
    RegCloseKey(key);
    return result;
}

void clsRegistry::SaveSettingLong(int32_t hKey, const std::string& strPath,
                                  const std::string& strValue, int32_t lData) {
    HKEY key = 0;
    RegCreateKeyA(MapRootKey(hKey), strPath, key);
    const auto bits = static_cast<uint32_t>(lData);
    const std::array<uint8_t, 4> number = {
        static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
        static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    RegSetValueExA(key, strValue, REG_DWORD, number.data(), 4);
    RegCloseKey(key);
}

RegistryBytes clsRegistry::GetSettingByte(int32_t hKey, const std::string& strPath,
                                          const std::string& strValueName,
                                          const RegistryBytes& Default) {
    RegistryBytes result = int16_t{0};
    if (std::holds_alternative<std::vector<uint8_t>>(Default)) {
        result = Default;
    }
    HKEY key = 0;
    RegOpenKeyA(MapRootKey(hKey), strPath, key);
    uint32_t type = 0;
    uint32_t count = 0;
    if (RegQueryValueExA(key, strValueName, &type, nullptr, &count) == kRegOk &&
        type == REG_BINARY) {
        std::vector<uint8_t> data(count);
        if (count > 0) {
            uint32_t scratch = 0;
            RegQueryValueExA(key, strValueName, &scratch, data.data(), &count);
        }
        result = std::move(data);
    }
    RegCloseKey(key);
    return result;
}

void clsRegistry::SaveSettingByte(int32_t hKey, const std::string& strPath,
                                  const std::string& strValueName,
                                  const std::vector<uint8_t>& byData) {
    HKEY key = 0;
    RegCreateKeyA(MapRootKey(hKey), strPath, key);
    RegSetValueExA(key, strValueName, REG_BINARY, byData.data(),
                   static_cast<uint32_t>(byData.size()));
    RegCloseKey(key);
}

std::vector<std::string> clsRegistry::GetAllKeys(int32_t& hKey, const std::string& strPath) {
    const HKEY root = MapRootKey(hKey);
    hKey = static_cast<int32_t>(root);
    HKEY key = 0;
    RegOpenKeyA(root, strPath, key);
    std::vector<std::string> names;
    for (uint32_t index = 0;; ++index) {
        std::string buffer(255, ' ');
        if (RegEnumKeyA(key, index, buffer.data(), 255) != kRegOk) {
            break;
        }
        names.push_back(platform::fromAnsi(beforeNul(std::move(buffer))));
    }
    RegCloseKey(key);
    return names;
}

std::vector<RegistryValueRow> clsRegistry::GetAllValues(int32_t& hKey, const std::string& strPath) {
    const HKEY root = MapRootKey(hKey);
    hKey = static_cast<int32_t>(root);
    HKEY key = 0;
    RegOpenKeyA(root, strPath, key);
    std::vector<RegistryValueRow> rows;
    std::vector<uint8_t> data(4000);
    for (uint32_t index = 0;; ++index) {
        std::string name(255, ' ');
        uint32_t nameSize = 255;
        uint32_t type = 0;
        uint32_t dataSize = 4000;
        if (RegEnumValueA(key, index, name.data(), &nameSize, &type, data.data(), &dataSize) !=
            kRegOk) {
            break;
        }
        rows.push_back(
            {platform::fromAnsi(beforeNul(std::move(name))), static_cast<int32_t>(type)});
    }
    RegCloseKey(key);
    return rows;
}
