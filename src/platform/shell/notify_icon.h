#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The shell's tray icon operation on the ANSI NOTIFYICONDATA record of 488 bytes (the layout that
// ends with dwInfoFlags and has no GUID), little-endian.
namespace win {

constexpr uint32_t NIM_ADD = 0;
constexpr uint32_t NIM_MODIFY = 1;
constexpr uint32_t NIM_DELETE = 2;

constexpr uint32_t NIF_MESSAGE = 0x1;
constexpr uint32_t NIF_ICON = 0x2;
constexpr uint32_t NIF_TIP = 0x4;
constexpr uint32_t NIF_STATE = 0x8;
constexpr uint32_t NIF_INFO = 0x10;

// Field offsets and text widths of the record.
namespace nid {
constexpr size_t cbSize = 0;
constexpr size_t hWnd = 4;
constexpr size_t uID = 8;
constexpr size_t uFlags = 12;
constexpr size_t uCallbackMessage = 16;
constexpr size_t hIcon = 20;
constexpr size_t szTip = 24;
constexpr size_t szTipWidth = 128;
constexpr size_t dwState = 152;
constexpr size_t dwStateMask = 156;
constexpr size_t szInfo = 160;
constexpr size_t szInfoWidth = 256;
constexpr size_t uTimeout = 416;
constexpr size_t szInfoTitle = 420;
constexpr size_t szInfoTitleWidth = 64;
constexpr size_t dwInfoFlags = 484;
constexpr size_t kSize = 488;
}  // namespace nid

using NotifyIconRecord = std::array<uint8_t, nid::kSize>;

// Adds, modifies or deletes the icon named by the record's window handle and id. Only the fields
// that uFlags names are taken (NIF_INFO shows the balloon szInfo titled szInfoTitle). A text field
// ends at its first NUL or, without one, at the field's end. Returns non-zero on success; 0 for a
// cbSize other than 488, an add of an icon that is there, a window handle that names no window
// (add), or a modify or delete of an icon that is not there. Every call is traced.
int32_t Shell_NotifyIconA(uint32_t dwMessage, const NotifyIconRecord& lpData);

}  // namespace win
