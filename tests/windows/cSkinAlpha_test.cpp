#include "windows/cSkinAlpha.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/registry_test.h"
#include "windows/art/window_art.h"
#include "windows/frmPropPage.h"

namespace {

constexpr uint32_t kKey = 0xFF00FF;

class frmShaped : public win::Form {
  public:
    frmShaped() : Form("frmShaped", {.Width = 3000, .Height = 2000, .ScaleMode = win::vbPoints}) {}
};

// A 32-bit top-down BMP file of rows drawn with '.' grey, 'K' the key colour and 'N' RGB(254, 0,
// 255), one byte off it.
std::vector<uint8_t> bitmapFile(const std::vector<std::string>& rows) {
    std::vector<uint8_t> out(54);
    const auto put = [&](size_t at, int64_t value) {
        for (size_t i = 0; i < 4; ++i) {
            out[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    put(0, 'B' | 'M' << 8);
    put(10, 54);
    put(14, 40);
    put(18, static_cast<int64_t>(rows[0].size()));
    put(22, -static_cast<int64_t>(rows.size()));
    put(26, 1 | 32 << 16);  // planes, bits per pixel
    for (const std::string& row : rows) {
        for (char c : row) {
            const uint32_t colour = c == 'K' ? kKey : c == 'N' ? 0xFF00FE : 0x808080;
            out.insert(out.end(),
                       {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour), 0});
        }
    }
    return out;
}

// The pixels a shaped window keeps.
std::set<std::pair<int32_t, int32_t>> kept(const win::Form& form) {
    std::set<std::pair<int32_t, int32_t>> pixels;
    for (const auto& r : form.view().shape) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) {
                pixels.emplace(x, y);
            }
        }
    }
    return pixels;
}

using Shaping = testsupport::RegistryTest;

// Every key pixel is cut out, nothing else, and nothing beyond the picture (its extra column and
// row are scanned too) comes in. Three rows are 2.99 pixels through HIMETRIC: H must round.
TEST_F(Shaping, KeyPixelsAndOnlyThoseAreCutOut) {
    const std::vector<std::vector<std::string>> pictures = {
        {"....", "....", "...."},
        {"....", ".K..", "...."},
        {"NNNN", "N.NN", "NNNN"},
        {"K..K", "....", "..KK"},
    };
    for (const auto& rows : pictures) {
        const auto form = win::New<frmShaped>();
        form->setDesignPicture(win::LoadPictureFromBytes(bitmapFile(rows)));
        form->Load();
        cSkinAlpha().MakeTransparent(*form, kKey);

        std::set<std::pair<int32_t, int32_t>> expected;
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                if (rows[y][x] != 'K') {
                    expected.emplace(x, y);
                }
            }
        }
        EXPECT_EQ(kept(*form), expected) << rows[0] << "/" << rows[1] << "/" << rows[2];
        EXPECT_EQ(form->BorderStyle(), win::vbBSNone);
        EXPECT_EQ(form->ScaleMode(), win::vbPoints) << "put back";
        EXPECT_NEAR(form->Width(), 4 * 15, 0.2);
        EXPECT_EQ(form->Height(), 3 * 15);
        form->Unload();
    }
}

// The options window's own background: W keeps the fraction HIMETRIC gives 460 pixels.
TEST_F(Shaping, TheOptionsWindowTakesTheOutlineOfItsBackground) {
    const win::StdPicture background = win::LoadPictureFromBytes(windowart::OptionsBackground());
    ASSERT_EQ(background.pixelWidth(), 460);
    ASSERT_EQ(background.pixelHeight(), 355);
    int64_t magenta = 0;
    for (uint32_t pixel : background.pixels()) {
        magenta += pixel == kKey ? 1 : 0;
    }
    ASSERT_GT(magenta, 0);

    auto& form = win::Default<frmPropPage>();
    form.Load();
    EXPECT_EQ(kept(form).size(), 460 * 355 - magenta);
    EXPECT_FLOAT_EQ(form.Width(), 6900.094f);
    EXPECT_EQ(form.Height(), 5325);
    EXPECT_EQ(form.BorderStyle(), win::vbBSNone);
    form.Unload();
}

}  // namespace
