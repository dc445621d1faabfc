#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace win::detail {

// One image of an icon (.ico) or cursor (.cur) file, as its directory describes it.
struct IconEntry {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t offset = 0;  // the image's bytes within the file
    uint32_t size = 0;
    bool png = false;     // a compressed image rather than a device-independent bitmap
    bool cursor = false;  // from a cursor file, which gives each image a hot spot
    int32_t hotSpotX = 0;
    int32_t hotSpotY = 0;
};

// The image of an icon or cursor file nearest cx x cy (the first of equally near ones); nullopt
// when the directory or any of its entries is malformed (an entry outside the file, an image that
// is neither a bitmap nor compressed). An icon's hot spot is its centre.
std::optional<IconEntry> chooseIconEntry(std::span<const uint8_t> file, int32_t cx, int32_t cy);

// The little-endian number at `at`; the caller has checked that the bytes are there.
inline uint32_t readLe16(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | (static_cast<uint32_t>(bytes[at + 1]) << 8);
}
inline uint32_t readLe32(std::span<const uint8_t> bytes, size_t at) {
    return readLe16(bytes, at) | (readLe16(bytes, at + 2) << 16);
}

}  // namespace win::detail
