#include "platform/ui/picture_decode.h"

#include <algorithm>

#include "platform/ui/icon_file.h"

namespace win::detail {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
// Later versions of the info header add colour-space fields this reading does not need.
constexpr uint32_t kLargerInfoHeaders[] = {52, 56, 108, 124};
constexpr int32_t kSystemIconSize = 32;

// How the rows of a device-independent bitmap lie.
struct Layout {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    size_t bytesPerPixel = 0;
    size_t stride = 0;  // rows are padded to four bytes
    uint32_t headerSize = 0;
    uint32_t coloursUsed = 0;
};

// Reads the info header at `at`. An icon's image is bottom-up and its header counts the mask's
// rows in its height, which is therefore twice the image's height.
std::optional<Layout> readInfoHeader(std::span<const uint8_t> bytes, size_t at, bool icon,
                                     int32_t maxSide) {
    if (at > bytes.size() || bytes.size() - at < kInfoHeaderSize) {
        return std::nullopt;
    }
    Layout layout;
    layout.headerSize = readLe32(bytes, at);
    const auto width = static_cast<int32_t>(readLe32(bytes, at + 4));
    const int64_t height = static_cast<int32_t>(readLe32(bytes, at + 8));
    const uint32_t planes = readLe16(bytes, at + 12);
    const uint32_t bitCount = readLe16(bytes, at + 14);
    const uint32_t compression = readLe32(bytes, at + 16);
    layout.coloursUsed = readLe32(bytes, at + 32);
    const bool knownHeader = layout.headerSize == kInfoHeaderSize ||
                             (!icon && std::ranges::find(kLargerInfoHeaders, layout.headerSize) !=
                                           std::end(kLargerInfoHeaders));
    if (!knownHeader || layout.headerSize > bytes.size() - at || planes != 1 ||
        (bitCount != 24 && bitCount != 32) || compression != 0) {
        return std::nullopt;
    }
    int64_t rows = height < 0 ? -height : height;
    if (icon) {
        if (height <= 0 || height % 2 != 0) {
            return std::nullopt;
        }
        rows = height / 2;
    }
    if (width < 1 || width > maxSide || rows < 1 || rows > maxSide) {
        return std::nullopt;
    }
    layout.width = width;
    layout.height = static_cast<int32_t>(rows);
    layout.topDown = height < 0;
    layout.bytesPerPixel = bitCount / 8;
    layout.stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    return layout;
}

bool fits(std::span<const uint8_t> bytes, size_t at, size_t length) {
    return at <= bytes.size() && bytes.size() - at >= length;
}

// Reads the colour rows at `at` into picture; with alpha, also the fourth byte of each pixel.
bool readRows(std::span<const uint8_t> bytes, size_t at, const Layout& layout,
              DecodedPicture& picture, std::vector<uint8_t>* alpha) {
    const auto width = static_cast<size_t>(layout.width);
    const auto height = static_cast<size_t>(layout.height);
    if (!fits(bytes, at, layout.stride * height)) {
        return false;
    }
    picture.width = layout.width;
    picture.height = layout.height;
    picture.pixels.resize(width * height);
    if (alpha) {
        alpha->resize(width * height);
    }
    for (size_t y = 0; y < height; ++y) {
        const size_t row = layout.topDown ? y : height - 1 - y;
        const uint8_t* p = bytes.data() + at + row * layout.stride;
        for (size_t x = 0; x < width; ++x, p += layout.bytesPerPixel) {
            picture.pixels[y * width + x] = p[2] | (p[1] << 8) | (p[0] << 16);
            if (alpha) {
                (*alpha)[y * width + x] = layout.bytesPerPixel == 4 ? p[3] : 0;
            }
        }
    }
    return true;
}

std::optional<DecodedPicture> decodeBitmapFile(std::span<const uint8_t> bytes, int32_t maxSide) {
    const auto layout = readInfoHeader(bytes, kFileHeaderSize, false, maxSide);
    if (!layout) {
        return std::nullopt;
    }
    // The pixels may not start inside the headers.
    const uint32_t bitsAt = readLe32(bytes, 10);
    DecodedPicture picture;
    if (bitsAt < kFileHeaderSize + layout->headerSize ||
        !readRows(bytes, bitsAt, *layout, picture, nullptr)) {
        return std::nullopt;
    }
    return picture;
}

std::optional<DecodedPicture> decodeIconFile(std::span<const uint8_t> bytes, int32_t maxSide) {
    const auto entry = chooseIconEntry(bytes, kSystemIconSize, kSystemIconSize);
    if (!entry || entry->png) {
        return std::nullopt;
    }
    const auto image = bytes.subspan(entry->offset, entry->size);
    const auto layout = readInfoHeader(image, 0, true, maxSide);
    if (!layout || layout->coloursUsed > 256) {
        return std::nullopt;
    }
    DecodedPicture picture;
    std::vector<uint8_t> channel;
    const size_t bitsAt = kInfoHeaderSize + size_t{layout->coloursUsed} * 4;
    if (!readRows(image, bitsAt, *layout, picture, &channel)) {
        return std::nullopt;
    }
    const auto width = static_cast<size_t>(layout->width);
    const auto height = static_cast<size_t>(layout->height);
    const size_t maskAt = bitsAt + layout->stride * height;
    const size_t maskStride = (width + 31) / 32 * 4;
    if (!fits(image, maskAt, maskStride * height)) {
        return std::nullopt;
    }
    // An image whose alpha bytes are all 0 has no alpha channel: the mask alone shapes it.
    const bool hasAlpha = std::ranges::any_of(channel, [](uint8_t a) { return a != 0; });
    picture.icon = true;
    picture.alpha.resize(width * height);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* maskRow = image.data() + maskAt + (height - 1 - y) * maskStride;
        for (size_t x = 0; x < width; ++x) {
            const bool clear = (maskRow[x / 8] & (0x80 >> (x % 8))) != 0;
            const size_t i = y * width + x;
            picture.alpha[i] = hasAlpha ? channel[i] : (clear ? 0 : 255);
        }
    }
    picture.hotSpotX = std::min(entry->hotSpotX, picture.width - 1);
    picture.hotSpotY = std::min(entry->hotSpotY, picture.height - 1);
    return picture;
}

}  // namespace

std::optional<DecodedPicture> decodePicture(std::span<const uint8_t> bytes, int32_t maxSide) {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return decodeBitmapFile(bytes, maxSide);
    }
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0) {
        return decodeIconFile(bytes, maxSide);
    }
    return std::nullopt;
}

}  // namespace win::detail
