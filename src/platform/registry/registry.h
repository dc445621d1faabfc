#pragma once

#include <cstdint>
#include <string_view>

// Registry operations over the file-backed store of the process (see registry_store.h for where
// the files live). Key paths and value names arrive as UTF-8 and are held in Windows-1252; names
// and data returned in the caller's buffers are Windows-1252 bytes (fromAnsi turns them into
// text). Data is bytes: callers convert text data with toAnsi/fromAnsi themselves.
namespace win {

// An open key: a root handle below, or a small number given out by RegOpenKeyA/RegCreateKeyA.
// Handle 0 is never valid.
using HKEY = uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006;

// Value types the system names; any other 32-bit number is stored and returned unchanged.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;

// Statuses: 0 is success, everything else a failure.
enum RegStatus : int32_t {
    kRegOk = 0,
    kRegNotFound = 2,        // no such key or value
    kRegAccessDenied = 5,    // a key that still has subkeys cannot be deleted
    kRegBadHandle = 6,       // 0, a closed handle or no root of the store
    kRegBadParameter = 87,   // a missing size, an empty key name to delete, a control byte in a key
    kRegMoreData = 234,      // the name or data does not fit the buffer offered
    kRegNoMoreItems = 259,   // the index is past the last subkey or value
    kRegCorrupt = 1009,      // the hive file could not be read nor moved aside: writes refused
    kRegCannotWrite = 1013,  // the hive file could not be written; the old one is intact
    kRegKeyDeleted = 1018,   // the key behind an open handle is gone
};

// Opens an existing key below key (empty subKey: the key itself). On failure result is 0.
int32_t RegOpenKeyA(HKEY key, std::string_view subKey, HKEY& result);
// Opens the key, creating it and every missing key on its path.
int32_t RegCreateKeyA(HKEY key, std::string_view subKey, HKEY& result);
// Frees a handle from RegOpenKeyA/RegCreateKeyA; closing a root handle does nothing.
int32_t RegCloseKey(HKEY key);

// Type and data of a value (empty name: the key's default value). With data null, size receives
// the byte count. Otherwise size is the bytes offered and receives the byte count; data that does
// not fit gives kRegMoreData and leaves the buffer untouched.
int32_t RegQueryValueExA(HKEY key, std::string_view name, uint32_t* type, uint8_t* data,
                         uint32_t* size);
// Stores size bytes of data with the given type, replacing any value of that name.
int32_t RegSetValueExA(HKEY key, std::string_view name, uint32_t type, const uint8_t* data,
                       uint32_t size);
int32_t RegDeleteValueA(HKEY key, std::string_view name);
// Deletes the key at subKey below key; it must have no subkeys.
int32_t RegDeleteKeyA(HKEY key, std::string_view subKey);

// Name of subkey number index, with its NUL, into a buffer of nameSize bytes.
int32_t RegEnumKeyA(HKEY key, uint32_t index, char* name, uint32_t nameSize);
// Name, type and data of value number index. nameSize is the buffer size in bytes and receives the
// name's length without its NUL; dataSize as for RegQueryValueExA. Each out-pointer but name and
// nameSize may be null.
int32_t RegEnumValueA(HKEY key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize);

}  // namespace win
