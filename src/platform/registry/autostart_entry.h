#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/runtime/result.h"

// The Run key of HKEY_CURRENT_USER lists the programs to start at logon. On this desktop only an
// XDG autostart entry starts anything, so each value stored there gets the entry
// "<value name>.desktop" in the user's autostart folder, and deleting the value (or the key)
// removes it. A value that cannot be written as an entry is refused with one line on stderr and
// leaves the folder as it was. Names and data arrive as the store holds them, in Windows-1252.
namespace platform {

// True for HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, its path given as the
// store's names (any case).
bool isAutostartKey(win::HKEY root, const std::vector<std::string>& names);

// Makes the entry of a value just stored under the Run key; a value that cannot have one removes
// the entry its earlier data had.
void autostartValueSet(std::string_view name, uint32_t type, std::string_view data);
// Removes the entry of a value deleted from the Run key.
void autostartValueDeleted(std::string_view name);

// The user's autostart folder: TARNIX_AUTOSTART_DIR when set (a demo keeps its entries apart),
// else "autostart" in the user's configuration folder (configHome), else a failure.
Result<std::filesystem::path> autostartFolder();

// The program and arguments of a Windows command line. The program is the text in quotes when the
// line starts with one, else the shortest run of words naming an existing file (the whole line
// when none does). It becomes a real path as the program folder's paths do ("\" to "/"), and a
// ".exe" that is not on disk is dropped (the executable has none). The arguments are split as the
// Windows C run time splits them. Fails for an empty program or a path that is not absolute (a
// bare program name is looked up in PATH and is kept).
Result<std::vector<std::string>> commandArguments(std::string_view commandLine);

// The value of an Exec key running arguments, as it stands in the file: an argument holding a
// reserved character is quoted, every backslash then doubled and every "%" written "%%". Fails
// for text that is not UTF-8 or holds a control character, and for a program name with "=".
Result<std::string> execValue(const std::vector<std::string>& arguments);

// The whole autostart entry running arguments.
Result<std::string> autostartEntry(const std::vector<std::string>& arguments);

}  // namespace platform
