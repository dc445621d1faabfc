#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "platform/ui/tray.h"
#include "support/loopback_server.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;
using testsupport::writeFile;

constexpr const char* kChecking = "Checking Internet Connection.";
constexpr const char* kChecksDone = "Initializing Application.";

class StartUp : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
        setText("\\CompanyDetails", "SystemTrayTT", "Pexar IM");
    }
    // The site is the loopback server; the machine starts offline when asked.
    frmTarnix& start(bool online) {
        setText("\\DAPLinks", "X6Domain", server.url("/status/200"));
        headless().setOnline(online);
        clearTrace();  // only what the window does from here on
        return load();
    }
    std::string title() const { return server.url("/status/200").substr(7); }
    std::string balloon(int64_t ms, const char* text) const {
        return std::to_string(ms) + " hwnd=1 id=1 title=\"" + title() + "\" text=\"" + text +
               "\" flags=0";
    }

    testsupport::LoopbackServer server;
};

TEST_F(StartUp, LoadReadsTheSettingsAddsTheTrayIconAndAppliesTheLanguage) {
    auto& form = start(false);

    std::vector<std::string> effects;
    for (const auto& line : traceLines()) {
        effects.push_back(line.substr(0, line.find(' ', line.find(' ') + 1)));
    }
    EXPECT_EQ(effects, (std::vector<std::string>{"0 form", "0 tray", "0 window"}));
    ASSERT_EQ(traced("tray").size(), 1u);
    EXPECT_NE(traced("tray")[0].find("szTip=\"Pexar IM\""), std::string::npos);
    EXPECT_EQ(traced("window")[0],
              "shown hwnd=1 name=frmTarnix caption=\"Instant Messenger\" left=0 top=0 "
              "width=5625 height=7950 topmost=0");

    EXPECT_EQ(sRegAddress, "Software\\Pexar\\X6");
    EXPECT_EQ(form.lblTitle.Caption(), title());
    EXPECT_EQ(form.lblAction[0].Caption(), kChecking);
    EXPECT_EQ(form.lblInformation.Caption(), "");
    EXPECT_EQ(form.chkAction[0].Value(), 0);
    EXPECT_EQ(form.ScaleWidth(), 5535);
    EXPECT_EQ(form.ScaleHeight(), 7575);
    EXPECT_EQ(form.BorderStyle(), win::vbFixedDialog);
    EXPECT_EQ(win::NextTimerDueMs(), 100) << "the animation runs from load";
    EXPECT_EQ(server.requestCount(), 0) << "nothing is checked before the first second";
}

// Meanwhile the bar climbs by 2 to 44, then from 4 again: 45 is never shown.
TEST_F(StartUp, OfflineRetriesFiveTimesAMinuteApartThenUnloads) {
    auto& form = start(false);
    const float bar[] = {2,  4,  6,  8,  10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30,
                         32, 34, 36, 38, 40, 42, 44, 4,  6,  8,  10, 12, 14, 16, 18,
                         20, 22, 24, 26, 28, 30, 32, 34, 36, 38, 40, 42, 44, 4,  6};
    for (int tick = 1; tick <= 45; ++tick) {
        win::RunUntil(100 * tick);
        EXPECT_EQ(form.pbAction[0].Value(), bar[tick - 1]) << "tick " << tick;
    }

    win::RunUntil(360'999);
    EXPECT_EQ(stamped("balloon"),
              (std::vector<std::string>{balloon(1000, kChecking), balloon(61000, kChecking),
                                        balloon(121000, kChecking), balloon(181000, kChecking),
                                        balloon(241000, kChecking), balloon(301000, kChecking)}));
    EXPECT_EQ(sngNoNetTries, 5);
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(form.chkAction[0].Value(), 0);

    win::RunUntil(361'000);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_EQ(win::NextTimerDueMs(), -1);
    EXPECT_TRUE(traced("tray").back().starts_with("delete "));
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_EQ(stamped("form").back(), "361000 unloaded hwnd=1 name=frmTarnix mode=1");
    EXPECT_EQ(server.requestCount(), 0) << "an offline machine is never probed";
    EXPECT_EQ(number("", "X6Installed"), -99) << "the sign-in page never opened";
}

class ConnectionFoundAtRetry : public StartUp, public ::testing::WithParamInterface<int> {};

TEST_P(ConnectionFoundAtRetry, HandsOverAtOnce) {
    const int retry = GetParam();
    const int64_t retryMs = 1000 + 60'000 * static_cast<int64_t>(retry);
    auto& form = start(false);
    win::RunUntil(retryMs - 1);
    EXPECT_EQ(number("", "X6Installed"), -99);

    form.chkAction[0].userClick();  // the check box snaps back to the recorded state
    EXPECT_EQ(form.chkAction[0].Value(), 0);
    headless().setOnline(true);
    win::RunUntil(retryMs);
    EXPECT_EQ(sngNoNetTries, retry);
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_EQ(iCheckInternet, 1);
    form.chkAction[0].userClick();
    EXPECT_EQ(form.chkAction[0].Value(), 1);
    EXPECT_EQ(form.pbAction[0].Value(), 50);
    EXPECT_EQ(form.lblInformation.Caption(), kChecksDone);
    const auto balloons = stamped("balloon");
    ASSERT_EQ(balloons.size(), static_cast<size_t>(retry) + 2);
    EXPECT_EQ(balloons[retry], balloon(retryMs, kChecking));
    // The check lets the loop run once before its probe: an idle pass of 1 ms on this clock.
    EXPECT_EQ(balloons.back(), balloon(retryMs + 1, kChecksDone));
    EXPECT_EQ(number("", "X6Installed"), 1) << "first-run defaults written";
    EXPECT_TRUE(form.TopMost());
    EXPECT_EQ(sLoginURL, server.url("/status/200") + "Error") << "no sign-in path is stored";
    // The start-up's timers have stopped; without a sign-in page the poll takes over.
    EXPECT_FALSE(form.tmrStart.Enabled() || form.tmrAnimation.Enabled() || form.tmrNoNet.Enabled());
    EXPECT_TRUE(form.tmrRequestCheck.Enabled());

    win::RunUntil(1'000'000);
    EXPECT_TRUE(form.IsLoaded()) << "no unload";
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleFifth, ConnectionFoundAtRetry, ::testing::Values(1, 3, 5));

class DesktopSettings : public MainWindowTest {};

// Each file is read by a fresh load of the window; the index is rounded half to even, a bad one
// (out of 1..6, beyond 16 bits, or too large to read) means English, and the index applied is
// ticked and saved.
TEST_F(DesktopSettings, TheSavedLanguageIsReadRoundedAppliedAndSavedBack) {
    const std::string start = "[StartDetails]\r\nREGADDRESS=Software\\Pexar\\X6\r\n";
    struct Case {
        std::optional<std::string> lang;  // the Lang value; none: no file at all
        int16_t language;
        const char* exitCaption;
    };
    for (const Case& c :
         {Case{"0", 1, "Exit"}, Case{"2.5", 2, "Sortie"}, Case{"3.5", 4, "Uscita"},
          Case{"6", 6, "Avsluta"}, Case{"7", 1, "Exit"}, Case{"-2", 1, "Exit"},
          Case{"99999", 1, "Exit"}, Case{"1e999", 1, "Exit"}, Case{"&H1FFFFFFFF", 1, "Exit"},
          Case{"&H3", 3, "Ausgang"}, Case{std::nullopt, 1, "Exit"}}) {
        const std::string lang = c.lang.value_or("no file");
        std::filesystem::remove(iniFile());
        if (c.lang) {
            writeFile(iniFile(), start + "[Language]\r\nLang=" + *c.lang + "\r\n");
        }
        auto& form = load();
        EXPECT_EQ(iLang, c.language) << lang;
        for (int16_t i = 1; i <= 6; ++i) {
            EXPECT_EQ(form.mnuL_Lang[i].Checked(), i == c.language) << lang << " item " << i;
        }
        EXPECT_EQ(form.mnuSTExit.Caption(), c.exitCaption) << lang;
        // The section is replaced or added; the rest of the file stays.
        EXPECT_EQ(readFile(iniFile()), (c.lang ? start : "") + "[Language]\r\nLANG=" +
                                           std::to_string(c.language) + "\r\n")
            << lang;
        EXPECT_EQ(sRegAddress, c.lang ? "Software\\Pexar\\X6" : "") << lang;
        form.Unload();
    }
}

TEST_F(DesktopSettings, MissingSiteAddressAndTooltipShowError) {
    writeIni("1");
    headless().setOnline(false);
    auto& form = load();
    win::RunUntil(1000);

    EXPECT_EQ(form.lblTitle.Caption(), "Error");
    EXPECT_EQ(traced("balloon"), (std::vector<std::string>{"hwnd=1 id=1 title=\"Error\" "
                                                           "text=\"Checking Internet "
                                                           "Connection.\" flags=0"}));
    ASSERT_FALSE(traced("tray").empty());
    EXPECT_NE(traced("tray")[0].find(" szTip=\"Error\" "), std::string::npos) << traced("tray")[0];
}

// Only the lower-case scheme is dropped, wherever it stands.
TEST_F(DesktopSettings, TheSiteTitleDropsEveryLowerCaseHttpScheme) {
    writeIni("1");
    for (const auto& [domain, title] :
         {std::pair{"http://chat.example.com", "chat.example.com"},
          std::pair{"HTTP://chat.example.com", "HTTP://chat.example.com"},
          std::pair{"https://chat.example.com", "https://chat.example.com"},
          std::pair{"http://a.example/http://b", "a.example/b"}}) {
        setText("\\DAPLinks", "X6Domain", domain);
        auto& form = load();
        EXPECT_EQ(form.lblTitle.Caption(), title);
        form.Unload();
    }
}

// Another instance's hold on the lock. The lock belongs to an open file, not to a process, so a
// file opened here stands for the other program.
struct OtherInstance {
    const int fd = ::open(platform::instanceLockPath().c_str(), O_RDWR | O_CREAT, 0600);
    ~OtherInstance() { ::close(fd); }
    bool holding() const { return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0; }
};

TEST_F(DesktopSettings, ASecondInstanceSaysSoAndTouchesNothing) {
    writeIni("4");
    const std::string before = readFile(iniFile());
    OtherInstance other;
    ASSERT_TRUE(other.holding());

    auto& form = load();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_EQ(traced("msgbox"),
              (std::vector<std::string>{"style=4112 title=\"Instant Messenger\" "
                                        "text=\"Program already Running.\" answer=1"}));
    for (const auto& line : traced("tray")) {
        EXPECT_FALSE(line.starts_with("add ")) << line;
    }
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_TRUE(traced("window").empty()) << "never shown";
    EXPECT_EQ(readFile(iniFile()), before);
    EXPECT_EQ(sRegAddress, "");
    EXPECT_EQ(win::NextTimerDueMs(), -1);
}

}  // namespace
