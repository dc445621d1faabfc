#include "platform/ui/window_api.h"

#include <gtest/gtest.h>

#include "platform/ui/form.h"
#include "platform/ui/screen.h"
#include "support/headless_test.h"

namespace {

using testsupport::HeadlessTest;

class frmWindow : public win::Form {
  public:
    frmWindow() : Form("frmWindow", {.Left = 150, .Top = 300, .Width = 4545, .Height = 3630}) {}
};

class WindowApiTest : public HeadlessTest {};

TEST_F(WindowApiTest, TheWorkAreaLeavesOutTheTaskbar) {
    EXPECT_EQ(win::Screen.Width(), 15360);  // 1024 x 768 pixels of 15 twips
    EXPECT_EQ(win::Screen.Height(), 11520);
    win::RECT area;
    ASSERT_NE(win::SystemParametersInfoA(win::SPI_GETWORKAREA, 0, &area, 0), 0);
    EXPECT_EQ(area.Left, 0);
    EXPECT_EQ(area.Top, 0);
    EXPECT_EQ(area.Right, 1024);
    EXPECT_EQ(area.Bottom, 738);
    EXPECT_EQ(win::SystemParametersInfoA(win::SPI_GETWORKAREA, 0, nullptr, 0), 0);
    EXPECT_EQ(win::SystemParametersInfoA(47, 0, &area, 0), 0);
}

// The show flag shows a hidden window.
TEST_F(WindowApiTest, InsertAfterValuesSwitchTopMostWithoutMovingOrResizing) {
    auto& form = win::Default<frmWindow>();
    form.Load();
    const uint32_t flags =
        win::SWP_NOSIZE | win::SWP_NOMOVE | win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW;
    struct Case {
        int32_t insertAfter;
        bool topMostAfter;
    };
    for (const Case& c : {Case{win::HWND_TOPMOST, true}, Case{win::HWND_TOP, true},
                          Case{win::HWND_NOTOPMOST, false}, Case{win::HWND_TOP, false}}) {
        EXPECT_NE(win::SetWindowPos(form.hWnd(), c.insertAfter, 0, 0, 0, 0, flags), 0);
        EXPECT_TRUE(form.Visible());
        EXPECT_EQ(form.TopMost(), c.topMostAfter) << c.insertAfter;
        EXPECT_EQ(form.Left(), 150);
        EXPECT_EQ(form.Height(), 3630);
    }
    EXPECT_EQ(
        traced("window"),
        (std::vector<std::string>{
            "topmost hwnd=1 name=frmWindow on=1",
            R"(shown hwnd=1 name=frmWindow caption="" left=150 top=300 width=4545 height=3630 topmost=1)",
            "raised hwnd=1 name=frmWindow", "topmost hwnd=1 name=frmWindow on=0",
            "raised hwnd=1 name=frmWindow"}));
}

TEST_F(WindowApiTest, MovingAndSizingTakePixels) {
    auto& form = win::Default<frmWindow>();
    form.Show();
    win::SetWindowPos(form.hWnd(), 0, 10, 20, 30, 40, win::SWP_NOZORDER);
    EXPECT_EQ(form.Left(), 150);
    EXPECT_EQ(form.Top(), 300);
    EXPECT_EQ(form.Width(), 450);
    EXPECT_EQ(form.Height(), 600);
    EXPECT_EQ(traced("window").back(), "foreground hwnd=1 name=frmWindow");
}

TEST_F(WindowApiTest, AHandleThatNamesNoWindowIsRefusedQuietly) {
    for (int32_t handle : {0, -1, 42}) {
        EXPECT_EQ(win::SetWindowPos(handle, win::HWND_TOPMOST, 0, 0, 0, 0, 0x53), 0);
        EXPECT_EQ(win::SetForegroundWindow(handle), 0);
    }
    EXPECT_TRUE(traceLines().empty());
}

}  // namespace
