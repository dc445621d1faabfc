#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "desktop/cAV.h"
#include "main/frmRequests.h"
#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "platform/ui/tray.h"
#include "support/loopback_server.h"

namespace {

// A chat-request pop-up at 15 twips per pixel, 30-pixel taskbar: slot 1 has base line 11295,
// steps of 150 twips in and 75 out. Its page loads while time stands still: it completes at 0 ms,
// slides in from 1 to 27 ms, stays to 8027 ms and slides out to its unload at 8069 ms.
class PopupWindow : public testsupport::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        site.setPage("chatrequest.php", "<p>bob would like to chat</p>");
        sNewRequestURL = site.url("/page/");
        sMemberName = "bob";
        tarnix().iTaskbarHeight = 450;
    }
    static frmTarnix& tarnix() { return win::Default<frmTarnix>(); }
    static std::shared_ptr<frmRequests> open(int16_t slot = 1, const char* kind = "ChatRequest") {
        tarnix().ShowRequest(kind);
        return tarnix().aPopups[slot];
    }
    // The member's close box, or the page asking to close its window.
    static void act(const std::string& action, frmRequests& popup) {
        if (action == "close") {
            popup.CloseBox();
        } else {
            popup.wbPopUp.pageAction(platform::input::PageClose{popup.hWnd(), popup.wbPopUp.Id()});
        }
    }

    testsupport::LoopbackServer site;
};

TEST_F(PopupWindow, SlidesInStaysAndSlidesOut) {
    auto popup = open();
    win::RunUntil(0);
    const auto& browser = popup->wbPopUp.state();
    EXPECT_EQ((std::array{browser.Left, browser.Top, browser.Width, browser.Height}),
              (std::array<float, 4>{-2, -2, 321, 224}));
    for (int tick = 1; tick <= 27; ++tick) {
        win::RunUntil(tick);
        const auto view = popup->view();
        EXPECT_EQ(view.top, 11295 - 150 * std::min(tick, 26)) << tick;
        EXPECT_EQ(view.height, tick <= 25 ? 150 * tick : 3630) << tick;
        EXPECT_EQ(view.topMost, tick == 27) << tick;
    }
    win::RunUntil(8027);
    for (int tick = 1; tick <= 41; ++tick) {
        win::RunUntil(8027 + tick);
        EXPECT_EQ(popup->view().top, 7395 + 75 * tick) << tick;
        EXPECT_EQ(popup->view().top + popup->view().height, 7395 + 3630) << tick;
    }
    EXPECT_EQ(popup->view().height, 555);
    EXPECT_EQ(tarnix().abSlotUsed[1], -1);
    win::RunUntil(8069);
    EXPECT_FALSE(popup->IsLoaded());
    EXPECT_EQ(tarnix().abSlotUsed[1], 0);
}

// Both start the slide-out where the window is; one risen less than 12 steps goes at the first.
// The page's request leaves the slide-in and the stay running: the slide-in completes (75 twips
// up net per ms from 10 ms), and the stay's end changes nothing.
TEST_F(PopupWindow, CloseBoxAndClosingPageSlideOutFromWhereTheWindowIs) {
    struct Case {
        const char* action;
        int64_t at;
        int64_t unloadedAt;
        bool topMost;
    };
    for (const Case& c : {Case{"close", 3, 4, false}, Case{"close", 1000, 1042, true},
                          Case{"page-close", 8020, 8062, true}, Case{"page-close", 10, 82, true}}) {
        tarnix().abSlotUsed.fill(0);
        auto popup = open();
        const int64_t start = clock().nowMs();
        win::RunUntil(start + c.at);
        act(c.action, *popup);
        win::RunUntil(start + c.unloadedAt - 1);
        EXPECT_TRUE(popup->IsLoaded()) << c.action << " " << c.at;
        EXPECT_EQ(popup->view().topMost, c.topMost) << c.action << " " << c.at;
        win::RunUntil(start + c.unloadedAt);
        EXPECT_FALSE(popup->IsLoaded()) << c.action << " " << c.at;
    }
}

// A page closing a window still at the screen's bottom edge (slot 0, offset 0) unloads it at once.
TEST_F(PopupWindow, AClosingPageAtTheBottomEdgeUnloadsAtOnce) {
    tarnix().abSlotUsed.fill(-1);
    auto atEdge = open(0);
    tarnix().abSlotUsed.fill(0);
    auto above = open(1);
    win::RunUntil(0);
    act("page-close", *atEdge);
    act("page-close", *above);
    EXPECT_FALSE(atEdge->IsLoaded());
    EXPECT_EQ(tarnix().abSlotUsed[0], 0);
    EXPECT_TRUE(above->IsLoaded());
}

// A page that never completes (here none: an unknown kind) keeps the window at height 0 and its
// slot until the close box ends it at the first slide-out tick.
TEST_F(PopupWindow, APageThatNeverCompletesWaitsForTheCloseBox) {
    auto popup = open(1, "chatrequest");
    win::RunFor(60'000);
    EXPECT_EQ(popup->view().height, 0);
    EXPECT_EQ(tarnix().abSlotUsed[1], -1);
    act("close", *popup);
    EXPECT_TRUE(popup->IsLoaded());
    win::RunFor(1);
    EXPECT_FALSE(popup->IsLoaded());
    EXPECT_EQ(tarnix().abSlotUsed[1], 0);
}

// A further document during the stay leaves the window in place; the stay ends as before.
TEST_F(PopupWindow, ASecondDocumentDuringTheStayKeepsItInPlace) {
    auto popup = open();
    win::RunUntil(1000);
    popup->wbPopUp.Navigate(site.url("/page/chatrequest.php?mid=bob"));
    win::RunUntil(8027);
    EXPECT_EQ(traced("browser").size(), 4u) << "two navigations, two documents";
    EXPECT_EQ(popup->view().top, 7395);
    EXPECT_TRUE(popup->view().topMost);
    win::RunUntil(8069);
    EXPECT_FALSE(popup->IsLoaded());
}

// The sound the poll prepared plays at load; the player's sound is closed at unload. The slot
// is handed out again while another pop-up is still up.
TEST_F(PopupWindow, PlaysAtLoadClosesAtUnloadAndGivesItsSlotBack) {
    const std::string sound = "\\\"" + programFolder() + "/chat.wav\\\"";
    oAV().OpenMCIAudioFile(programFolder() + "/chat.wav");
    clearTrace();
    auto first = open(1);
    EXPECT_TRUE(traced("mci").at(0).starts_with("cmd=\"PLAY " + sound + " from 0\""));
    win::RunUntil(5000);
    auto second = open(2);
    win::RunUntil(8069);
    EXPECT_FALSE(first->IsLoaded());
    EXPECT_TRUE(traced("mci").back().starts_with("cmd=\"CLOSE " + sound + "\""));
    EXPECT_EQ(open(1)->view().top, 11295);
    EXPECT_TRUE(second->IsLoaded());
}

// Exit: the tray icon goes at once; the pop-ups finish and give their slots back without loading
// the main window again, and the loop ends after the last one.
TEST_F(PopupWindow, AfterExitThePopupsFinishAndTheLoopEnds) {
    writeIni("1");
    headless().setOnline(false);
    auto& form = load();
    open(1);
    open(2);
    win::RunUntil(100);
    ASSERT_FALSE(win::TrayIcons().empty());
    form.mnuSTExit.userClick();
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_EQ(win::FormCount(), 2);

    EXPECT_EQ(win::RunMessageLoop(), 0);
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_EQ(clock().nowMs(), 8069);
    EXPECT_EQ(tarnix().abSlotUsed, (std::array<int16_t, 16>{}));
    const auto forms = traced("form");
    EXPECT_EQ(std::count_if(forms.begin(), forms.end(),
                            [](const std::string& line) { return line.ends_with("frmTarnix"); }),
              1)
        << "loaded once";
}

}  // namespace
