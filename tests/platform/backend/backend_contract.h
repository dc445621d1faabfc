#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/runtime/backend.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/traced_backend.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"
#include "platform/ui/model.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/tray.h"
#include "support/headless_test.h"

namespace backend_contract {

// What every backend must do for the window model. A backend's test instantiates the suite with a
// driver that installs the backend (inside a TracedBackend, as the program does) and acts as its
// user; what the user does reaches the model once the driver settles.
template <class D>
concept Driver = requires(D d, int32_t hWnd, int32_t id, uint32_t n, std::optional<std::string> p) {
    { d.makeClock() } -> std::convertible_to<std::unique_ptr<platform::Clock>>;
    { d.makeBackend() } -> std::convertible_to<std::unique_ptr<platform::Backend>>;
    d.closeBox(hWnd);
    d.click(hWnd, id);
    d.chooseMenu(hWnd, id);
    d.select(hWnd, id, id);  // a list entry by index
    d.type(hWnd, id, std::string());
    d.trayMessage(hWnd, n, n);  // an icon's uID, a mouse message
    d.endSession();
    d.answerNextBox(id, int64_t{0});  // after the box stayed open that many ms
    d.answerNextDialog(p);            // nothing: cancelled
    d.settle();                       // runs the loop until what the user did reached the model
    { d.windowShown(hWnd) } -> std::same_as<bool>;
    { d.trayIconShown(hWnd, n) } -> std::same_as<bool>;
    // The item ids of the last menu opened on the window.
    { d.menuShown(hWnd) } -> std::same_as<std::vector<int32_t>>;
};

// Pixel scale, so that a tray callback's X is the mouse message itself.
class frmContract : public win::Form {
  public:
    frmContract() : Form("frmContract", {.ScaleMode = win::vbPixels}) {
        const auto logs = [this](std::string what) {
            return [this, what] { log.push_back(what); };
        };
        cmdGo.onClick = logs("cmdGo");
        cmdOff.onClick = logs("cmdOff");
        chkOn.onClick = [this] { log.push_back("chkOn " + std::to_string(chkOn.Value())); };
        lstPick.onClick = [this] { log.push_back("lstPick " + lstPick.Text()); };
        txtName.onChange = [this] { log.push_back("txtName " + txtName.Text()); };
        cmdArr.onClick = [this](int16_t i) { log.push_back("cmdArr " + std::to_string(i)); };
        mnuA.onClick = logs("mnuA");
        mnuB.onClick = logs("mnuB");
        mnuC.onClick = logs("mnuC");
        tmrTick.onTimer = [this] { ++ticks; };
    }
    win::CommandButton cmdGo{this, "cmdGo"};
    win::CommandButton cmdOff{this, "cmdOff", {.Enabled = false}};
    win::CheckBox chkOn{this, "chkOn"};
    win::ListBox lstPick{this, "lstPick", {.List = {"a", "b", "c"}}};
    win::TextBox txtName{this, "txtName"};
    win::ControlArray<win::CommandButton> cmdArr{this, "cmdArr", {{0, {}}}};
    win::Menu mnuPop{this, "mnuPop", {.Visible = false}};
    win::Menu mnuA{this, "mnuA", {.Container = &mnuPop, .Caption = "A"}};
    win::Menu mnuB{this, "mnuB", {.Container = &mnuPop, .Caption = "B"}};
    win::Menu mnuOther{this, "mnuOther", {.Visible = false}};
    win::Menu mnuC{this, "mnuC", {.Container = &mnuOther, .Caption = "C"}};
    win::Timer tmrTick{this, "tmrTick", {.Interval = 100}};

    std::vector<std::string> log;
    int ticks = 0;
    std::vector<int16_t> queries;
    int16_t refuse = -1;  // the unload mode this window cancels
    float mouseX = -1;

  protected:
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override {
        queries.push_back(UnloadMode);
        Cancel = UnloadMode == refuse ? -1 : 0;
    }
    void Form_MouseMove(int16_t, int16_t, float X, float) override { mouseX = X; }
};

template <Driver D>
class BackendContract : public ::testing::Test {
  protected:
    void SetUp() override {
        previousClock_ = platform::installClock(driver.makeClock());
        previousBackend_ = platform::installBackend(
            std::make_unique<platform::TracedBackend>(driver.makeBackend()));
    }
    void TearDown() override {
        platform::installBackend(std::move(previousBackend_));
        platform::installClock(std::move(previousClock_));
    }

    D driver;

  private:
    std::unique_ptr<platform::Clock> previousClock_;
    std::unique_ptr<platform::Backend> previousBackend_;
};

TYPED_TEST_SUITE_P(BackendContract);

TYPED_TEST_P(BackendContract, WindowsAppearGoAndCloseAsTheUserAndTheSessionSay) {
    auto& d = this->driver;
    auto& form = win::Default<frmContract>();
    form.Load();
    const int32_t hWnd = form.hWnd();
    EXPECT_FALSE(d.windowShown(hWnd));
    form.Show();
    EXPECT_TRUE(d.windowShown(hWnd));
    form.Hide();
    EXPECT_FALSE(d.windowShown(hWnd));
    form.Show();
    form.refuse = win::vbFormControlMenu;
    d.closeBox(hWnd);
    d.settle();
    EXPECT_TRUE(d.windowShown(hWnd));
    auto other = win::New<frmContract>();
    other->Show();
    const int32_t otherHWnd = other->hWnd();
    d.endSession();
    d.settle();
    EXPECT_EQ(form.queries, (std::vector<int16_t>{win::vbFormControlMenu, win::vbAppWindows}));
    EXPECT_EQ(other->queries, (std::vector<int16_t>{win::vbAppWindows}));
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_FALSE(d.windowShown(hWnd));
    EXPECT_FALSE(d.windowShown(otherHWnd));
}

TYPED_TEST_P(BackendContract, ControlInputReachesTheModelByControlId) {
    auto& d = this->driver;
    auto& form = win::Default<frmContract>();
    form.Show();
    form.cmdArr.Load(1);
    form.cmdArr[1].setVisible(true);
    const int32_t h = form.hWnd();
    using Log = std::vector<std::string>;
    const std::pair<std::function<void()>, Log> cases[] = {
        {[&] { d.click(h, form.cmdGo.Id()); }, {"cmdGo"}},
        {[&] { d.click(h, form.chkOn.Id()); }, {"chkOn 1"}},
        {[&] { d.click(h, form.chkOn.Id()); }, {"chkOn 0"}},
        {[&] { d.select(h, form.lstPick.Id(), 2); }, {"lstPick c"}},
        {[&] { d.type(h, form.txtName.Id(), "two words"); }, {"txtName two words"}},
        {[&] { d.click(h, form.cmdOff.Id()); }, {}},
        {[&] { d.click(h, form.cmdArr[1].Id()); }, {"cmdArr 1"}},
    };
    for (const auto& [act, expected] : cases) {
        form.log.clear();
        act();
        d.settle();
        EXPECT_EQ(form.log, expected);
    }
}

TYPED_TEST_P(BackendContract, OnlyAnItemOfTheOpenMenuCanBeChosen) {
    auto& d = this->driver;
    auto& form = win::Default<frmContract>();
    form.Show();
    const int32_t h = form.hWnd();
    form.PopupMenu(form.mnuPop);
    EXPECT_EQ(d.menuShown(h), (std::vector<int32_t>{form.mnuA.Id(), form.mnuB.Id()}));
    d.chooseMenu(h, form.mnuC.Id());
    d.chooseMenu(h, form.mnuB.Id());
    d.chooseMenu(h, form.mnuA.Id());  // the menu closed with the choice before
    d.settle();
    EXPECT_EQ(form.log, (std::vector<std::string>{"mnuB"}));
}

TYPED_TEST_P(BackendContract, ATrayIconShowsAndSendsItsMouseMessagesToItsWindow) {
    auto& d = this->driver;
    auto& form = win::Default<frmContract>();
    form.Show();
    const int32_t h = form.hWnd();
    win::NotifyIconRecord record{};
    const auto put = [&record](size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            record[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    put(win::nid::cbSize, win::nid::kSize);
    put(win::nid::hWnd, static_cast<uint32_t>(h));
    put(win::nid::uID, 5);
    put(win::nid::uFlags, win::NIF_MESSAGE);
    put(win::nid::uCallbackMessage, win::WM_MOUSEMOVE);
    ASSERT_NE(win::Shell_NotifyIconA(win::NIM_ADD, record), 0);
    EXPECT_TRUE(d.trayIconShown(h, 5));
    d.trayMessage(h, 5, win::WM_RBUTTONUP);
    d.settle();
    EXPECT_EQ(form.mouseX, static_cast<float>(win::WM_RBUTTONUP));
    ASSERT_NE(win::Shell_NotifyIconA(win::NIM_DELETE, record), 0);
    EXPECT_FALSE(d.trayIconShown(h, 5));
}

TYPED_TEST_P(BackendContract, AMessageBoxReturnsTheAnswerAndHoldsInputWhileTimersRun) {
    auto& d = this->driver;
    auto& form = win::Default<frmContract>();
    form.Show();
    const int32_t h = form.hWnd();
    d.answerNextBox(win::vbNo, 0);
    EXPECT_EQ(win::MsgBox("First?", win::vbYesNo), win::vbNo);
    d.answerNextBox(win::vbYes, 500);
    d.click(h, form.cmdGo.Id());
    d.type(h, form.txtName.Id(), "x");
    const int ticks = form.ticks;
    EXPECT_EQ(win::MsgBox("Second?", win::vbYesNo), win::vbYes);
    EXPECT_GT(form.ticks, ticks);
    EXPECT_TRUE(form.log.empty());
    d.settle();
    EXPECT_EQ(form.log, (std::vector<std::string>{"cmdGo", "txtName x"}));
}

TYPED_TEST_P(BackendContract, AFileDialogGivesTheChosenPathOrNothing) {
    auto& d = this->driver;
    const int32_t h = win::Default<frmContract>().hWnd();
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("chosen.txt"), "text");
    for (const std::optional<std::string>& chosen :
         {std::optional(dir.file("chosen.txt")), std::optional<std::string>()}) {
        d.answerNextDialog(chosen);
        const auto reply = win::detail::runModal([&](int32_t id) {
            platform::backend().openFileDialog({id, h, "Open", "Text|*.txt", dir.path().string()});
        });
        EXPECT_EQ(std::get<platform::input::DialogAnswer>(reply).path, chosen);
    }
}

TYPED_TEST_P(BackendContract, ATimerFiresEveryIntervalOfLoopTime) {
    auto& form = win::Default<frmContract>();
    form.Load();
    win::RunFor(1000);
    EXPECT_EQ(form.ticks, 10);
}

TYPED_TEST_P(BackendContract, TheFeaturesCoverWhatTheModelAsksFor) {
    const auto features = platform::backend().features();
    for (const auto feature :
         {platform::Feature::Windows, platform::Feature::Tray, platform::Feature::Menus,
          platform::Feature::MessageBoxes, platform::Feature::FileDialogs}) {
        EXPECT_TRUE(features.has(feature)) << static_cast<uint32_t>(feature);
    }
}

REGISTER_TYPED_TEST_SUITE_P(BackendContract, WindowsAppearGoAndCloseAsTheUserAndTheSessionSay,
                            ControlInputReachesTheModelByControlId,
                            OnlyAnItemOfTheOpenMenuCanBeChosen,
                            ATrayIconShowsAndSendsItsMouseMessagesToItsWindow,
                            AMessageBoxReturnsTheAnswerAndHoldsInputWhileTimersRun,
                            AFileDialogGivesTheChosenPathOrNothing,
                            ATimerFiresEveryIntervalOfLoopTime,
                            TheFeaturesCoverWhatTheModelAsksFor);

}  // namespace backend_contract
