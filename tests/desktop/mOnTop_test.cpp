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

TEST_F(OnTopTest, TrueFalseAndOtherValuesChooseTheInsertAfterValue) {
    auto& form = win::Default<frmHost>();
    form.Show();
    form.Move(100, 200, 3000, 4000);
    struct Case {
        int16_t bOnTop;
        bool topMost;
        const char* traced;
    };
    for (const Case& c : {Case{-1, true, "topmost hwnd=1 name=frmHost on=1"},
                          Case{1, true, "raised hwnd=1 name=frmHost"},
                          Case{0, false, "topmost hwnd=1 name=frmHost on=0"},
                          Case{1, false, "raised hwnd=1 name=frmHost"}}) {
        mOnTop::SetWindowOnTop(form.hWnd(), c.bOnTop);
        EXPECT_EQ(form.TopMost(), c.topMost) << c.bOnTop;
        EXPECT_EQ(traced("window").back(), c.traced);
        EXPECT_EQ(form.Left(), 100);
        EXPECT_EQ(form.Top(), 200);
        EXPECT_EQ(form.Width(), 3000);
        EXPECT_EQ(form.Height(), 4000);
    }
    // Never activated.
    for (const auto& line : traced("window")) {
        EXPECT_EQ(line.find("foreground"), std::string::npos);
    }
}

TEST_F(OnTopTest, AHiddenWindowIsShown) {
    auto& form = win::Default<frmHost>();
    form.Load();
    mOnTop::SetWindowOnTop(form.hWnd(), -1);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.TopMost());
}

TEST_F(OnTopTest, AHandleThatNamesNoWindowChangesNothing) {
    mOnTop::SetWindowOnTop(12345, -1);
    mOnTop::SetWindowOnTop(0, 0);
    EXPECT_TRUE(headless().traceLines().empty());
}

}  // namespace
