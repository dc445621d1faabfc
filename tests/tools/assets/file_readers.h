#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Independent readers of the three file formats, strict about every header field a Windows
// reader checks. Each returns nothing and names the fault in `error` when the bytes are not valid.
namespace filereaders {

struct Pixel {
    std::uint8_t r, g, b, a;
};

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;      // top-down
    std::vector<bool> transparent;  // the AND mask, top-down
};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // top-down, alpha 255
};

struct Wave {
    int formatTag = 0;
    int channels = 0;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::int16_t> samples;
    double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
};

std::optional<IconImage> readIco(std::string_view bytes, std::string& error);
std::optional<Bitmap> readBmp(std::string_view bytes, std::string& error);
std::optional<Wave> readWav(std::string_view bytes, std::string& error);

}  // namespace filereaders
