#include "desktop/mTwips.h"

#include <gtest/gtest.h>

#include "support/headless_test.h"

namespace {

class TwipsTest : public testsupport::HeadlessTest {
  protected:
    void setTwipsPerPixel(float x, float y) {
        auto screen = headless().screen();
        screen.twipsPerPixelX = x;
        screen.twipsPerPixelY = y;
        headless().setScreen(screen);
    }
};

TEST_F(TwipsTest, PixelsBecomeTwipsRoundedHalfToEven) {
    struct Case {
        float twipsPerPixel;
        int16_t px;
        int32_t twips;
    };
    for (const Case& c : {Case{15, 10, 150}, Case{15, 5, 75}, Case{15, 0, 0}, Case{15, -10, -150},
                          Case{15, 32767, 491505}, Case{7.5f, 5, 38}, Case{7.5f, 3, 22},
                          Case{7.5f, 1, 8}, Case{7.5f, 7, 52}, Case{12, 10, 120}}) {
        setTwipsPerPixel(c.twipsPerPixel, c.twipsPerPixel);
        EXPECT_EQ(mTwips::PixelsToTwipsX(c.px), c.twips) << c.twipsPerPixel << " " << c.px;
        EXPECT_EQ(mTwips::PixelsToTwipsY(c.px), c.twips) << c.twipsPerPixel << " " << c.px;
    }
}

TEST_F(TwipsTest, EachAxisUsesItsOwnTwipsPerPixel) {
    setTwipsPerPixel(15, 7.5f);
    EXPECT_EQ(mTwips::PixelsToTwipsX(5), 75);
    EXPECT_EQ(mTwips::PixelsToTwipsY(5), 38);
}

}  // namespace
