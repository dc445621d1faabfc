#pragma once

#include <string>
#include <string_view>

// The system's ANSI code page is Windows-1252: one byte per character. Text inside the program is
// UTF-8; operations whose names end in A convert at the boundary.
namespace platform {

// UTF-8 to Windows-1252. A character the code page cannot hold, or a malformed UTF-8 sequence,
// becomes "?".
std::string toAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the control characters of the same number, so every byte string round-trips.
std::string fromAnsi(std::string_view ansi);

}  // namespace platform
