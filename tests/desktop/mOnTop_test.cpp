#include "desktop/mOnTop.h"

#include <gtest/gtest.h>

#include "desktop/tray_fixture.h"

namespace {

using desktoptest::frmHost;

class OnTopTest : public desktoptest::DesktopTest {};

template <typename Flag>
constexpr bool kTakesFlag = requires(Flag flag) {
    mOnTop::SetWindowOnTop(1, flag);
};
static_assert(kTakesFlag<int16_t> && kTakesFlag<int> && !kTakesFlag<bool>,
              "a C++ bool would become insert-after HWND_TOP instead of HWND_TOPMOST");

// True and False switch the window's top-most state; any other value only raises it. A hidden
// window is shown where it stands.
TEST_F(OnTopTest, TrueFalseAndOtherValuesChooseTheInsertAfterValue) {
    auto& form = win::Default<frmHost>();
    form.Load();
    form.Move(100, 200, 3000, 4000);
    for (const auto& [bOnTop, topMost] :
         {std::pair<int16_t, bool>{-1, true}, {1, true}, {0, false}, {1, false}}) {
        mOnTop::SetWindowOnTop(form.hWnd(), bOnTop);
        EXPECT_TRUE(form.Visible());
        EXPECT_EQ(form.TopMost(), topMost) << bOnTop;
        EXPECT_EQ(form.Left(), 100);  // neither moved nor sized
        EXPECT_EQ(form.Width(), 3000);
    }
}

}  // namespace
