#include "windows/frmAbout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "main/main_window_test.h"
#include "platform/ui/loop.h"
#include "platform/ui/screen.h"
#include "windows/frmPropPage.h"

namespace {

class AboutWindow : public testsupport::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
        headless().setOnline(false);
        setText("\\CompanyDetails", "Name", "Example Ltd");
        main_ = &load();
    }
    void TearDown() override {
        win::Unload(*main_);
        MainWindowTest::TearDown();
    }
    // Chooses About from the tray menu, as the member does, at the clock's time.
    void chooseAbout() {
        headless().loadScript(std::to_string(clock().nowMs()) + " tray right-click\n" +
                              std::to_string(clock().nowMs()) + " menu frmTarnix mnuSTAbout\n");
        win::DoEvents();
    }
    // The Left of each move of the About window, in order.
    std::vector<std::string> moves() {
        std::vector<std::string> lefts;
        for (const auto& line : traced("window")) {
            if (line.find("name=frmAbout") != std::string::npos &&
                (line.starts_with("moved") || line.starts_with("shown"))) {
                const size_t at = line.find("left=") + 5;
                lefts.push_back(line.substr(at, line.find(' ', at) - at));
            }
        }
        return lefts;
    }
    frmTarnix* main_ = nullptr;
};

// The window loads (and reads the company through the options window, loading it hidden), comes
// in beyond the right edge and slides left 15 twips a step until its right edge meets the screen's.
TEST_F(AboutWindow, SlidesInFromTheRightEdgeWithTheCompanyAndTheCredits) {
    ASSERT_FALSE(bOptionsLoaded);
    chooseAbout();
    auto& about = win::Default<frmAbout>();
    ASSERT_TRUE(about.IsLoaded());
    EXPECT_TRUE(bOptionsLoaded) << "read through the options window";
    EXPECT_FALSE(win::Default<frmPropPage>().Visible());
    EXPECT_EQ(about.Label5.Caption(), "Example Ltd");
    EXPECT_EQ(about.ucstCredits.LastIndex(), 8) << "nine credit lines";
    const float screen = win::Screen.Width();
    const auto lefts = moves();
    ASSERT_FALSE(lefts.empty());
    EXPECT_EQ(lefts.front(), "15390");
    EXPECT_EQ(std::stof(lefts.back()), screen - about.Width());
    // One move a step, then the exact place: (30 + width) / 15 steps, rounded up.
    EXPECT_EQ(lefts.size(), static_cast<size_t>(std::ceil((30 + about.Width()) / 15)) + 2);
    EXPECT_EQ(about.Top(), win::Screen.Height() - about.Height() - 480);
}

// Choosing About again while it slides starts a slide inside the first; both end in place.
TEST_F(AboutWindow, ASecondChoiceMidSlideRestartsItAndBothEndInPlace) {
    headless().loadScript(
        "100 tray right-click\n100 menu frmTarnix mnuSTAbout\n"
        "200 tray right-click\n200 menu frmTarnix mnuSTAbout\n");
    win::RunFor(100);
    auto& about = win::Default<frmAbout>();
    const auto lefts = moves();
    EXPECT_EQ(std::count(lefts.begin(), lefts.end(), "15390"), 2) << "put back beyond the edge";
    EXPECT_EQ(about.Left(), win::Screen.Width() - about.Width());
}

// Reopened after its close image, the credits start again from their first line, each once; a
// language chosen while it is open relabels it at once; the banner opens the maker's page and the
// window stays.
TEST_F(AboutWindow, ReopensFreshRelabelsAtOnceAndOpensTheMakersPage) {
    chooseAbout();
    auto& about = win::Default<frmAbout>();
    about.Image1.userClick();
    ASSERT_FALSE(about.IsLoaded());
    EXPECT_FALSE(bAboutLoaded);
    chooseAbout();
    EXPECT_EQ(about.ucstCredits.LastIndex(), 8);
    main_->mnuL_Lang_Click(3);
    EXPECT_EQ(about.Label2.Caption(), "Darüber");
    clearTrace();
    about.Label7.userClick();
    EXPECT_EQ(traced("shell"),
              std::vector<std::string>{"open address=\"http://www.example.com\" ok=1"});
    EXPECT_TRUE(about.IsLoaded());
    EXPECT_EQ(about.Label7.MousePointer(), 99);
    main_->mnuSTExit.userClick();
    EXPECT_FALSE(about.IsLoaded()) << "the main window's unload takes it along";
}

}  // namespace
