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

// Each axis uses its own twips per pixel; halves go to the even neighbour.
TEST_F(TwipsTest, PixelsBecomeTwipsRoundedHalfToEven) {
    struct Case {
        float perPixelX, perPixelY;
        int16_t px;
        int32_t twipsX, twipsY;
    };
    for (const Case& c : {Case{15, 15, 10, 150, 150}, Case{15, 15, 32767, 491505, 491505},
                          Case{7.5f, 7.5f, 5, 38, 38}, Case{7.5f, 7.5f, 3, 22, 22},
                          Case{15, 7.5f, 5, 75, 38}, Case{7.5f, 15, 3, 22, 45}}) {
        setTwipsPerPixel(c.perPixelX, c.perPixelY);
        EXPECT_EQ(mTwips::PixelsToTwipsX(c.px), c.twipsX) << c.perPixelX << " " << c.px;
        EXPECT_EQ(mTwips::PixelsToTwipsY(c.px), c.twipsY) << c.perPixelY << " " << c.px;
    }
}

}  // namespace
