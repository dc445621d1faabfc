#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The in-memory tree of one registry root. Names and data are Windows-1252 bytes.
namespace platform::registry {

struct Value {
    std::string name;
    uint32_t type = 0;
    std::string data;

    bool operator==(const Value&) const = default;
};

// Values keep the order they were first stored in; subkeys are kept sorted by name without regard
// to case, so the file and every listing come out the same whatever order they were made in, and a
// subkey is found by a binary search. A value is found by a linear search.
struct Key {
    std::string name;
    std::vector<Value> values;
    std::vector<Key> subkeys;

    Key* findSubkey(std::string_view subName);
    const Key* findSubkey(std::string_view subName) const;
    // The subkey of that name, made when missing (keeping an existing one's case).
    Key& subkey(std::string_view subName);
    // True when a subkey of that name was removed.
    bool removeSubkey(std::string_view subName);

    Value* findValue(std::string_view valueName);
    const Value* findValue(std::string_view valueName) const;
    // Stores a value in place of one of the same name (which keeps its case and position).
    void setValue(std::string_view valueName, uint32_t type, std::string data);
    bool removeValue(std::string_view valueName);

    bool operator==(const Key&) const = default;
};

// Names compare without regard to case in Windows-1252 (ASCII and accented letters alike).
bool sameName(std::string_view a, std::string_view b);
// Ordering of names without regard to case.
bool nameLess(std::string_view a, std::string_view b);

// A key path split at "\"; empty parts (a leading, trailing or doubled "\") are skipped.
std::vector<std::string> splitPath(std::string_view path);

// Key names may hold any byte except "\" and the control bytes (they name a line of the file).
bool validKeyName(std::string_view name);

}  // namespace platform::registry
