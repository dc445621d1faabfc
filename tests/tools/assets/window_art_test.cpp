#include "assets/window_art_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <span>
#include <vector>

#include "platform/ui/picture.h"
#include "windows/art/window_art.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr int16_t kBitmap = win::vbPicTypeBitmap;
constexpr int16_t kIcon = win::vbPicTypeIcon;

TEST(WindowArt, EveryPictureIsStoredAsDrawnAndReadsBackAtItsSize) {
    struct Case {
        const char* name;
        std::span<const uint8_t> (*stored)();
        int16_t type;
        int width, height;
    };
    const Case cases[] = {
        {"OptionsBackground", windowart::OptionsBackground, kBitmap, 460, 355},
        {"OptionsTabSelected", windowart::OptionsTabSelected, kBitmap, 97, 31},
        {"OptionsTabUnselected", windowart::OptionsTabUnselected, kBitmap, 97, 31},
        {"OptionsClose", windowart::OptionsClose, kBitmap, 21, 21},
        {"OptionsPlay", windowart::OptionsPlay, kBitmap, 16, 16},
        {"AboutBackground", windowart::AboutBackground, kBitmap, 243, 261},
        {"AboutClose", windowart::AboutClose, kBitmap, 21, 21},
        {"AboutBanner", windowart::AboutBanner, kIcon, 48, 48},
        {"AboutPointer", windowart::AboutPointer, kIcon, 32, 32},
        {"CreditsBackground", windowart::CreditsBackground, kBitmap, 800, 600},
    };
    const auto files = assetgen::windowArtFiles();
    ASSERT_EQ(files.size(), std::size(cases));
    for (size_t i = 0; i < files.size(); ++i) {
        const Case& c = cases[i];
        const auto stored = c.stored();
        ASSERT_EQ(files[i].name, c.name);
        EXPECT_EQ(std::string(stored.begin(), stored.end()), files[i].bytes) << c.name;
        const win::StdPicture picture = win::LoadPictureFromBytes(stored);
        EXPECT_EQ(picture.Type(), c.type) << c.name;
        EXPECT_EQ(picture.pixelWidth(), c.width) << c.name;
        EXPECT_EQ(picture.pixelHeight(), c.height) << c.name;
        // An icon is a shape on a clear ground, neither a filled square nor empty.
        const auto& alpha = picture.alpha();
        EXPECT_TRUE(c.type == kBitmap || (alpha.front() == 0 && alpha.back() == 0 &&
                                          std::ranges::count(alpha, 255) > std::ssize(alpha) / 5))
            << c.name;
    }
    EXPECT_NE(files[1].bytes, files[2].bytes) << "the two tabs look alike";
    const win::StdPicture pointer = win::LoadPictureFromBytes(windowart::AboutPointer());
    EXPECT_EQ(pointer.hotSpotX() * 100 + pointer.hotSpotY(), 101);
    EXPECT_EQ(pointer.alpha()[1 * 32 + 1], 255) << "the hot spot is on the arrow's tip";
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
            for (auto [mx, my] :
                 {std::pair{x, y}, {w_ - 1 - x, y}, {x, h_ - 1 - y}, {w_ - 1 - x, h_ - 1 - y}}) {
                ASSERT_EQ(key(mx, my), x < run) << mx << "," << my;
            }
        }
    }
    // Rounded: the corner cuts away more than the straight margin (two full rows, then as wide as
    // the last row's run) would.
    const int straight = 2 * kCorner + (kCorner - 2) * runs.back();
    EXPECT_GT(std::accumulate(runs.begin(), runs.end(), 0), straight + 10);
}

TEST_P(SkinnedBackground, OnlyTheSurroundIsExactlyMagentaAndThePanelIsOneArea) {
    // No pixel comes near magenta without being it: the panel's edge holds no blend.
    for (uint32_t c : picture_.pixels()) {
        const int distance =
            std::abs(int(c & 0xFF) - 255) + int(c >> 8 & 0xFF) + std::abs(int(c >> 16) - 255);
        ASSERT_TRUE(c == kMagenta || distance > 120) << std::hex << c;
    }
    const auto keys = static_cast<int>(std::ranges::count(picture_.pixels(), kMagenta));
    EXPECT_GT(keys, 1000);
    EXPECT_EQ(flood(true, {{0, 0}}), keys) << "magenta inside the panel";
    EXPECT_EQ(flood(false, {{w_ / 2, h_ / 2}}), w_ * h_ - keys) << "the panel falls apart";
}

INSTANTIATE_TEST_SUITE_P(WindowArt, SkinnedBackground,
                         ::testing::Values(windowart::OptionsBackground,
                                           windowart::AboutBackground));

}  // namespace
