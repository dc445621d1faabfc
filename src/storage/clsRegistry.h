#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/registry/registry.h"

// What GetSettingByte returns: the value's bytes, the caller's byte-array default, or the 16-bit
// integer 0.
using RegistryBytes = std::variant<int16_t, std::vector<uint8_t>>;

// One row of GetAllValues: a value's name and its registry type number.
struct RegistryValueRow {
    std::string name;
    int32_t type = 0;

    bool operator==(const RegistryValueRow&) const = default;
};

// Typed registry values addressed by a root-key number (0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER,
// 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS, 4 HKEY_CURRENT_CONFIG, 5 HKEY_DYN_DATA), a key path and a
// value name. Each call opens its key, does one thing and closes it again; registry statuses are
// not reported. Where hKey is taken by reference it receives the root handle (0 for a number
// outside 0..5); a plain number may be passed there too.
class clsRegistry {
  public:
    void CreateKey(int32_t& hKey, const std::string& strPath);
    void CreateKey(int32_t&& hKey, const std::string& strPath) { CreateKey(hKey, strPath); }

    void DeleteKey(int32_t hKey, const std::string& strPath);
    void DeleteValue(int32_t hKey, const std::string& strPath, const std::string& strValue);

    // The text, "Error" for a missing key or value, or Default for a value of another type.
    std::string GetSettingString(int32_t& hKey, const std::string& strPath,
                                 const std::string& strValue, const std::string& Default = "");
    std::string GetSettingString(int32_t&& hKey, const std::string& strPath,
                                 const std::string& strValue, const std::string& Default = "") {
        return GetSettingString(hKey, strPath, strValue, Default);
    }

    // Stores strData as REG_SZ without a terminating NUL.
    void SaveSettingString(int32_t& hKey, const std::string& strPath, const std::string& strValue,
                           const std::string& strData);
    void SaveSettingString(int32_t&& hKey, const std::string& strPath, const std::string& strValue,
                           const std::string& strData) {
        SaveSettingString(hKey, strPath, strValue, strData);
    }

    // The REG_DWORD number, or Default for anything else.
    int32_t GetSettingLong(int32_t hKey, const std::string& strPath, const std::string& strValue,
                           int32_t Default = 0);
    void SaveSettingLong(int32_t hKey, const std::string& strPath, const std::string& strValue,
                         int32_t lData);

    // The REG_BINARY bytes (an empty array for 0 bytes); otherwise Default when it holds bytes,
    // else the integer 0.
    RegistryBytes GetSettingByte(int32_t hKey, const std::string& strPath,
                                 const std::string& strValueName,
                                 const RegistryBytes& Default = int16_t{0});
    // Stores byData as REG_BINARY (an empty array stores a value of 0 bytes).
    void SaveSettingByte(int32_t hKey, const std::string& strPath, const std::string& strValueName,
                         const std::vector<uint8_t>& byData);

    // Subkey names in enumeration order, up to the first one that cannot be returned.
    std::vector<std::string> GetAllKeys(int32_t& hKey, const std::string& strPath);
    std::vector<std::string> GetAllKeys(int32_t&& hKey, const std::string& strPath) {
        return GetAllKeys(hKey, strPath);
    }

    // Value names and types, up to the first value that cannot be returned.
    std::vector<RegistryValueRow> GetAllValues(int32_t& hKey, const std::string& strPath);
    std::vector<RegistryValueRow> GetAllValues(int32_t&& hKey, const std::string& strPath) {
        return GetAllValues(hKey, strPath);
    }

  private:
    static win::HKEY MapRootKey(int32_t hKey);
};
