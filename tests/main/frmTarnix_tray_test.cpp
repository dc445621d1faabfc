#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "platform/ui/tray.h"

namespace {

using testsupport::MainWindowTest;

class TrayMenu : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
        headless().setOnline(false);
    }
};

// Only the right button's press opens the menu: no other gesture, nor the release alone.
TEST_F(TrayMenu, OnlyARightButtonPressOpensTheMenu) {
    auto& form = load();
    headless().loadScript(
        "10 tray message 517\n10 tray left-click\n10 tray left-double-click\n10 tray move\n"
        "10 tray bogus\n20 tray right-click\n");
    win::RunUntil(10);
    EXPECT_TRUE(traced("menu").empty());
    win::RunUntil(20);
    EXPECT_EQ(traced("menu"),
              (std::vector<std::string>{
                  "open hwnd=1 form=frmTarnix menu=mnuSysTray "
                  "items=\"Minimize|~Show|-|Options|Language|>*English|>French|>German|>Italian|"
                  ">Spanish|>Swedish|-|About|Exit\""}));
    EXPECT_EQ(form.OpenPopupMenu(), &form.mnuSysTray);
}

// The window's own mouse moves are decoded like tray messages: pixel column 516 reads as a
// right-button press. The window is that wide only at small pixel sizes.
TEST_F(TrayMenu, AMouseMoveOverPixelColumn516OpensTheMenu) {
    platform::ScreenInfo screen;
    screen.twipsPerPixelX = 10;
    screen.twipsPerPixelY = 10;
    headless().setScreen(screen);
    load();
    headless().loadScript(
        "10 mousemove frmTarnix 515 100\n10 mousemove frmTarnix 517 100\n"
        "20 mousemove frmTarnix 516 100\n");
    win::RunUntil(10);
    EXPECT_TRUE(traced("menu").empty());
    win::RunUntil(20);
    ASSERT_EQ(traced("menu").size(), 1u);
    EXPECT_NE(traced("menu")[0].find(" form=frmTarnix menu=mnuSysTray "), std::string::npos);
}

// The close box only hides the window, as Minimize does; each swaps the two menu items.
TEST_F(TrayMenu, CloseBoxAndMinimizeHideShowBringsBack) {
    auto& form = load();
    const std::function<void()> hides[] = {[&] { form.CloseBox(); },
                                           [&] { form.mnuSTMin.userClick(); }};
    for (const auto& hide : hides) {
        hide();
        EXPECT_TRUE(form.IsLoaded());
        EXPECT_FALSE(form.Visible());
        EXPECT_FALSE(form.mnuSTMin.Enabled());
        EXPECT_TRUE(form.mnuSTShow.Enabled());
        form.mnuSTShow.userClick();
        EXPECT_TRUE(form.Visible());
        EXPECT_TRUE(form.mnuSTMin.Enabled());
        EXPECT_FALSE(form.mnuSTShow.Enabled());
    }
    win::RunUntil(1000);
    EXPECT_EQ(traced("balloon").size(), 1u) << "the check still runs";
}

TEST_F(TrayMenu, ExitUnloadsTheWindowAndTakesTheTrayIconAway) {
    auto& form = load();
    win::RunUntil(1000);  // offline: the retry timer runs
    form.mnuSTExit.userClick();

    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_EQ(win::NextTimerDueMs(), -1);
    EXPECT_EQ(traced("form").back(), "unloaded hwnd=1 name=frmTarnix mode=1");
    EXPECT_TRUE(traced("tray").back().starts_with("delete ")) << traced("tray").back();
}

}  // namespace
