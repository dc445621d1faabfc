#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include "platform/runtime/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/loop.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using testsupport::HeadlessTest;

class frmMain : public win::Form {
  public:
    frmMain()
        : Form("frmMain",
               {.Caption = "Main", .Left = 300, .Top = 600, .Width = 5625, .Height = 8000}) {}

    win::Label lblTitle{this, "lblTitle", {.Left = 120, .Top = 120, .Caption = "design"}};
    win::Timer tmrTick{this, "tmrTick", {.Interval = 1000}};

    int loads = 0;
    int16_t cancelMode = -1;  // the unload mode this window refuses
    bool unloadInLoad = false;
    std::vector<std::string> events;

  protected:
    void Form_Load() override {
        ++loads;
        events.push_back("load");
        if (unloadInLoad) {
            Unload();
        }
    }
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override {
        events.push_back("query " + std::to_string(UnloadMode));
        if (UnloadMode == cancelMode) {
            Cancel = -1;
            Hide();
        }
    }
    void Form_Unload(int16_t& /*Cancel*/) override { events.push_back("unload"); }
};

class frmPopup : public win::Form {
  public:
    frmPopup() : Form("frmPopup", {.BorderStyle = win::vbFixedToolWindow}) {}
    win::Label lblRef{this, "lblRef"};
};

class FormTest : public HeadlessTest {};

// The first reference to a control loads the form without showing it; on screen, changes are
// traced in twips, and a hidden form's are not.
TEST_F(FormTest, TheFirstReferenceLoadsAndShowMoveCaptionAndHideAreTraced) {
    auto& form = win::Default<frmMain>();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.lblTitle.Caption(), "design");
    form.lblTitle.setCaption("x");
    EXPECT_EQ(form.loads, 1);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(traced("window").empty());
    form.Show();
    form.setLeft(1000.5f);
    form.setHeight(3630);
    form.setCaption("New");
    form.Hide();
    form.setTop(0);
    EXPECT_EQ(traced("form"), (std::vector<std::string>{"loaded hwnd=1 name=frmMain"}));
    EXPECT_EQ(
        traced("window"),
        (std::vector<std::string>{
            R"(shown hwnd=1 name=frmMain caption="Main" left=300 top=600 width=5625 height=8000 topmost=0)",
            "moved hwnd=1 name=frmMain left=1000.5 top=600 width=5625 height=8000",
            "resized hwnd=1 name=frmMain left=1000.5 top=600 width=5625 height=3630",
            R"(caption hwnd=1 name=frmMain caption="New")", "hidden hwnd=1 name=frmMain"}));
}

TEST_F(FormTest, UnloadRunsQueryUnloadThenUnloadAndResetsControlsToTheirDesign) {
    auto& form = win::Default<frmMain>();
    win::Unload(form);  // not loaded: nothing happens
    EXPECT_TRUE(form.events.empty());
    form.lblTitle.setCaption("changed");
    form.Show();
    win::Unload(form);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.events, (std::vector<std::string>{"load", "query 1", "unload"}));
    EXPECT_EQ(traced("form").back(), "unloaded hwnd=1 name=frmMain mode=1");
    EXPECT_EQ(win::FindWindow(1), nullptr);
    // The next reference loads it again, from its design, under a new handle.
    EXPECT_EQ(form.lblTitle.Caption(), "design");
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(form.hWnd(), 2);
}

TEST_F(FormTest, UnloadingInsideFormLoadLeavesTheFormUnloadedAndShowDoesNothing) {
    auto& form = win::Default<frmMain>();
    form.unloadInLoad = true;
    form.Show();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(traced("window").empty());
    EXPECT_EQ(win::FormCount(), 0);
}

TEST_F(FormTest, PopupsAreSeparateInstancesThatLiveWhileLoadedOrReferenced) {
    std::weak_ptr<frmPopup> first;
    {
        auto popup = win::New<frmPopup>();
        first = popup;
        popup->lblRef.setCaption("1");
        auto second = win::New<frmPopup>();
        second->lblRef.setCaption("2");
        EXPECT_NE(popup->hWnd(), second->hWnd());
        EXPECT_EQ(popup->lblRef.Caption(), "1");
        EXPECT_EQ(win::FormCount(), 2);
    }
    // Still loaded: the model keeps it.
    ASSERT_FALSE(first.expired());
    first.lock()->Unload();
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(win::FormCount(), 1);
}

TEST_F(FormTest, ScaleConversionsFollowTheScreensTwipsPerPixel) {
    auto& form = win::Default<frmPopup>();
    EXPECT_EQ(form.ScaleX(516, win::vbPixels, win::vbTwips), 7740);
    EXPECT_EQ(form.ScaleY(7740, win::vbTwips, win::vbPixels), 516);
    EXPECT_EQ(form.ScaleX(2540, win::vbHimetric, win::vbTwips), 1440);
    EXPECT_EQ(form.ScaleY(1, win::vbInches, win::vbCharacters), 6);
    for (const int16_t unknown : {-1, 9, 32767}) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { form.ScaleX(1, unknown, win::vbTwips); }), 5);
        EXPECT_EQ(testsupport::errorNumberOf([&] { form.ScaleY(1, win::vbTwips, unknown); }), 5);
    }
    form.setScaleMode(win::vbPixels);
    form.Move(0, 0, 4545, 3630);
    // A tool window: 3-pixel frame, 16-pixel caption.
    EXPECT_EQ(form.ScaleWidth(), 303 - 6);
    EXPECT_EQ(form.ScaleHeight(), 242 - 6 - 16);
    EXPECT_THROW(form.setScaleMode(7), platform::RuntimeError);
}

TEST_F(FormTest, TheEndOfTheSessionUnloadsEveryFormWithModeTwo) {
    auto& main = win::Default<frmMain>();
    main.cancelMode = win::vbFormControlMenu;  // refuses the close box only
    main.Show();
    auto popup = win::New<frmPopup>();
    popup->Show();
    headless().loadScript("10 close frmMain\n20 close frmNothing\n30 end-session\n");
    win::RunMessageLoop();
    EXPECT_EQ(win::FormCount(), 0);
    // The close box's mode 0 was refused; the end of the session's mode 2 went ahead.
    EXPECT_EQ(main.events, (std::vector<std::string>{"load", "query 0", "query 2", "unload"}));
    EXPECT_EQ(traced("input"),
              (std::vector<std::string>{"close frmMain", "close frmNothing",
                                        "ignored close: no such visible window", "end-session"}));
    EXPECT_EQ(clock().nowMs(), 30);
}

}  // namespace
