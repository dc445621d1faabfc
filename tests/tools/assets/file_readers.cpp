#include "file_readers.h"

#include <stdexcept>
#include <string>

namespace filereaders {

namespace {

// The n-byte little-endian number at `at`.
std::uint32_t le(std::string_view bytes, std::size_t at, std::size_t n) {
    if (at > bytes.size() || bytes.size() - at < n) {
        throw std::runtime_error("read past the end at byte " + std::to_string(at));
    }
    std::uint32_t value = 0;
    for (std::size_t i = n; i-- > 0;) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

void require(bool ok, const std::string& fault) {
    if (!ok) {
        throw std::runtime_error(fault);
    }
}

std::uint8_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(le(bytes, at, 1));
}

}  // namespace

Picture readIco(std::string_view b) {
    require(le(b, 0, 2) == 0 && le(b, 2, 2) == 1 && le(b, 4, 2) == 1,
            "not an icon directory with exactly one image");
    const std::uint32_t w = le(b, 6, 1) == 0 ? 256 : le(b, 6, 1);
    const std::uint32_t h = le(b, 7, 1) == 0 ? 256 : le(b, 7, 1);
    require(le(b, 8, 1) == 0 && le(b, 10, 2) == 1 && le(b, 12, 2) == 32,
            "entry is not a 32-bit image without palette");
    const std::uint32_t at = le(b, 18, 4);
    require(at >= 22 && at <= b.size() && b.size() - at == le(b, 14, 4),
            "entry's offset and size do not cover the rest of the file");
    require(le(b, at, 4) == 40 && le(b, at + 4, 4) == w && le(b, at + 8, 4) == 2 * h &&
                le(b, at + 12, 2) == 1 && le(b, at + 14, 2) == 32 && le(b, at + 16, 4) == 0,
            "image header is not one plane of uncompressed 32-bit pixels of the entry's size");
    const std::size_t pixelsAt = at + 40;
    const std::size_t maskAt = pixelsAt + std::size_t{w} * h * 4;
    const std::size_t maskStride = (w + 31) / 32 * 4;
    require(maskAt + maskStride * h == b.size(), "pixel and mask data do not fill the image");
    Picture icon{static_cast<int>(w), static_cast<int>(h), {}, {}};
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::uint32_t row = h - 1 - y;  // bottom-up
        for (std::uint32_t x = 0; x < w; ++x) {
            const std::size_t p = pixelsAt + (std::size_t{row} * w + x) * 4;
            icon.pixels.push_back(
                {byteAt(b, p + 2), byteAt(b, p + 1), byteAt(b, p), byteAt(b, p + 3)});
            const auto mask = byteAt(b, maskAt + row * maskStride + x / 8);
            icon.transparent.push_back((mask & (0x80 >> (x % 8))) != 0);
        }
    }
    return icon;
}

Picture readBmp(std::string_view b) {
    require(b.substr(0, 2) == "BM" && le(b, 2, 4) == b.size(), "no BM signature or wrong size");
    const std::uint32_t w = le(b, 18, 4);
    const std::uint32_t h = le(b, 22, 4);
    require(le(b, 14, 4) == 40 && le(b, 26, 2) == 1 && le(b, 28, 2) == 24 && le(b, 30, 4) == 0,
            "not a 40-byte header of one plane of uncompressed 24-bit pixels");
    require(w > 0 && w < 65536 && h > 0 && h < 65536, "not a bottom-up bitmap of a sane size");
    const std::size_t stride = (std::size_t{w} * 3 + 3) / 4 * 4;
    require(le(b, 10, 4) == 54 && le(b, 34, 4) == stride * h && b.size() == 54 + stride * h,
            "pixel data offset or size is wrong");
    Picture bmp{static_cast<int>(w), static_cast<int>(h), {}, {}};
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::size_t rowAt = 54 + stride * (h - 1 - y);
        for (std::uint32_t x = 0; x < w; ++x) {
            const std::size_t p = rowAt + x * 3;
            bmp.pixels.push_back({byteAt(b, p + 2), byteAt(b, p + 1), byteAt(b, p), 255});
        }
        for (std::size_t pad = std::size_t{w} * 3; pad < stride; ++pad) {
            require(byteAt(b, rowAt + pad) == 0, "row padding is not zero");
        }
    }
    return bmp;
}

Wave readWav(std::string_view b) {
    require(b.substr(0, 4) == "RIFF" && le(b, 4, 4) == b.size() - 8 && b.substr(8, 4) == "WAVE",
            "not a RIFF/WAVE file of its own size");
    Wave wave;
    bool haveFormat = false;
    bool haveData = false;
    for (std::size_t at = 12; at <= b.size() && b.size() - at >= 8;) {
        const std::string_view id = b.substr(at, 4);
        const std::uint32_t size = le(b, at + 4, 4);
        at += 8;
        require(b.size() - at >= size, std::string(id) + " chunk runs past the end");
        if (id == "fmt ") {
            require(size >= 16, "fmt chunk too short");
            wave.formatTag = static_cast<int>(le(b, at, 2));
            wave.channels = static_cast<int>(le(b, at + 2, 2));
            wave.sampleRate = le(b, at + 4, 4);
            const std::uint32_t blockAlign = le(b, at + 12, 2);
            wave.bitsPerSample = static_cast<int>(le(b, at + 14, 2));
            require(
                blockAlign == static_cast<std::uint32_t>(wave.channels * wave.bitsPerSample / 8) &&
                    le(b, at + 8, 4) == wave.sampleRate * blockAlign,
                "block align or byte rate inconsistent");
            haveFormat = true;
        } else if (id == "data") {
            require(haveFormat && wave.bitsPerSample == 16 && size % 2 == 0,
                    "data before fmt, or not whole 16-bit samples");
            for (std::uint32_t i = 0; i < size; i += 2) {
                wave.samples.push_back(static_cast<std::int16_t>(le(b, at + i, 2)));
            }
            haveData = true;
        }
        at += size + (size & 1);
    }
    require(haveFormat && haveData, "fmt or data chunk missing");
    return wave;
}

}  // namespace filereaders
