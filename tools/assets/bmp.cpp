#include "assets/bmp.h"

#include <stdexcept>

#include "assets/bitmap_header.h"

namespace assetgen {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

}  // namespace

std::string encodeBmp24(const Image& image) {
    if (image.width < 1 || image.height < 1 || image.width > 0x7FFF || image.height > 0x7FFF) {
        throw std::invalid_argument("a bitmap measures 1 to 32767 pixels each way");
    }
    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * h;
    const std::uint32_t offset = kFileHeaderSize + kBitmapInfoHeaderSize;

    LittleEndianWriter out;
    out.text("BM");
    out.u32(offset + pixelBytes);
    out.u16(0);
    out.u16(0);
    out.u32(offset);

    writeBitmapInfoHeader(out, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h), 24,
                          pixelBytes, kPixelsPerMetre);

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            out.u8(p.b);
            out.u8(p.g);
            out.u8(p.r);
        }
        for (std::uint32_t pad = w * 3; pad < stride; ++pad) {
            out.u8(0);
        }
    }
    return out.take();
}

}  // namespace assetgen
