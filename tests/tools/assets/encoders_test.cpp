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

// A colour that differs for every pixel, so a swapped row or column shows.
Rgba patternAt(int x, int y) {
    return {static_cast<std::uint8_t>(x * 7 + 1), static_cast<std::uint8_t>(y * 11 + 2),
            static_cast<std::uint8_t>(x * 3 + y * 5), 255};
}

Image patterned(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.at(x, y) = patternAt(x, y);
        }
    }
    return image;
}

struct Size {
    int width;
    int height;
};

class IcoSizes : public ::testing::TestWithParam<Size> {};

TEST_P(IcoSizes, PixelsAndMaskReadBackInPlace) {
    const auto [width, height] = GetParam();
    Image image = patterned(width, height);
    image.at(0, 0).a = 0;                   // top left clear
    image.at(width - 1, height - 1).a = 0;  // bottom right clear
    std::string error;
    const auto icon = filereaders::readIco(assetgen::encodeIco(image), error);
    ASSERT_TRUE(icon) << error;
    ASSERT_EQ(icon->width, width);
    ASSERT_EQ(icon->height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto i = static_cast<std::size_t>(y * width + x);
            const Rgba& want = image.at(x, y);
            const auto& got = icon->pixels[i];
            ASSERT_TRUE(got.r == want.r && got.g == want.g && got.b == want.b && got.a == want.a)
                << "pixel " << x << "," << y;
            ASSERT_EQ(icon->transparent[i], want.a == 0) << "mask " << x << "," << y;
        }
    }
}

// 33 wide needs a two-word mask row; 256 is written as 0 in the directory entry.
INSTANTIATE_TEST_SUITE_P(Encoders, IcoSizes,
                         ::testing::Values(Size{1, 1}, Size{16, 16}, Size{33, 2}, Size{256, 256}));

TEST(Encoders, IcoRefusesSizesOutsideTheFormat) {
    EXPECT_THROW(assetgen::encodeIco(Image(0, 16)), std::invalid_argument);
    EXPECT_THROW(assetgen::encodeIco(Image(16, 257)), std::invalid_argument);
}

class BmpSizes : public ::testing::TestWithParam<Size> {};

TEST_P(BmpSizes, RowsArePaddedAndReadBackInPlace) {
    const auto [width, height] = GetParam();
    const Image image = patterned(width, height);
    std::string error;
    const auto bmp = filereaders::readBmp(assetgen::encodeBmp24(image), error);
    ASSERT_TRUE(bmp) << error;
    ASSERT_EQ(bmp->width, width);
    ASSERT_EQ(bmp->height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto& got = bmp->pixels[static_cast<std::size_t>(y * width + x)];
            const Rgba& want = image.at(x, y);
            ASSERT_TRUE(got.r == want.r && got.g == want.g && got.b == want.b)
                << "pixel " << x << "," << y;
        }
    }
}

// Widths 1 to 5 give every amount of row padding (3, 2, 1, 0, 1 bytes).
INSTANTIATE_TEST_SUITE_P(Encoders, BmpSizes,
                         ::testing::Values(Size{1, 1}, Size{2, 3}, Size{3, 2}, Size{4, 4},
                                           Size{5, 3}, Size{73, 73}));

TEST(Encoders, WavHoldsTheSamplesAsPcm16Mono) {
    const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768};
    const std::string bytes = assetgen::encodeWav(samples, 22050);
    EXPECT_EQ(bytes.size(), 44u + 10u);
    std::string error;
    const auto wave = filereaders::readWav(bytes, error);
    ASSERT_TRUE(wave) << error;
    EXPECT_EQ(wave->formatTag, 1);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->sampleRate, 22050u);
    EXPECT_EQ(wave->bitsPerSample, 16);
    EXPECT_EQ(wave->samples, samples);
}

TEST(Encoders, WavWithoutSamplesIsStillAWellFormedFile) {
    std::string error;
    const auto wave = filereaders::readWav(assetgen::encodeWav({}, 8000), error);
    ASSERT_TRUE(wave) << error;
    EXPECT_TRUE(wave->samples.empty());
    EXPECT_EQ(wave->sampleRate, 8000u);
}

}  // namespace
