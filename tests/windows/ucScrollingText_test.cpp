#include "windows/ucScrollingText.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/loop.h"
#include "support/headless_test.h"
#include "windows/art/window_art.h"

namespace {

// The stored design the next host is made with.
std::optional<win::PropertyBag> nextStored;

class Host : public win::Form {
  public:
    Host() : win::Form("frmHost") {}
    ucScrollingText ucstCredits{
        this, "ucstCredits", {.Left = 120, .Top = 2640, .Width = 3315, .Height = 1095}, nextStored};
};

class ScrollingText : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        nextStored = win::PropertyBag{{"ScrollTimer", 80}};
    }
    void TearDown() override {
        if (host_) {
            win::Unload(*host_);
        }
        HeadlessTest::TearDown();
    }
    ucScrollingText& load() {
        host_ = win::New<Host>();
        host_->Load();
        return host_->ucstCredits;
    }
    float top(int16_t i) { return host_->ucstCredits.lblText[i].Top(); }
    void setTop(int16_t i, float value) { host_->ucstCredits.lblText[i].setTop(value); }

    std::shared_ptr<Host> host_;
};

TEST_F(ScrollingText, LinesStackFromTheBottomEdgeAndWrapInTheTextAreaWidth) {
    auto& uc = load();
    EXPECT_EQ(uc.StartTop(), 1095);
    EXPECT_EQ(uc.LineWidth(), 3495);
    uc.AddText("Credits", 5);
    uc.AddText("", 0);
    uc.AddText(std::string(60, 'x'), 20);  // wider than 38 characters: two text lines
    uc.AddText("Application Version", 5);
    const std::vector<std::pair<float, float>> topAndHeight{
        {1095, 195}, {1290, 195}, {1485, 390}, {1875, 195}};
    for (int16_t i = 0; i < 4; ++i) {
        EXPECT_EQ(top(i), topAndHeight[i].first) << i;
        EXPECT_EQ(uc.lblText[i].Height(), topAndHeight[i].second) << i;
        EXPECT_EQ(uc.lblText[i].Width(), 3495) << i;
        EXPECT_TRUE(uc.lblText[i].Visible()) << i;
    }
    EXPECT_EQ(uc.lblText[2].Left(), 20);
}

TEST_F(ScrollingText, TheHundredAndFirstLineIsAddedAndTheNextRefused) {
    auto& uc = load();
    for (int i = 0; i < 101; ++i) {
        ASSERT_EQ(uc.AddText("line", 0), 0) << i;
    }
    EXPECT_EQ(uc.LastIndex(), 100);
    EXPECT_EQ(uc.AddText("one too many", 0), 100);
    EXPECT_EQ(uc.LastIndex(), 100);
    EXPECT_EQ(uc.lblText.Count(), 101);
}

// One line of 195 twips scrolling by 1: (Top before the tick, Top after it).
TEST_F(ScrollingText, ALoneLineRestartsAtStartTopOnlyOnceWhollyAboveTheTopEdge) {
    const std::vector<std::pair<float, float>> ticks{
        {-193, -194}, {-194, -195}, {-195, 1095}, {0, -1}};
    auto& uc = load();
    uc.AddText("Credits", 5);
    for (const auto& [before, after] : ticks) {
        setTop(0, before);
        uc.tmrScrollText_Timer();
        EXPECT_EQ(top(0), after) << before;
    }
}

TEST_F(ScrollingText, LinesReEnterBelowTheColumnAsItStandsInTheTick) {
    auto& uc = load();
    for (int i = 0; i < 3; ++i) {
        uc.AddText("line", 0);
    }
    setTop(0, -195);
    setTop(1, -195);
    setTop(2, 200);
    uc.tmrScrollText_Timer();
    // Line 0 goes StartTop below line 2 before line 2 moves; line 1 joins directly below line 0.
    EXPECT_EQ(top(0), 200 + 1095);
    EXPECT_EQ(top(1), 200 + 1095 + 195);
    EXPECT_EQ(top(2), 199);
}

TEST_F(ScrollingText, TheTimerMovesEveryLineByTheRateEachInterval) {
    auto& uc = load();
    uc.AddText("a", 0);
    uc.AddText("b", 0);
    uc.ScrollText(true);
    win::RunFor(800);
    EXPECT_EQ(top(0), 1095 - 10);
    EXPECT_EQ(top(1), 1290 - 10);
    uc.setScrollRate(0);
    win::RunFor(800);
    EXPECT_EQ(top(0), 1095 - 10);
    uc.ScrollText(false);
    uc.setScrollRate(1);
    win::RunFor(800);
    EXPECT_EQ(top(0), 1095 - 10);
}

TEST_F(ScrollingText, ANewScrollTimerTakesEffectAtOnceAndANewRateLeavesTheTimerAlone) {
    auto& uc = load();
    uc.AddText("a", 0);
    uc.ScrollText(true);
    win::RunFor(40);
    const int64_t due = uc.tmrScrollText.nextDueMs();
    uc.setScrollRate(2);
    EXPECT_EQ(uc.tmrScrollText.nextDueMs(), due);
    EXPECT_EQ(uc.tmrScrollText.Interval(), 80);
    uc.setScrollTimer(10);
    EXPECT_EQ(uc.tmrScrollText.Interval(), 10);
    win::RunFor(100);
    EXPECT_EQ(top(0), 1095 - 20);
}

TEST_F(ScrollingText, ScrollingAnEmptyControlLeavesTheTimerOff) {
    auto& uc = load();
    uc.ScrollText(true);
    EXPECT_FALSE(uc.tmrScrollText.Enabled());
    uc.AddText("a", 0);
    EXPECT_FALSE(uc.tmrScrollText.Enabled());
    uc.ScrollText(true);
    EXPECT_TRUE(uc.tmrScrollText.Enabled());
}

// Element 0's Top before DeleteText of the only line, and after.
TEST_F(ScrollingText, DeletingTheOnlyLineEmptiesItStopsAndNudgesAStrayLineUp) {
    const std::vector<std::pair<float, float>> cases{
        {-50, -70}, {0, 0}, {500, 500}, {1095, 1095}, {1200, 1180}};
    for (const auto& [before, after] : cases) {
        auto& uc = load();
        uc.AddText("Credits", 5);
        uc.ScrollText(true);
        setTop(0, before);
        EXPECT_EQ(uc.DeleteText(), 0);
        EXPECT_EQ(uc.LastIndex(), -1);
        EXPECT_EQ(uc.lblText[0].Caption(), "");
        EXPECT_FALSE(uc.tmrScrollText.Enabled());
        EXPECT_EQ(top(0), after) << before;
        EXPECT_EQ(uc.DeleteText(), 0);
        EXPECT_EQ(uc.LastIndex(), -1);
        win::Unload(*host_);
    }
}

TEST_F(ScrollingText, DeletingTheLastOfSeveralLinesRemovesItsElement) {
    auto& uc = load();
    uc.AddText("a", 0);
    uc.AddText("b", 0);
    uc.ScrollText(true);
    uc.DeleteText();
    EXPECT_EQ(uc.LastIndex(), 0);
    EXPECT_FALSE(uc.lblText.Exists(1));
    EXPECT_TRUE(uc.tmrScrollText.Enabled());
}

struct Stored {
    const char* name;
    std::optional<win::PropertyBag> bag;
    int16_t scrollTimer;
    int32_t interval;
    int16_t scrollRate;
};

TEST_F(ScrollingText, AMissingPropertyReadsItsDefaultAndANewInstanceReadsNone) {
    const std::vector<Stored> cases{
        {"empty design", win::PropertyBag{}, 20, 20, 1},
        {"About window", win::PropertyBag{{"ScrollTimer", 80}}, 80, 80, 1},
        {"rate only", win::PropertyBag{{"ScrollRate", 3}}, 20, 20, 3},
        {"no design", std::nullopt, 0, 10, 0}};
    for (const auto& c : cases) {
        nextStored = c.bag;
        auto& uc = load();
        EXPECT_EQ(uc.ScrollTimer(), c.scrollTimer) << c.name;
        EXPECT_EQ(uc.tmrScrollText.Interval(), c.interval) << c.name;
        EXPECT_EQ(uc.ScrollRate(), c.scrollRate) << c.name;
        if (c.bag) {
            EXPECT_EQ(uc.BackColor(), 0x8000000Fu) << c.name;
            EXPECT_EQ(uc.Picture().Type(), win::vbPicTypeNone) << c.name;
            EXPECT_EQ(uc.BorderStyle(), 1) << c.name;
            EXPECT_EQ(uc.Appearance(), 1) << c.name;
            EXPECT_EQ(uc.ChangedProperties(), std::vector<std::string>{"Picture"}) << c.name;
        }
        win::Unload(*host_);
    }
}

TEST_F(ScrollingText, OnlyPropertiesOffTheirDefaultsAreWritten) {
    auto& uc = load();
    EXPECT_EQ(uc.SaveProperties().values().size(), 1u);
    EXPECT_TRUE(uc.SaveProperties().Contains("ScrollTimer"));
    uc.setScrollTimer(20);
    uc.setScrollRate(1);
    uc.setBackColor(0x8000000F);
    uc.setBorderStyle(1);
    uc.setAppearance(1);
    EXPECT_TRUE(uc.SaveProperties().values().empty());
    uc.setScrollRate(2);
    uc.setAppearance(0);
    uc.setPicture(win::LoadPictureFromBytes(windowart::AboutClose()));
    const auto bag = uc.SaveProperties();
    EXPECT_EQ(win::PropertyNumber(bag.ReadProperty("ScrollRate", int64_t{1})), 2);
    EXPECT_EQ(win::PropertyNumber(bag.ReadProperty("Appearance", int64_t{1})), 0);
    EXPECT_TRUE(bag.Contains("Picture"));
    EXPECT_EQ(bag.values().size(), 3u);
}

TEST_F(ScrollingText, EachLoadOfTheHostMakesAFreshInstance) {
    auto& uc = load();
    uc.AddText("a", 0);
    uc.AddText("b", 0);
    uc.setScrollRate(5);
    uc.ScrollText(true);
    win::Unload(*host_);
    EXPECT_FALSE(uc.lblText.Exists(1));
    host_->Load();
    EXPECT_EQ(uc.LastIndex(), -1);
    EXPECT_EQ(uc.ScrollRate(), 1);
    EXPECT_FALSE(uc.tmrScrollText.Enabled());
    uc.AddText("a", 0);
    EXPECT_EQ(top(0), 1095);
}

}  // namespace
