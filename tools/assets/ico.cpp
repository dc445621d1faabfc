#include "assets/ico.h"

#include <stdexcept>

#include "assets/bitmap_header.h"

namespace assetgen {

namespace {

constexpr std::uint32_t kDirSize = 6;
constexpr std::uint32_t kEntrySize = 16;

}  // namespace

std::string encodeIco(const Image& image) {
    if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256) {
        throw std::invalid_argument("an icon image measures 1 to 256 pixels each way");
    }
    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    const std::uint32_t colourBytes = w * h * 4;
    const std::uint32_t maskStride = (w + 31) / 32 * 4;
    const std::uint32_t maskBytes = maskStride * h;
    const std::uint32_t imageBytes = kBitmapInfoHeaderSize + colourBytes + maskBytes;

    LittleEndianWriter out;
    // Icon directory with one entry; 256 is written as 0.
    out.u16(0);
    out.u16(1);
    out.u16(1);
    out.u8(static_cast<std::uint8_t>(w & 0xFF));
    out.u8(static_cast<std::uint8_t>(h & 0xFF));
    out.u8(0);  // no palette
    out.u8(0);
    out.u16(1);   // planes
    out.u16(32);  // bits per pixel
    out.u32(imageBytes);
    out.u32(kDirSize + kEntrySize);

    // The image's header counts the colour rows and the mask rows together: twice the height.
    writeBitmapInfoHeader(out, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h * 2), 32,
                          colourBytes + maskBytes, 0);

    // Rows run bottom to top in both the colour data and the mask.
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            out.u8(p.b);
            out.u8(p.g);
            out.u8(p.r);
            out.u8(p.a);
        }
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (std::uint32_t byte = 0; byte < maskStride; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const auto x = static_cast<int>(byte * 8) + bit;
                if (x < image.width && image.at(x, y).a == 0) {
                    bits |= static_cast<std::uint8_t>(0x80 >> bit);
                }
            }
            out.u8(bits);
        }
    }
    return out.take();
}

}  // namespace assetgen
