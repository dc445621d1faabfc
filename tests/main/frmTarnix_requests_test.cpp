#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "lang/mLang_loaders.h"
#include "main/frmRequests.h"
#include "main_window_test.h"
#include "platform/runtime/errors.h"
#include "support/loopback_server.h"

namespace {

// The slot table and placement at 15 twips per pixel with a 30-pixel taskbar. The main window is
// not loaded: ShowRequest and CloseRequestSLot touch none of its controls.
class PopupSlots : public testsupport::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        mLang::LoadEnglish();
        sNewRequestURL = site.url("/page/");
        sMemberName = "bob";
        tarnix().iTaskbarHeight = 450;
    }
    static frmTarnix& tarnix() { return win::Default<frmTarnix>(); }
    // What the model holds of the slot's pop-up (reading it so loads nothing).
    static platform::WindowView placed(int16_t slot) { return tarnix().aPopups[slot]->view(); }
    void screen(int32_t widthPx, int32_t heightPx) {
        platform::ScreenInfo info;
        info.widthPx = widthPx;
        info.heightPx = heightPx;
        headless().setScreen(info);
    }

    testsupport::LoopbackServer site;
};

// 1024 x 768: three rows in three columns, slot 10 on a fourth row, then the message and the
// screen's bottom edge; slot 0 (none free) at the first column.
TEST_F(PopupSlots, FillTheGridOfTheWorkedExample) {
    const float lefts[] = {10665, 10665, 10665, 5970, 5970, 5970, 1275, 1275, 1275, 1275};
    const float tops[] = {11295, 7665, 4035, 11295, 7665, 4035, 11295, 7665, 4035, 405};
    for (int16_t slot : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 0}) {
        const size_t boxes = traced("msgbox").size();
        tarnix().ShowRequest("ChatRequest");
        const bool message = slot == 0 || slot > 10;
        ASSERT_EQ(traced("msgbox").size(), boxes + (message ? 1 : 0)) << slot;
        const auto view = placed(slot);
        EXPECT_EQ(view.left, slot == 0 ? 10665 : slot > 10 ? 1275 : lefts[slot - 1]) << slot;
        EXPECT_EQ(view.top, message ? 11520 : tops[slot - 1]) << slot;
        EXPECT_EQ(view.height, 0);
        EXPECT_TRUE(view.visible);
        EXPECT_EQ(tarnix().aPopups[slot]->lblFormRefNo.Caption(), std::to_string(slot));
        EXPECT_EQ(tarnix().aPopups[slot]->lblBase.Caption(), platform::CStr(view.top));
        EXPECT_EQ(tarnix().abSlotUsed[slot], -1);
    }
    EXPECT_NE(traced("msgbox").back().find(" text=\"Requests excided 15 PopUps!\""),
              std::string::npos);
    EXPECT_EQ(win::FormCount(), 17) << "both slot-0 pop-ups stay";
}

// The rows a screen holds decide which slots get the message.
TEST_F(PopupSlots, RowsFollowTheScreenHeight) {
    const std::pair<int32_t, std::set<int16_t>> cases[] = {
        {1024, {13, 14, 15}},  // four rows
        {1210, {5, 10, 15}},   // five rows: 18150 twips
    };
    for (const auto& [heightPx, messages] : cases) {
        tarnix().abSlotUsed.fill(0);
        screen(1024, heightPx);
        for (int16_t slot = 1; slot <= 15; ++slot) {
            clearTrace();
            tarnix().ShowRequest("ChatRequest");
            EXPECT_EQ(traced("msgbox").size(), messages.count(slot)) << heightPx << " " << slot;
        }
    }
    // Slot 5 at the first column's bottom edge, slot 6 at row 1 of the second column.
    EXPECT_EQ(placed(5).left, 10665);
    EXPECT_EQ(placed(5).top, 18150);
    EXPECT_EQ(placed(6).left, 5970);
    EXPECT_EQ(placed(6).top, 18150 - 225);
}

TEST_F(PopupSlots, HalfTheTaskbarRoundsToEven) {
    for (const auto& [taskbar, offset] : {std::pair<int16_t, float>{465, 232}, {495, 248}}) {
        tarnix().abSlotUsed.fill(0);
        tarnix().iTaskbarHeight = taskbar;
        tarnix().ShowRequest("NewMail");
        EXPECT_EQ(placed(1).top, 11520 - offset) << taskbar;
    }
}

// 2500 pixels: the first column's Left, 32805, overflows before anything is made or marked.
TEST_F(PopupSlots, ALeftEdgeBeyondSixteenBitsOverflows) {
    screen(2500, 768);
    try {
        tarnix().ShowRequest("ChatRequest");
        FAIL() << "no overflow";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.number(), platform::kOverflow);
    }
    EXPECT_EQ(tarnix().abSlotUsed, (std::array<int16_t, 16>{}));
    EXPECT_EQ(win::FormCount(), 0);
}

// Caption and page by kind, compared case-sensitively; an unknown kind gets the message instead.
TEST_F(PopupSlots, KindsChooseCaptionAndPage) {
    const std::array<std::string, 3> cases[] = {
        {"ChatRequest", "  Chat Request", "chatrequest.php?mid=bob"},
        {"ContactOnline", "  Contact Online", "contactonline.php?mid=bob"},
        {"NewMail", "  New Mail", "newmail.php?member=bob"},
        {"GenAlert", "  New Mail", "newmail.php?member=bob"},
        {"chatrequest", "Chat Request", ""},
    };
    int16_t slot = 0;
    for (const auto& [kind, caption, page] : cases) {
        clearTrace();
        tarnix().ShowRequest(kind);
        const auto view = placed(++slot);
        EXPECT_EQ(view.caption, caption);
        const std::string navigate = "hwnd=" + std::to_string(view.hWnd) +
                                     " name=wbPopUp navigate url=\"" + site.url("/page/" + page) +
                                     "\"";
        EXPECT_EQ(traced("browser"),
                  page.empty() ? std::vector<std::string>{} : std::vector<std::string>{navigate});
        EXPECT_EQ(traced("msgbox"),
                  page.empty() ? std::vector<std::string>{"style=0 title=\"TarnixIM\" text=\"Sorry "
                                                          "unknown string has been passed to "
                                                          "ShowRequest - chatrequest\" answer=1"}
                               : std::vector<std::string>{});
    }
}

// "Label1" names no slot; a number frees that slot only; other text fails and changes nothing.
// The lowest freed slot of 1 to 15 is handed out next.
TEST_F(PopupSlots, CloseRequestSlotFreesTheNamedSlotOnly) {
    tarnix().abSlotUsed.fill(-1);
    tarnix().ShowRequest("NewMail");
    const auto popup = tarnix().aPopups[0];
    const std::tuple<const char*, int, int16_t> cases[] = {
        {"Label1", 0, -1},
        {"label1", platform::kTypeMismatch, -1},
        {"", platform::kTypeMismatch, -1},
        {"16", platform::kSubscriptOutOfRange, -1},
        {"-1", platform::kSubscriptOutOfRange, -1},
        {"9", 0, 9},
        {" 7 ", 0, 7},
        {"0", 0, 0},
    };
    std::array<int16_t, 16> expected{};
    expected.fill(-1);
    for (const auto& [text, number, freed] : cases) {
        int raised = 0;
        try {
            tarnix().CloseRequestSLot(text);
        } catch (const platform::RuntimeError& e) {
            raised = e.number();
        }
        EXPECT_EQ(raised, number) << text;
        if (freed >= 0) {
            expected[freed] = 0;
        }
        EXPECT_EQ(tarnix().abSlotUsed, expected) << text;
    }
    EXPECT_EQ(tarnix().aPopups[0], popup);
    tarnix().ShowRequest("NewMail");
    ASSERT_EQ(tarnix().abSlotUsed[7], -1);
    EXPECT_EQ(placed(7).top, 11295);
}

}  // namespace
