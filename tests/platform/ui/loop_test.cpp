#include "platform/ui/loop.h"

#include <gtest/gtest.h>

#include "platform/runtime/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/msgbox.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using testsupport::HeadlessTest;

class frmClock : public win::Form {
  public:
    frmClock() : Form("frmClock") {
        tmrFast.onTimer = [this] { ++fast; };
        tmrTenth.onTimer = [this] { ++tenth; };
        tmrSecond.onTimer = [this] { ++second; };
        tmrMinute.onTimer = [this] { ++minute; };
    }
    win::Timer tmrFast{this, "tmrFast", {.Interval = 1}};
    win::Timer tmrTenth{this, "tmrTenth", {.Interval = 100}};
    win::Timer tmrSecond{this, "tmrSecond", {.Interval = 1000}};
    win::Timer tmrMinute{this, "tmrMinute", {.Interval = 60000}};
    int64_t fast = 0, tenth = 0, second = 0, minute = 0;
};

class LoopTest : public HeadlessTest {};

TEST_F(LoopTest, TimersFireExactlyAsOftenAsTheirIntervalsOverAVirtualHour) {
    auto& form = win::Default<frmClock>();
    form.Load();
    win::RunFor(3'600'000);
    EXPECT_EQ(form.fast, 3'600'000);
    EXPECT_EQ(form.tenth, 36'000);
    EXPECT_EQ(form.second, 3'600);
    EXPECT_EQ(form.minute, 60);
    EXPECT_EQ(clock().nowMs(), 3'600'000);
    // The timers of an unloaded form stop.
    form.Unload();
    win::RunFor(1000);
    EXPECT_EQ(form.second, 3'600);
    EXPECT_EQ(win::NextTimerDueMs(), -1);
}

class frmNested : public win::Form {
  public:
    frmNested() : Form("frmNested") {
        tmrLong.onTimer = [this] {
            ++longTicks;
            if (longTicks == 1) {
                // A long handler that yields: the other timer runs, this one is not re-entered.
                for (int i = 0; i < 50; ++i) {
                    win::DoEvents();
                }
            }
        };
        tmrShort.onTimer = [this] { ++shortTicks; };
        tmrOnce.onTimer = [this] {
            ++onceTicks;
            tmrOnce.setEnabled(false);
        };
    }
    win::Timer tmrLong{this, "tmrLong", {.Interval = 10}};
    win::Timer tmrShort{this, "tmrShort", {.Interval = 5}};
    win::Timer tmrOnce{this, "tmrOnce", {.Interval = 3}};
    int longTicks = 0, shortTicks = 0, onceTicks = 0;
};

// A timer switched off in its own handler does not fire again.
TEST_F(LoopTest, DoEventsInsideAHandlerRunsOtherTimersButNeverItsOwn) {
    auto& form = win::Default<frmNested>();
    form.Load();
    clock().advance(10);
    // The tick at 10 ms yields 50 passes (1 ms each when idle): tmrShort fires inside it.
    win::DoEvents();
    EXPECT_EQ(form.longTicks, 1);
    EXPECT_GE(form.shortTicks, 9);
    EXPECT_EQ(form.onceTicks, 1);
    form.tmrLong.setEnabled(false);
    form.shortTicks = 0;
    win::RunFor(1000);
    EXPECT_EQ(form.onceTicks, 1);
    EXPECT_EQ(form.shortTicks, 200);
}

TEST_F(LoopTest, SwitchingOnARunningTimerKeepsItsCountANewIntervalRestartsIt) {
    auto& form = win::Default<frmClock>();
    form.tmrFast.setEnabled(false);
    win::RunFor(60);
    form.tmrTenth.setEnabled(true);  // already on: still due at 100
    win::RunFor(40);
    EXPECT_EQ(form.tenth, 1);
    form.tmrTenth.setInterval(100);  // restarts: next at 200
    win::RunFor(99);
    EXPECT_EQ(form.tenth, 1);
    win::RunFor(1);
    EXPECT_EQ(form.tenth, 2);
}

TEST_F(LoopTest, AWindowWithNothingToWaitForEndsTheHeadlessLoop) {
    auto& form = win::Default<frmClock>();
    for (win::Timer* timer : {&form.tmrFast, &form.tmrTenth, &form.tmrSecond, &form.tmrMinute}) {
        timer->setEnabled(false);
    }
    win::RunMessageLoop();
    EXPECT_EQ(traced("loop"), (std::vector<std::string>{"idle forms=1"}));
    EXPECT_TRUE(form.IsLoaded());
}

// The loop ends when the last form unloads.
TEST_F(LoopTest, ScriptedInputArrivesAtItsTime) {
    auto& form = win::Default<frmClock>();
    form.tmrFast.setEnabled(false);
    form.Show();
    headless().loadScript("# close it after 2.5 s\n2500 close frmClock\n");
    EXPECT_EQ(win::RunMessageLoop(), 0);
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_EQ(clock().nowMs(), 2500);
    // Input runs before the timers of the same pass: the tick at 2500 finds the form gone.
    EXPECT_EQ(form.tenth, 24);
}

TEST_F(LoopTest, AHeldMessageBoxLetsTimersRunAndHoldsInputBack) {
    auto& form = win::Default<frmClock>();
    form.tmrFast.setEnabled(false);
    form.Show();
    headless().queueMessageBoxAnswer(win::vbNo, 1000);
    headless().loadScript("500 close frmClock\n");
    EXPECT_EQ(win::MsgBox("Sure?", win::vbYesNo), win::vbNo);
    EXPECT_EQ(clock().nowMs(), 1000);
    EXPECT_EQ(form.tenth, 9);
    EXPECT_TRUE(form.IsLoaded());  // the close waited for the box
    win::DoEvents();
    EXPECT_FALSE(form.IsLoaded());
}

// Raises err from its timer's tick; each failing timer ticks once.
class frmFailing : public win::Form {
  public:
    frmFailing() : Form("frmFailing") {
        tmrYield.onTimer = [this] {
            ++yieldTicks;
            for (int i = 0; i < 20; ++i) {
                win::DoEvents();
            }
            yieldFinished = true;
        };
        tmrFirst.onTimer = [this] {
            tmrFirst.setEnabled(false);
            platform::raise(5, "first");
        };
        tmrSecond.onTimer = [this] {
            tmrSecond.setEnabled(false);
            platform::raise(6, "second");
        };
        tmrBox.onTimer = [this] {
            tmrBox.setEnabled(false);
            answer = win::MsgBox("Sure?", win::vbYesNo);
        };
    }
    win::Timer tmrYield{this, "tmrYield", {.Interval = 10}};
    win::Timer tmrFirst{this, "tmrFirst", {.Interval = 12}};
    win::Timer tmrSecond{this, "tmrSecond", {.Interval = 14}};
    win::Timer tmrBox{this, "tmrBox", {.Enabled = false, .Interval = 100}};
    int yieldTicks = 0;
    bool yieldFinished = false;
    int answer = 0;
};

TEST_F(LoopTest, AnErrorInsideAYieldStaysOutOfTheYieldingHandlerAndEndsTheLoopAfterIt) {
    auto& form = win::Default<frmFailing>();
    form.Show();
    // Both failures come in the passes of tmrYield's first tick (at 10 ms, 1 ms per idle pass).
    EXPECT_EQ(testsupport::errorNumberOf([] { win::RunMessageLoop(); }), 5);
    EXPECT_EQ(form.yieldTicks, 1);
    EXPECT_TRUE(form.yieldFinished);
    EXPECT_LT(clock().nowMs(), 20 + 10);
    EXPECT_EQ(traced("loop"),
              (std::vector<std::string>{R"(untrapped number=5 description="first")",
                                        R"(untrapped number=6 description="second")"}));
    EXPECT_TRUE(form.IsLoaded());
}

TEST_F(LoopTest, AnErrorInADoEventsOutsideAnyLoopWaitsForTheNextLoop) {
    auto& form = win::Default<frmFailing>();
    form.tmrYield.setEnabled(false);
    form.Show();
    clock().advance(14);
    // Both failing timers are due: the first error is the one kept.
    EXPECT_EQ(testsupport::errorNumberOf([] { win::DoEvents(); }), 0);
    EXPECT_EQ(traced("loop").size(), 2u);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::RunMessageLoop(); }), 5);
    EXPECT_EQ(clock().nowMs(), 14);
    // Raised once: the next loop runs on.
    form.tmrBox.setEnabled(true);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::RunFor(100); }), 0);
    EXPECT_EQ(form.answer, win::vbOK);
}

TEST_F(LoopTest, AMessageBoxOutsideAnyLoopReturnsItsAnswerDespiteAFailingTimer) {
    auto& form = win::Default<frmFailing>();
    form.tmrYield.setEnabled(false);
    form.Show();
    headless().queueMessageBoxAnswer(win::vbYes, 100);
    int answer = 0;
    EXPECT_EQ(testsupport::errorNumberOf([&] { answer = win::MsgBox("Sure?", win::vbYesNo); }), 0);
    EXPECT_EQ(answer, win::vbYes);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::RunMessageLoop(); }), 5);
}

TEST_F(LoopTest, AnErrorOfAHandlerTheLoopRunsItselfLeavesTheLoopAtOnce) {
    auto& form = win::Default<frmFailing>();
    form.tmrYield.setEnabled(false);
    form.Show();
    EXPECT_EQ(testsupport::errorNumberOf([] { win::RunMessageLoop(); }), 5);
    EXPECT_EQ(clock().nowMs(), 12);
    EXPECT_TRUE(traced("loop").empty());
}

}  // namespace
