#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "assets/bmp.h"
#include "assets/ico.h"
#include "assets/wav.h"
#include "file_readers.h"

namespace {

using assetgen::Image;
using assetgen::Rgba;

// Icons: 33 wide needs a two-word mask row; 256 is written as 0 in the directory entry.
// Bitmaps: widths 1 to 4 give every amount of row padding (3, 2, 1, 0 bytes).
TEST(Encoders, PixelsAndMaskReadBackInPlace) {
    struct Case {
        bool icon;
        int width;
        int height;
    };
    for (const auto& [icon, width, height] :
         {Case{true, 1, 1}, Case{true, 33, 2}, Case{true, 256, 256}, Case{false, 1, 1},
          Case{false, 2, 3}, Case{false, 3, 2}, Case{false, 4, 4}}) {
        SCOPED_TRACE(testing::Message() << (icon ? "icon " : "bitmap ") << width << "x" << height);
        // A colour that differs for every pixel, so a swapped row or column shows.
        Image image(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.at(x, y) = {static_cast<std::uint8_t>(x * 7 + 1),
                                  static_cast<std::uint8_t>(y * 11 + 2),
                                  static_cast<std::uint8_t>(x * 3 + y * 5), 255};
            }
        }
        image.at(0, 0).a = 0;                   // top left clear
        image.at(width - 1, height - 1).a = 0;  // bottom right clear
        const auto read = icon ? filereaders::readIco(assetgen::encodeIco(image))
                               : filereaders::readBmp(assetgen::encodeBmp24(image));
        ASSERT_EQ(read.width, width);
        ASSERT_EQ(read.height, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto i = static_cast<std::size_t>(y * width + x);
                Rgba want = image.at(x, y);
                if (icon) {
                    ASSERT_EQ(read.transparent[i], want.a == 0) << "mask " << x << "," << y;
                } else {
                    want.a = 255;  // a bitmap drops alpha
                }
                ASSERT_TRUE(read.pixels[i] == want) << "pixel " << x << "," << y;
            }
        }
    }
}

TEST(Encoders, IcoRefusesSizesOutsideTheFormat) {
    EXPECT_THROW(assetgen::encodeIco(Image(0, 16)), std::invalid_argument);
    EXPECT_THROW(assetgen::encodeIco(Image(16, 257)), std::invalid_argument);
}

TEST(Encoders, WavHoldsTheSamplesAsPcm16Mono) {
    const std::vector<std::pair<std::uint32_t, std::vector<std::int16_t>>> cases{
        {22050, {0, 1, -1, 32767, -32768}}, {8000, {}}};
    for (const auto& [rate, held] : cases) {
        const std::string bytes = assetgen::encodeWav(held, rate);
        EXPECT_EQ(bytes.size(), 44u + 2 * held.size());
        const auto wave = filereaders::readWav(bytes);
        EXPECT_EQ(wave.formatTag, 1);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.sampleRate, rate);
        EXPECT_EQ(wave.bitsPerSample, 16);
        EXPECT_EQ(wave.samples, held);
    }
}

}  // namespace
