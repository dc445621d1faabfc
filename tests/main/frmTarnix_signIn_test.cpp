#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "site_window_test.h"
#include "support/loopback_server.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;

class FirstRunDefaults : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
    }
    std::string folder() const { return programFolder(); }
};

// The registry file's text for a folder: "\" doubled inside quoted data.
std::string quotedPath(const std::string& path) {
    std::string out;
    for (char c : path) {
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    return out;
}

// One "registry set" trace line: the key below HKEY_CURRENT_USER, the value, its type and size.
std::string setLine(const std::string& key, const std::string& value, int type, size_t bytes) {
    return "set key=\"HKEY_CURRENT_USER\\\\" + quotedPath(key) + "\" value=\"" + value +
           "\" type=" + std::to_string(type) + " bytes=" + std::to_string(bytes);
}

TEST_F(FirstRunDefaults, AreWrittenInOrderWithAnUnquotedAutostartEntry) {
    auto& form = load();
    const int32_t hwnd = form.hWnd();
    clearTrace();
    frmTarnixTestAccess::WriteFirstRunDefaults(form);

    constexpr int kNumber = 4;  // REG_DWORD
    constexpr int kText = 1;    // REG_SZ, stored without a terminating NUL
    const std::string key = kSettingsKey;
    const std::string exe = platform::EXEName() + ".exe";
    const std::string notify = folder() + "\\sounds\\notify.wav";
    const std::string doorbell = folder() + "\\sounds\\doorbell08.wav";
    const std::string knock = folder() + "\\sounds\\knock.wav";
    EXPECT_EQ(traced("registry"),
              (std::vector<std::string>{
                  setLine(key, "X6Installed", kNumber, 4),
                  setLine(key, "X6OnTop", kNumber, 4),
                  setLine(key, "OnWindowsLoad", kNumber, 4),
                  setLine("Software\\Microsoft\\Windows\\CurrentVersion\\Run", exe, kText,
                          (folder() + "\\" + exe).size()),
                  setLine(key + "\\Alerts", "ContactOnline", kNumber, 4),
                  setLine(key + "\\Alerts", "ChatRequest", kNumber, 4),
                  setLine(key + "\\Alerts", "NewMail", kNumber, 4),
                  setLine(key + "\\Sounds", "Login", kText, notify.size()),
                  setLine(key + "\\Sounds", "ContactOnline", kText, notify.size()),
                  setLine(key + "\\Sounds", "ChatRequest", kText, doorbell.size()),
                  setLine(key + "\\Sounds", "NewMail", kText, knock.size()),
              }));
    // Made top-most without being moved, sized or activated.
    EXPECT_EQ(traced("window"), (std::vector<std::string>{"topmost hwnd=" + std::to_string(hwnd) +
                                                          " name=frmTarnix on=1"}));

    for (const auto& [name, file] : {std::pair<const char*, std::string>{"ContactOnline", notify},
                                     {"ChatRequest", doorbell},
                                     {"NewMail", knock}}) {
        EXPECT_EQ(oRegistry().GetSettingString(1, key + "\\Sounds", name), file) << name;
    }
    EXPECT_TRUE(form.TopMost());
    // The desktop starts the executable itself at logon, which has no ".exe" (the entry's form is
    // the autostart tests' business).
    const std::string exec = "\nExec=" + folder() + "/" + platform::EXEName() + "\n";
    EXPECT_NE(readFile(configDir() / "autostart" / (exe + ".desktop")).find(exec),
              std::string::npos);
}

TEST_F(FirstRunDefaults, ReplaceStoredValuesAndLeaveTheOthers) {
    setText("\\Sounds", "Login", "C:\\mine.wav");
    setText("\\Sounds", "GenAlert", "C:\\alert.wav");
    setNumber("X6OnTop", 0);
    frmTarnixTestAccess::WriteFirstRunDefaults(load());

    EXPECT_EQ(oRegistry().GetSettingString(1, std::string(kSettingsKey) + "\\Sounds", "Login"),
              folder() + "\\sounds\\notify.wav");
    EXPECT_EQ(oRegistry().GetSettingString(1, std::string(kSettingsKey) + "\\Sounds", "GenAlert"),
              "C:\\alert.wav");
    EXPECT_EQ(number("", "X6OnTop"), 1);
    EXPECT_EQ(number("\\Alerts", "GenAlert"), -99);
}

// When the sign-in page opens, the defaults are written unless X6Installed is 1; otherwise
// X6OnTop (any value but 0) decides whether the window stays on top.
TEST_F(FirstRunDefaults, TheSignInPageWritesThemUnlessInstalledElseAppliesOnTop) {
    testsupport::LoopbackServer server;
    setText("\\DAPLinks", "X6Domain", server.url("/status/200"));
    struct Case {
        std::optional<int32_t> installed;
        int32_t onTop;
        bool defaultsWritten;
        bool topMost;
    };
    for (const Case& c : {Case{std::nullopt, 0, true, true}, Case{1, 0, false, false},
                          Case{1, 7, false, true}, Case{2, 0, true, true}}) {
        if (c.installed) {
            setNumber("X6Installed", *c.installed);
        }
        setNumber("X6OnTop", c.onTop);
        setNumber("OnWindowsLoad", 0);
        auto& form = load();
        win::RunFor(1000);
        const int32_t installed = c.installed.value_or(0);
        ASSERT_EQ(form.lblInformation.Caption(), "Initializing Application.") << installed;
        EXPECT_EQ(number("", "X6Installed"), c.defaultsWritten ? 1 : installed);
        EXPECT_EQ(number("", "OnWindowsLoad"), c.defaultsWritten ? 1 : 0) << installed;
        EXPECT_EQ(lInstalled, installed);
        EXPECT_EQ(form.TopMost(), c.topMost) << installed << " " << c.onTop;
        form.Unload();
    }
}

}  // namespace

namespace {

using testsupport::SiteWindowTest;

// The hooked click stores the typed name, plays the sign-in sound and polls at once, then every
// two seconds; each click does it all again.
TEST_F(SiteWindowTest, TheSignInClickStoresTheNameAndPollsAtOnce) {
    site.setPage("poll", "");
    auto& form = openSignInPage();
    EXPECT_EQ(std::vector<float>({form.wbTarnix.Left(), form.wbTarnix.Top(), form.wbTarnix.Width(),
                                  form.wbTarnix.Height(), form.Width(), form.Height()}),
              std::vector<float>({-30, -30, 5835, 7575, 5625, 8010}));
    EXPECT_FALSE(form.tmrRequestCheck.Enabled());
    act("page-type frmTarnix wbTarnix membername \"al ice&x\"");
    act("page-click frmTarnix wbTarnix login");
    EXPECT_EQ(oRegistry().GetSettingString(1, kSettingsKey, "X6UserID"), "al ice&x");
    EXPECT_EQ(traced("sound").size(), 1u);
    const auto polls = fetches("poll");
    ASSERT_EQ(polls.size(), 1u);
    EXPECT_TRUE(polls[0].starts_with(site.url("/page/poll?membername=al ice&x&vb="))) << polls[0];
    EXPECT_EQ(polls[0].size(), site.url("/page/poll?membername=al ice&x&vb=").size() + 32);
    win::RunFor(4000);
    EXPECT_EQ(fetches("poll").size(), 3u);
    act("page-click frmTarnix wbTarnix login");
    EXPECT_EQ(traced("sound").size(), 2u);
    EXPECT_EQ(fetches("poll").size(), 4u);
}

// A page without "login" (or no page at all) takes the stored name; the first poll waits a tick.
TEST_F(SiteWindowTest, WithoutALoginElementTheStoredNameIsTaken) {
    site.setPage("poll", "");
    site.setPage("signin", "<input id=membername>");
    setText("", "X6UserID", "stored");
    auto& form = openSignInPage();
    EXPECT_EQ(sMemberName, "stored");
    EXPECT_TRUE(form.tmrRequestCheck.Enabled());
    EXPECT_TRUE(fetches("poll").empty());
    win::RunFor(2000);
    EXPECT_EQ(fetches("poll").size(), 1u);
    EXPECT_EQ(form.Width(), 5625);
}

// "&logout=1" in the URL of the page or of any frame (not in capitals) stops the poll and opens
// the sign-in page again; a page closing its window ends the main window.
TEST_F(SiteWindowTest, ASignOutReopensTheSignInPageAndAClosingPageEndsTheWindow) {
    site.setPage("poll", "");
    site.setPage("signin",
                 "<input id=membername><button id=login>in</button>"
                 "<a id=out href=\"framed\">out</a><a id=OUT href=\"shout\">OUT</a>");
    site.setPage("framed", "<iframe src=\"bye?x=1&logout=1\"></iframe>");
    site.setPage("bye", "");
    site.setPage("shout", "<iframe src=\"bye?x=1&LOGOUT=1\"></iframe>");
    auto& form = openSignInPage();
    act("page-click frmTarnix wbTarnix login");
    ASSERT_TRUE(form.tmrRequestCheck.Enabled());
    clearTrace();
    act("page-click frmTarnix wbTarnix out");
    while (form.wbTarnix.Busy()) {
        win::DoEvents();
    }
    EXPECT_FALSE(form.tmrRequestCheck.Enabled());
    EXPECT_EQ(fetches("signin").size(), 1u) << "the sign-in page again";
    act("page-click frmTarnix wbTarnix login");
    act("page-click frmTarnix wbTarnix OUT");
    while (form.wbTarnix.Busy()) {
        win::DoEvents();
    }
    EXPECT_TRUE(form.tmrRequestCheck.Enabled()) << "capitals are no sign-out";
    act("page-close frmTarnix wbTarnix");
    EXPECT_FALSE(form.IsLoaded());
}

// The strip below the work area, in twips, halves to even.
TEST_F(SiteWindowTest, TheTaskbarHeightComesFromTheWorkArea) {
    for (const auto& [taskbarPx, tpp, twips] :
         {std::tuple(40, 15.0f, 600), std::tuple(0, 15.0f, 0), std::tuple(31, 7.5f, 232)}) {
        platform::ScreenInfo screen;
        screen.twipsPerPixelX = screen.twipsPerPixelY = tpp;
        screen.workBottom = screen.heightPx - taskbarPx;
        headless().setScreen(screen);
        auto& form = openSignInPage();
        EXPECT_EQ(form.iTaskbarHeight, twips) << taskbarPx << " " << tpp;
        form.Unload();
    }
}

}  // namespace
