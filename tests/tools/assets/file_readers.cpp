#include "file_readers.h"

namespace filereaders {

namespace {

class Cursor {
  public:
    explicit Cursor(std::string_view bytes, std::size_t at = 0) : bytes_(bytes), at_(at) {}

    bool has(std::size_t n) const { return at_ <= bytes_.size() && bytes_.size() - at_ >= n; }
    std::uint32_t u8() { return static_cast<std::uint8_t>(bytes_[at_++]); }
    std::uint32_t u16() {
        const std::uint32_t lo = u8();
        return lo | (u8() << 8);
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        return lo | (u16() << 16);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::string_view text(std::size_t n) {
        const auto t = bytes_.substr(at_, n);
        at_ += n;
        return t;
    }
    void skip(std::size_t n) { at_ += n; }
    std::size_t at() const { return at_; }

  private:
    std::string_view bytes_;
    std::size_t at_;
};

template <typename T>
std::optional<T> fail(std::string& error, std::string message) {
    error = std::move(message);
    return std::nullopt;
}

}  // namespace

std::optional<IconImage> readIco(std::string_view bytes, std::string& error) {
    Cursor dir(bytes);
    if (!dir.has(6 + 16)) {
        return fail<IconImage>(error, "shorter than an icon directory with one entry");
    }
    if (dir.u16() != 0 || dir.u16() != 1) {
        return fail<IconImage>(error, "reserved/type fields are not 0/1");
    }
    if (dir.u16() != 1) {
        return fail<IconImage>(error, "not exactly one image");
    }
    Cursor entry(bytes, 6);
    const std::uint32_t entryWidth = entry.u8();
    const std::uint32_t entryHeight = entry.u8();
    const std::uint32_t colours = entry.u8();
    entry.u8();
    const std::uint32_t planes = entry.u16();
    const std::uint32_t bits = entry.u16();
    const std::uint32_t size = entry.u32();
    const std::uint32_t offset = entry.u32();
    if (colours != 0 || planes != 1 || bits != 32) {
        return fail<IconImage>(error, "entry is not a 32-bit image without palette");
    }
    if (offset < 22 || offset > bytes.size() || bytes.size() - offset != size) {
        return fail<IconImage>(error, "entry's offset and size do not cover the rest of the file");
    }
    Cursor info(bytes, offset);
    if (!info.has(40) || info.u32() != 40) {
        return fail<IconImage>(error, "image header is not a 40-byte info header");
    }
    const std::int32_t w = info.i32();
    const std::int32_t h2 = info.i32();
    if (info.u16() != 1 || info.u16() != 32 || info.u32() != 0) {
        return fail<IconImage>(error, "image is not one plane of uncompressed 32-bit pixels");
    }
    info.skip(20);
    const auto ew = entryWidth == 0 ? 256u : entryWidth;
    const auto eh = entryHeight == 0 ? 256u : entryHeight;
    if (w <= 0 || static_cast<std::uint32_t>(w) != ew || h2 != static_cast<std::int32_t>(eh * 2)) {
        return fail<IconImage>(error, "image header's size does not match the entry");
    }
    IconImage icon;
    icon.width = w;
    icon.height = h2 / 2;
    const std::size_t count = static_cast<std::size_t>(icon.width) * icon.height;
    const std::size_t maskStride = (static_cast<std::size_t>(w) + 31) / 32 * 4;
    if (!info.has(count * 4 + maskStride * icon.height) ||
        info.at() + count * 4 + maskStride * icon.height != bytes.size()) {
        return fail<IconImage>(error, "pixel and mask data do not fill the image exactly");
    }
    icon.pixels.resize(count);
    icon.transparent.resize(count);
    for (int y = icon.height - 1; y >= 0; --y) {
        for (int x = 0; x < icon.width; ++x) {
            Pixel& p = icon.pixels[static_cast<std::size_t>(y * icon.width + x)];
            p.b = static_cast<std::uint8_t>(info.u8());
            p.g = static_cast<std::uint8_t>(info.u8());
            p.r = static_cast<std::uint8_t>(info.u8());
            p.a = static_cast<std::uint8_t>(info.u8());
        }
    }
    for (int y = icon.height - 1; y >= 0; --y) {
        const std::string_view row = info.text(maskStride);
        for (int x = 0; x < icon.width; ++x) {
            const auto byte = static_cast<std::uint8_t>(row[static_cast<std::size_t>(x / 8)]);
            icon.transparent[static_cast<std::size_t>(y * icon.width + x)] =
                (byte & (0x80 >> (x % 8))) != 0;
        }
    }
    return icon;
}

std::optional<Bitmap> readBmp(std::string_view bytes, std::string& error) {
    Cursor file(bytes);
    if (!file.has(54)) {
        return fail<Bitmap>(error, "shorter than the two bitmap headers");
    }
    if (file.text(2) != "BM") {
        return fail<Bitmap>(error, "no BM signature");
    }
    if (file.u32() != bytes.size()) {
        return fail<Bitmap>(error, "file size field differs from the file's size");
    }
    file.skip(4);
    const std::uint32_t offset = file.u32();
    if (file.u32() != 40) {
        return fail<Bitmap>(error, "info header is not 40 bytes");
    }
    const std::int32_t w = file.i32();
    const std::int32_t h = file.i32();
    if (file.u16() != 1 || file.u16() != 24 || file.u32() != 0) {
        return fail<Bitmap>(error, "not one plane of uncompressed 24-bit pixels");
    }
    const std::uint32_t imageSize = file.u32();
    if (w <= 0 || h <= 0) {
        return fail<Bitmap>(error, "not a bottom-up bitmap with a positive size");
    }
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    if (offset != 54 || imageSize != stride * h || bytes.size() != offset + stride * h) {
        return fail<Bitmap>(error, "pixel data offset or size is wrong");
    }
    Bitmap bmp;
    bmp.width = w;
    bmp.height = h;
    bmp.pixels.resize(static_cast<std::size_t>(w) * h);
    for (int y = h - 1; y >= 0; --y) {
        Cursor row(bytes, offset + stride * static_cast<std::size_t>(h - 1 - y));
        for (int x = 0; x < w; ++x) {
            Pixel& p = bmp.pixels[static_cast<std::size_t>(y * w + x)];
            p.b = static_cast<std::uint8_t>(row.u8());
            p.g = static_cast<std::uint8_t>(row.u8());
            p.r = static_cast<std::uint8_t>(row.u8());
            p.a = 255;
        }
        for (std::size_t pad = static_cast<std::size_t>(w) * 3; pad < stride; ++pad) {
            if (row.u8() != 0) {
                return fail<Bitmap>(error, "row padding is not zero");
            }
        }
    }
    return bmp;
}

std::optional<Wave> readWav(std::string_view bytes, std::string& error) {
    Cursor file(bytes);
    if (!file.has(12) || file.text(4) != "RIFF") {
        return fail<Wave>(error, "no RIFF header");
    }
    if (file.u32() != bytes.size() - 8) {
        return fail<Wave>(error, "RIFF size differs from the file's size");
    }
    if (file.text(4) != "WAVE") {
        return fail<Wave>(error, "not a WAVE form");
    }
    Wave wave;
    bool haveFormat = false;
    bool haveData = false;
    while (file.has(8)) {
        const std::string_view id = file.text(4);
        const std::uint32_t size = file.u32();
        if (!file.has(size)) {
            return fail<Wave>(error, std::string(id) + " chunk runs past the end");
        }
        const std::size_t next = file.at() + size + (size & 1);
        if (id == "fmt ") {
            if (size < 16) {
                return fail<Wave>(error, "fmt chunk too short");
            }
            wave.formatTag = static_cast<int>(file.u16());
            wave.channels = static_cast<int>(file.u16());
            wave.sampleRate = file.u32();
            const std::uint32_t byteRate = file.u32();
            const std::uint32_t blockAlign = file.u16();
            wave.bitsPerSample = static_cast<int>(file.u16());
            if (blockAlign != static_cast<std::uint32_t>(wave.channels * wave.bitsPerSample / 8) ||
                byteRate != wave.sampleRate * blockAlign) {
                return fail<Wave>(error, "block align or byte rate inconsistent");
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || wave.bitsPerSample != 16 || size % 2 != 0) {
                return fail<Wave>(error, "data before fmt, or not whole 16-bit samples");
            }
            for (std::uint32_t i = 0; i < size / 2; ++i) {
                wave.samples.push_back(static_cast<std::int16_t>(file.u16()));
            }
            haveData = true;
        }
        file = Cursor(bytes, next);
    }
    if (!haveFormat || !haveData) {
        return fail<Wave>(error, "fmt or data chunk missing");
    }
    return wave;
}

}  // namespace filereaders
