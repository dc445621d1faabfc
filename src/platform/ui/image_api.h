#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace win {

constexpr uint32_t IMAGE_BITMAP = 0;
constexpr uint32_t IMAGE_ICON = 1;
constexpr uint32_t LR_LOADFROMFILE = 0x10;
constexpr uint32_t LR_LOADMAP3DCOLORS = 0x1000;

// The module instance handle of the program.
constexpr int32_t kAppInstance = 0x400000;

// An icon loaded from a file: the whole .ico file, and which of its images was chosen.
struct IconImage {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t offset = 0;  // the chosen image's bytes within the file
    uint32_t size = 0;
    std::vector<uint8_t> file;
};

// Loads an icon (IMAGE_ICON with LR_LOADFROMFILE) from an .ico file at lpszName, a path in the ANSI
// code page, choosing the image nearest cx x cy. Returns its handle, or 0 for a missing,
// unreadable or malformed file, another image type, or a load from resources (the program has
// none). Handles are never released.
int32_t LoadImageA(int32_t hInst, std::string_view lpszName, uint32_t uType, int32_t cx, int32_t cy,
                   uint32_t fuLoad);

// The icon behind a handle; null for a handle that names none.
const IconImage* FindIcon(int32_t hIcon);

}  // namespace win
