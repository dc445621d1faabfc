#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/desktop/desktop_dialogs.h"
#include "platform/desktop/picture_cache.h"
#include "platform/desktop/toolkit_text.h"
#include "platform/ui/gdi.h"

namespace {

using namespace platform;

// An icon keeps its clear pixels clear (premultiplied, as cairo takes them); a bitmap is opaque.
TEST(PictureCache, IconsKeepTheirOpacityAndBitmapsAreOpaque) {
    const auto pixels = [] { return std::make_shared<std::vector<uint32_t>>(2, 0x00336699u); };
    const int32_t bitmap = win::CreateBitmapOver(2, 1, pixels());
    const int32_t icon = win::CreateBitmapOver(
        2, 1, pixels(), std::make_shared<const win::IconParts>(win::IconParts{{0, 255}, 0, 0}));
    PictureCache cache;
    cairo_surface_t* opaque = cache.surface(bitmap);
    cairo_surface_t* clear = cache.surface(icon);
    ASSERT_NE(opaque, nullptr);
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(cairo_image_surface_get_format(opaque), CAIRO_FORMAT_RGB24);
    ASSERT_EQ(cairo_image_surface_get_format(clear), CAIRO_FORMAT_ARGB32);
    const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(clear));
    EXPECT_EQ(row[0], 0u);
    EXPECT_EQ(row[1], 0xFF996633u);
    win::DeleteObject(bitmap);
    win::DeleteObject(icon);
}

TEST(ToolkitText, AccessKeysAndUnderscoresBecomeTheToolkits) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Options", "_Options"},
        {"Fish && Chips", "Fish & Chips"},
        {"snake_case", "snake__case"},
        {"E&xit", "E_xit"},
        {"plain", "plain"},
    };
    for (const auto& [caption, shown] : cases) {
        EXPECT_EQ(mnemonicText(caption), shown) << caption;
    }
}

TEST(ToolkitText, BrokenUtf8IsMadeValidAndValidTextKept) {
    EXPECT_EQ(toolkitText("Gr\xC3\xBC\xC3\x9F"
                          "e"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(toolkitText("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(MessageBoxButtons, EachStyleHasItsButtonsAndItsWayOut) {
    struct Case {
        int style;
        std::vector<int> answers;
        int closeAnswer;
    };
    const Case cases[] = {
        {0, {1}, 1},    {1, {1, 2}, 2}, {2, {3, 4, 5}, 0},   {3, {6, 7, 2}, 2},
        {4, {6, 7}, 0}, {5, {4, 2}, 2}, {4 + 32, {6, 7}, 0}, {1 + 256, {1, 2}, 2},
    };
    for (const Case& each : cases) {
        std::vector<int> answers;
        for (const BoxButton& button : boxButtons(each.style)) {
            answers.push_back(button.answer);
        }
        EXPECT_EQ(answers, each.answers) << each.style;
        EXPECT_EQ(boxCloseAnswer(each.style), each.closeAnswer) << each.style;
    }
}

}  // namespace
