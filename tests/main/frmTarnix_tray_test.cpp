#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "platform/ui/tray.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;

class TrayMenu : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
        headless().setOnline(false);
    }
};

struct TrayMessageCase {
    const char* name;
    uint32_t message;
    bool opensMenu;
};

void PrintTo(const TrayMessageCase& c, std::ostream* os) {
    *os << c.name;
}

class TrayMessage : public TrayMenu, public ::testing::WithParamInterface<TrayMessageCase> {};

TEST_P(TrayMessage, OnlyARightButtonPressOpensTheMenu) {
    auto& form = load();
    ASSERT_EQ(win::TrayIcons().size(), 1u);
    win::SendTrayMessage(win::TrayIcons().front(), GetParam().message);
    win::DoEvents();
    if (!GetParam().opensMenu) {
        EXPECT_TRUE(traced("menu").empty());
        return;
    }
    ASSERT_EQ(traced("menu").size(), 1u);
    EXPECT_EQ(traced("menu")[0],
              "open hwnd=1 form=frmTarnix menu=mnuSysTray "
              "items=\"Minimize|~Show|-|Options|Language|>*English|>French|>German|>Italian|"
              ">Spanish|>Swedish|-|About|Exit\"");
    EXPECT_EQ(form.OpenPopupMenu(), &form.mnuSysTray);
}

INSTANTIATE_TEST_SUITE_P(Messages, TrayMessage,
                         ::testing::Values(TrayMessageCase{"RightDown", win::WM_RBUTTONDOWN, true},
                                           TrayMessageCase{"RightUp", win::WM_RBUTTONUP, false},
                                           TrayMessageCase{"LeftDown", win::WM_LBUTTONDOWN, false},
                                           TrayMessageCase{"LeftDoubleClick", win::WM_LBUTTONDBLCLK,
                                                           false},
                                           TrayMessageCase{"Move", win::WM_MOUSEMOVE, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayMenu, CloseBoxHidesAndTheWindowGoesOnRunning) {
    auto& form = load();
    form.CloseBox();
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.mnuSTMin.Enabled());
    EXPECT_TRUE(form.mnuSTShow.Enabled());

    win::RunUntil(1000);
    EXPECT_EQ(traced("balloon").size(), 1u) << "the check still runs";
}

TEST_F(TrayMenu, MinimizeAndShowSwapTheirItems) {
    auto& form = load();
    form.mnuSTMin.userClick();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.mnuSTMin.Enabled());
    EXPECT_TRUE(form.mnuSTShow.Enabled());

    form.mnuSTShow.userClick();
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.mnuSTMin.Enabled());
    EXPECT_FALSE(form.mnuSTShow.Enabled());
}

TEST_F(TrayMenu, ExitTearsDownTimersAndTrayIcon) {
    auto& form = load();
    win::RunUntil(1000);  // offline: the retry timer runs
    form.mnuSTExit.userClick();

    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(win::FormCount(), 0);
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_EQ(win::NextTimerDueMs(), -1);
    EXPECT_EQ(traced("form").back(), "unloaded hwnd=1 name=frmTarnix mode=1");
}

TEST_F(TrayMenu, OtherUnloadModesGoAhead) {
    auto& form = load();
    form.Unload(win::vbAppWindows);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(win::TrayIcons().empty());
}

// Another process holding the instance lock, until the test ends.
class OtherInstance {
  public:
    OtherInstance() {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release_[1]);
            const int fd = ::open(platform::instanceLockPath().c_str(), O_RDWR | O_CREAT, 0600);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
            (void)!::write(ready[1], &ok, 1);
            char done = 0;
            (void)!::read(release_[0], &done, 1);  // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char ok = 0;
        holding_ = ::read(ready[0], &ok, 1) == 1 && ok == 1;
        ::close(ready[0]);
    }
    ~OtherInstance() {
        ::close(release_[1]);
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    bool holding() const { return holding_; }

  private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
    bool holding_ = false;
};

TEST_F(TrayMenu, ASecondInstanceSaysSoAndTouchesNothing) {
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
