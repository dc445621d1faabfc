#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "assets/image.h"

// Independent readers of the three file formats, strict about the header fields a Windows reader
// checks. Each throws std::runtime_error naming the fault when the bytes are not a valid file.
namespace filereaders {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<assetgen::Rgba> pixels;  // top-down; alpha 255 in a bitmap
    std::vector<bool> transparent;       // an icon's AND mask, top-down
};

struct Wave {
    int formatTag = 0;
    int channels = 0;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::int16_t> samples;
};

Picture readIco(std::string_view bytes);
Picture readBmp(std::string_view bytes);
Wave readWav(std::string_view bytes);

}  // namespace filereaders
