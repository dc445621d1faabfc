#include "platform/ui/icon_file.h"

#include <cstdlib>

namespace win::detail {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kBitmapHeaderSize = 40;
constexpr uint32_t kIconType = 1;
constexpr uint32_t kCursorType = 2;

bool isPng(std::span<const uint8_t> bytes, size_t at, size_t size) {
    static const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof signature) {
        return false;
    }
    for (size_t i = 0; i < sizeof signature; ++i) {
        if (bytes[at + i] != signature[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<IconEntry> chooseIconEntry(std::span<const uint8_t> file, int32_t cx, int32_t cy) {
    if (file.size() < kDirectorySize || readLe16(file, 0) != 0) {
        return std::nullopt;
    }
    const uint32_t type = readLe16(file, 2);
    const size_t count = readLe16(file, 4);
    if ((type != kIconType && type != kCursorType) || count == 0 ||
        file.size() < kDirectorySize + count * kEntrySize) {
        return std::nullopt;
    }
    std::optional<IconEntry> best;
    int64_t bestDistance = -1;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = kDirectorySize + i * kEntrySize;
        IconEntry entry;
        entry.width = file[at] == 0 ? 256 : file[at];
        entry.height = file[at + 1] == 0 ? 256 : file[at + 1];
        entry.size = readLe32(file, at + 8);
        entry.offset = readLe32(file, at + 12);
        if (entry.offset > file.size() || entry.size > file.size() - entry.offset) {
            return std::nullopt;
        }
        entry.png = isPng(file, entry.offset, entry.size);
        const bool bitmap =
            entry.size >= kBitmapHeaderSize && readLe32(file, entry.offset) == kBitmapHeaderSize;
        if (!bitmap && !entry.png) {
            return std::nullopt;
        }
        entry.cursor = type == kCursorType;
        entry.hotSpotX =
            entry.cursor ? static_cast<int32_t>(readLe16(file, at + 4)) : entry.width / 2;
        entry.hotSpotY =
            entry.cursor ? static_cast<int32_t>(readLe16(file, at + 6)) : entry.height / 2;
        const int64_t distance = std::abs(entry.width - cx) + std::abs(entry.height - cy);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = entry;
        }
    }
    return best;
}

}  // namespace win::detail
