#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry/hive.h"
#include "platform/runtime/result.h"

// The text form of one root's hive file; the rules are written down in docs/registry-format.md.
namespace platform::registry {

inline constexpr std::string_view kHiveHeader = "Windows Registry Editor Version 5.00";

// The whole file for the root named rootName ("HKEY_CURRENT_USER"): UTF-8, one line per key
// header and per value, ending in a newline.
std::string formatHive(std::string_view rootName, const Key& root);

// Reads a file made by formatHive (or edited by hand within the same rules). An empty text is an
// empty hive. A refused text fails with win::kRegCorrupt and "line <n>: <why>" (lines count from
// 1).
Result<Key> parseHive(std::string_view rootName, std::string_view text);

}  // namespace platform::registry
