#include "assets/window_art_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <span>
#include <vector>

#include "platform/ui/picture.h"
#include "windows/art/window_art.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

std::string generated(const std::string& name) {
    for (const auto& file : assetgen::windowArtFiles()) {
        if (file.name == name) {
            return file.bytes;
        }
    }
    throw std::runtime_error("no generated picture " + name);
}

TEST(WindowArt, EveryPictureIsStoredAsDrawnAndReadsBackAtItsSize) {
    struct Case {
        const char* name;
        std::span<const uint8_t> (*stored)();
        int16_t type;
        int width, height;
    };
    const Case cases[] = {
        {"OptionsBackground", windowart::OptionsBackground, win::vbPicTypeBitmap, 460, 355},
        {"OptionsTabSelected", windowart::OptionsTabSelected, win::vbPicTypeBitmap, 97, 31},
        {"OptionsTabUnselected", windowart::OptionsTabUnselected, win::vbPicTypeBitmap, 97, 31},
        {"OptionsClose", windowart::OptionsClose, win::vbPicTypeBitmap, 21, 21},
        {"OptionsPlay", windowart::OptionsPlay, win::vbPicTypeBitmap, 16, 16},
        {"AboutBackground", windowart::AboutBackground, win::vbPicTypeBitmap, 243, 261},
        {"AboutClose", windowart::AboutClose, win::vbPicTypeBitmap, 21, 21},
        {"AboutBanner", windowart::AboutBanner, win::vbPicTypeIcon, 48, 48},
        {"AboutPointer", windowart::AboutPointer, win::vbPicTypeIcon, 32, 32},
        {"CreditsBackground", windowart::CreditsBackground, win::vbPicTypeBitmap, 800, 600},
    };
    ASSERT_EQ(assetgen::windowArtFiles().size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto stored = c.stored();
        EXPECT_EQ(std::string(stored.begin(), stored.end()), generated(c.name));
        const win::StdPicture picture = win::LoadPictureFromBytes(stored);
        EXPECT_EQ(picture.Type(), c.type);
        EXPECT_EQ(picture.pixelWidth(), c.width);
        EXPECT_EQ(picture.pixelHeight(), c.height);
    }
    EXPECT_NE(generated("OptionsTabSelected"), generated("OptionsTabUnselected"));
}

TEST(WindowArt, IconsAreShapesAndThePointerPointsWithAnOpaquePixel) {
    for (auto* stored : {windowart::AboutBanner, windowart::AboutPointer}) {
        const win::StdPicture icon = win::LoadPictureFromBytes(stored());
        const auto& alpha = icon.alpha();
        EXPECT_EQ(alpha.front(), 0);
        EXPECT_EQ(alpha.back(), 0);
        EXPECT_GT(std::count(alpha.begin(), alpha.end(), 255), std::ssize(alpha) / 5);
    }
    const win::StdPicture pointer = win::LoadPictureFromBytes(windowart::AboutPointer());
    EXPECT_EQ(pointer.hotSpotX(), 1);
    EXPECT_EQ(pointer.hotSpotY(), 1);
    EXPECT_EQ(pointer.alpha()[1 * 32 + 1], 255);
}

// The shaping cuts away exactly the magenta pixels, so a background must hold magenta only in its
// surround, exactly, with no blend towards it at the panel's edge.
class SkinnedBackground : public ::testing::TestWithParam<std::span<const uint8_t> (*)()> {
  protected:
    void SetUp() override {
        picture_ = win::LoadPictureFromBytes(GetParam()());
        w_ = picture_.pixelWidth();
        h_ = picture_.pixelHeight();
    }
    bool key(int x, int y) const { return picture_.pixels()[y * w_ + x] == kMagenta; }

    // How many pixels a flood through 4-neighbours of one kind reaches from the given seeds.
    int flood(bool ofKey, std::vector<std::pair<int, int>> seeds) const {
        std::vector<bool> seen(static_cast<size_t>(w_ * h_), false);
        int reached = 0;
        while (!seeds.empty()) {
            const auto [x, y] = seeds.back();
            seeds.pop_back();
            if (x < 0 || y < 0 || x >= w_ || y >= h_ || seen[y * w_ + x] || key(x, y) != ofKey) {
                continue;
            }
            seen[y * w_ + x] = true;
            ++reached;
            seeds.insert(seeds.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        }
        return reached;
    }

    win::StdPicture picture_;
    int w_ = 0;
    int h_ = 0;
};

TEST_P(SkinnedBackground, NoPixelComesNearMagentaWithoutBeingIt) {
    for (uint32_t c : picture_.pixels()) {
        const int distance =
            std::abs(int(c & 0xFF) - 255) + int(c >> 8 & 0xFF) + std::abs(int(c >> 16) - 255);
        ASSERT_TRUE(c == kMagenta || distance > 120) << std::hex << c;
    }
}

TEST_P(SkinnedBackground, TheFourCornersAreRoundedAlikeWithExactKeyPixels) {
    constexpr int kCorner = 20;
    // The top left corner: how many key pixels each row starts with.
    std::vector<int> runs;
    for (int y = 0; y < kCorner; ++y) {
        int run = 0;
        while (run < kCorner && key(run, y)) {
            ++run;
        }
        ASSERT_TRUE(runs.empty() || run <= runs.back()) << "the edge turns back at row " << y;
        runs.push_back(run);
        for (int x = 0; x < kCorner; ++x) {
            // Mirrored in both axes, every corner is the top left one.
            const bool expected = x < run;
            ASSERT_EQ(key(x, y), expected) << x << "," << y;
            ASSERT_EQ(key(w_ - 1 - x, y), expected) << "top right " << x << "," << y;
            ASSERT_EQ(key(x, h_ - 1 - y), expected) << "bottom left " << x << "," << y;
            ASSERT_EQ(key(w_ - 1 - x, h_ - 1 - y), expected) << "bottom right " << x << "," << y;
        }
    }
    // Rounded: the corner cuts away more than the straight margin (two full rows, then as wide as
    // the last row's run) would.
    const int straight = 2 * kCorner + (kCorner - 2) * runs.back();
    EXPECT_GT(std::accumulate(runs.begin(), runs.end(), 0), straight + 10);
}

TEST_P(SkinnedBackground, MagentaFormsOnlyTheSurroundAndThePanelIsOneArea) {
    int keys = 0;
    std::vector<std::pair<int, int>> border;
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            keys += key(x, y) ? 1 : 0;
            if (x == 0 || y == 0 || x == w_ - 1 || y == h_ - 1) {
                border.emplace_back(x, y);
            }
        }
    }
    EXPECT_GT(keys, 1000);
    EXPECT_EQ(flood(true, border), keys) << "magenta inside the panel";
    EXPECT_EQ(flood(false, {{w_ / 2, h_ / 2}}), w_ * h_ - keys) << "the panel falls apart";
}

INSTANTIATE_TEST_SUITE_P(WindowArt, SkinnedBackground,
                         ::testing::Values(windowart::OptionsBackground,
                                           windowart::AboutBackground));

}  // namespace
