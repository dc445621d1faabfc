#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "site_window_test.h"

namespace {

using testsupport::SiteWindowTest;

// A signed-in window whose poll ticks are run one by one; alerts are counted as pop-ups opened.
class PollTest : public SiteWindowTest {
  protected:
    void SetUp() override {
        SiteWindowTest::SetUp();
        for (const char* kind : {"ChatRequest", "NewMail", "ContactOnline", "GenAlert"}) {
            oRegistry().SaveSettingLong(1, kSettingsKey + std::string("\\Alerts"), kind, 1);
            setText("\\Sounds", kind, std::string("/sounds/") + kind + ".wav");
        }
        site.setPage("poll", "");
        site.setPage("signin", "<p>no hook</p>");
        form = &openSignInPage();
        form->tmrRequestCheck.setEnabled(false);
        clearTrace();
    }
    // One tick with this answer; the kinds it alerted, in order.
    std::vector<std::string> tick(const std::string& answer) {
        site.setPage("poll", answer);
        const size_t before = traced("mci").size();
        frmTarnixTestAccess::tmrRequestCheck_Timer(*form);
        std::vector<std::string> kinds;
        const auto mci = traced("mci");
        for (size_t i = before; i < mci.size(); ++i) {
            for (const char* kind : {"ChatRequest", "NewMail", "ContactOnline", "GenAlert"}) {
                if (mci[i].find('/' + std::string(kind) + ".wav") != std::string::npos &&
                    mci[i].find("OPEN") != std::string::npos) {
                    kinds.emplace_back(kind);
                }
            }
        }
        return kinds;
    }
    frmTarnix* form = nullptr;
};

// With the marker on every tick NewMail alerts on ticks 1, 153 and 305; ticks 152 and 304 end
// the tick after it, so GenAlert is not looked at then.
TEST_F(PollTest, NewMailAlertsOnceEvery152Ticks) {
    std::vector<int> newMail;
    std::vector<int> genAlert;
    for (int tick = 1; tick <= 305; ++tick) {
        for (const auto& kind : this->tick("vb_newmail vb_genalert")) {
            (kind == "NewMail" ? newMail : genAlert).push_back(tick);
        }
    }
    EXPECT_EQ(newMail, (std::vector<int>{1, 153, 305}));
    // GenAlert counts on the ticks NewMail lets through: its own early end falls on tick 153.
    EXPECT_EQ(genAlert, (std::vector<int>{1, 154}));
}

// A repeated name ends the tick (GenAlert is not looked at); case, a tick without the marker and
// a new name alert again; a name without "=" or ";" ends the tick silently.
TEST_F(PollTest, ContactOnlineAlertsForEachNewName) {
    using Kinds = std::vector<std::string>;
    const Kinds both{"ContactOnline", "GenAlert"};
    struct Step {
        std::string answer;
        Kinds alerts;
        std::string last;
    };
    for (const Step& step :
         {Step{"vb_contactonline=contact1; vb_genalert", both, "contact1"},
          Step{"x vb_contactonline y=contact1;z vb_genalert", {}, "contact1"},
          Step{"vb_contactonline=Contact1;", {"ContactOnline"}, "Contact1"},
          Step{"VB_CONTACTONLINE=a;", {}, ""}, Step{"vb_contactonline=;", {}, ""},
          Step{"vb_contactonline=contact1;", {"ContactOnline"}, "contact1"},
          Step{"vb_contactonline no equals vb_genalert", {}, "contact1"},
          Step{"vb_contactonline=name and no semicolon vb_genalert", {}, "contact1"},
          Step{"vb_genalert; vb_chatrequest vb_contactonline=b;",
               {"ChatRequest", "ContactOnline", "GenAlert"},
               "b"}}) {
        EXPECT_EQ(tick(step.answer), step.alerts) << step.answer;
        EXPECT_EQ(frmTarnixTestAccess::sLastContactOnline(*form), step.last) << step.answer;
    }
}

// Only a switch of exactly 1 is on; a block that is off keeps its counter, which counts on when it
// is on again.
TEST_F(PollTest, ASwitchOtherThanOneIsOffAndKeepsTheCounter) {
    const std::string alerts = kSettingsKey + std::string("\\Alerts");
    EXPECT_EQ(tick("vb_newmail"), std::vector<std::string>{"NewMail"});
    EXPECT_TRUE(tick("vb_newmail").empty());
    for (const int32_t off : {2, -1, 0}) {
        oRegistry().SaveSettingLong(1, alerts, "NewMail", off);
        EXPECT_TRUE(tick("vb_newmail vb_chatrequest").size() == 1) << off;
        EXPECT_EQ(frmTarnixTestAccess::iNewMailRepeat(*form), 2) << off;
    }
    oRegistry().DeleteValue(1, alerts, "NewMail");
    EXPECT_TRUE(tick("").empty());
    EXPECT_EQ(frmTarnixTestAccess::iNewMailRepeat(*form), 2) << "missing is off";
    oRegistry().SaveSettingLong(1, alerts, "NewMail", 1);
    EXPECT_TRUE(tick("vb_newmail").empty());
    EXPECT_EQ(frmTarnixTestAccess::iNewMailRepeat(*form), 3);
}

// A fetch that fails changes nothing: no alert, the last answer and the counters stay.
TEST_F(PollTest, AFailedFetchChangesNothing) {
    EXPECT_EQ(tick("vb_newmail"), std::vector<std::string>{"NewMail"});
    const std::string kept = sUpdateURL;
    sUpdateURL = "http://127.0.0.1:" + std::to_string(testsupport::closedLoopbackPort()) + "/poll";
    EXPECT_TRUE(tick("vb_chatrequest").empty());
    EXPECT_EQ(form->txtRequest.Text(), "vb_newmail");
    EXPECT_EQ(frmTarnixTestAccess::iNewMailRepeat(*form), 1);
    sUpdateURL = kept;
    EXPECT_TRUE(tick("vb_newmail").empty());
    EXPECT_EQ(frmTarnixTestAccess::iNewMailRepeat(*form), 2);
}

}  // namespace
