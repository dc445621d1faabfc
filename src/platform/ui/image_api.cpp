#include "platform/ui/image_api.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files/paths.h"
#include "platform/runtime/ansi.h"
#include "platform/ui/model.h"

namespace win {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kBitmapHeaderSize = 40;
constexpr size_t kMaxIconFile = 4 * 1024 * 1024;

uint32_t read16(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

uint32_t read32(const std::vector<uint8_t>& bytes, size_t at) {
    return read16(bytes, at) | (read16(bytes, at + 2) << 16);
}

bool isPng(const std::vector<uint8_t>& bytes, size_t at, size_t size) {
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

// Picks the image nearest the wanted size from a well-formed icon file; false otherwise.
bool chooseImage(const std::vector<uint8_t>& file, int32_t cx, int32_t cy, IconImage& icon) {
    if (file.size() < kDirectorySize || read16(file, 0) != 0 || read16(file, 2) != 1) {
        return false;
    }
    const size_t count = read16(file, 4);
    if (count == 0 || file.size() < kDirectorySize + count * kEntrySize) {
        return false;
    }
    int64_t bestDistance = -1;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = kDirectorySize + i * kEntrySize;
        const int32_t width = file[entry] == 0 ? 256 : file[entry];
        const int32_t height = file[entry + 1] == 0 ? 256 : file[entry + 1];
        const uint32_t size = read32(file, entry + 8);
        const uint32_t offset = read32(file, entry + 12);
        if (offset > file.size() || size > file.size() - offset) {
            return false;
        }
        const bool bitmap = size >= kBitmapHeaderSize && read32(file, offset) == kBitmapHeaderSize;
        if (!bitmap && !isPng(file, offset, size)) {
            return false;
        }
        const int64_t distance = std::abs(width - cx) + std::abs(height - cy);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            icon.width = width;
            icon.height = height;
            icon.offset = offset;
            icon.size = size;
        }
    }
    return true;
}

}  // namespace

int32_t LoadImageA(int32_t /*hInst*/, std::string_view lpszName, uint32_t uType, int32_t cx,
                   int32_t cy, uint32_t fuLoad) {
    if (uType != IMAGE_ICON || (fuLoad & LR_LOADFROMFILE) == 0 || lpszName.empty()) {
        return 0;
    }
    const auto path = platform::nativePath(platform::fromAnsi(lpszName));
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(path, error) || size > kMaxIconFile) {
        return 0;
    }
    IconImage icon;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return 0;
        }
        icon.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            return 0;
        }
    } catch (const std::exception&) {
        return 0;
    }
    if (!chooseImage(icon.file, cx > 0 ? cx : 32, cy > 0 ? cy : 32, icon)) {
        return 0;
    }
    auto& model = detail::model();
    const int32_t handle = model.nextIconHandle++;
    model.icons[handle] = std::move(icon);
    return handle;
}

const IconImage* FindIcon(int32_t hIcon) {
    auto& icons = detail::model().icons;
    auto found = icons.find(hIcon);
    return found == icons.end() ? nullptr : &found->second;
}

}  // namespace win
