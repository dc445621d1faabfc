#include "platform/ui/image_api.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files/paths.h"
#include "platform/runtime/ansi.h"
#include "platform/ui/icon_file.h"
#include "platform/ui/model.h"

namespace win {

namespace {

constexpr size_t kMaxIconFile = 4 * 1024 * 1024;

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
    const auto entry = detail::chooseIconEntry(icon.file, cx > 0 ? cx : 32, cy > 0 ? cy : 32);
    if (!entry || entry->cursor) {
        return 0;
    }
    icon.width = entry->width;
    icon.height = entry->height;
    icon.offset = entry->offset;
    icon.size = entry->size;
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
