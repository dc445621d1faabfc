#include "platform/headless/headless_backend.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/ui/msgbox.h"
#include "support/headless_test.h"

namespace {

using testsupport::HeadlessTest;

class HeadlessBackendTest : public HeadlessTest {};

// A box is traced with the clock and answered OK unless an answer was queued; without a title it
// shows the application's.
TEST_F(HeadlessBackendTest, MessageBoxesAreTracedAndAnsweredInOrder) {
    clock().advance(1500);
    headless().queueMessageBoxAnswer(win::vbNo);
    EXPECT_EQ(win::MsgBox("a \"b\"\r\nc", win::vbYesNo, "Title"), win::vbNo);
    EXPECT_EQ(win::MsgBox("x"), win::vbOK);
    EXPECT_EQ(traceLines(), (std::vector<std::string>{
                                R"(1500 msgbox style=4 title="Title" text="a \"b\"\r\nc" answer=7)",
                                R"(1500 msgbox style=0 title="TarnixIM" text="x" answer=1)"}));
}

TEST(HeadlessConfig, ScreenTwipsAndTaskbarComeFromTheEnvironment) {
    struct Case {
        const char *screen, *twips, *taskbar;
        int32_t width, height;
        float tppX, tppY;
        int32_t workBottom;
    };
    testsupport::ScopedEnvironment environment;
    for (const Case& c : {Case{"", "", "", 1024, 768, 15, 15, 738},
                          Case{"800x600", "7.5", "40", 800, 600, 7.5f, 7.5f, 560},
                          Case{"1920x1080", "12x15", "0", 1920, 1080, 12, 15, 1080},
                          Case{"wide", "-3", "lots", 1024, 768, 15, 15, 738},
                          Case{"infxinf", "nan", "769", 1024, 768, 15, 15, 738},
                          Case{"0.4x0.4", "1e10", "-1", 1024, 768, 15, 15, 738},
                          Case{"20x20", "0.5x15", "", 20, 20, 15, 15, 0}}) {
        environment.set("TARNIX_SCREEN", c.screen);
        environment.set("TARNIX_TWIPS", c.twips);
        environment.set("TARNIX_TASKBAR", c.taskbar);
        const auto screen = platform::HeadlessConfig::fromEnvironment().screen;
        EXPECT_EQ(screen.widthPx, c.width) << c.screen;
        EXPECT_EQ(screen.heightPx, c.height) << c.screen;
        EXPECT_EQ(screen.twipsPerPixelX, c.tppX) << c.twips;
        EXPECT_EQ(screen.twipsPerPixelY, c.tppY) << c.twips;
        EXPECT_EQ(screen.workRight, c.width);
        EXPECT_EQ(screen.workBottom, c.workBottom) << c.taskbar;
    }
}

TEST(HeadlessConfig, AnUnusableValueIsReportedInOneLineAndTheDefaultTaken) {
    testsupport::ScopedEnvironment environment({{"TARNIX_OFFLINE", "yes"}});
    ::testing::internal::CaptureStderr();
    const auto config = platform::HeadlessConfig::fromEnvironment();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "tarnix: TARNIX_OFFLINE=\"yes\" must be 1 or 0; using 0 (online)\n");
    EXPECT_TRUE(config.online);
}

// Anything but an ordinary file of at most 1 MiB is refused at once, and so is a script with a bad
// line, even after good ones.
TEST(HeadlessScriptFile, OnlyAWholeOrdinaryFileOfAtMostOneMebibyteIsLoaded) {
    testsupport::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::string limit = "5 end-session\n#";
    limit.resize(size_t{1} << 20, '#');
    testsupport::writeFile(dir.path() / "limit", limit);
    testsupport::writeFile(dir.path() / "over", limit + "#");
    testsupport::writeFile(dir.path() / "bad", "5 tray move\nlater close x\n");
    for (const std::string& path : {dir.file("limit"), dir.file("over"), dir.file("bad"),
                                    dir.file("fifo"), std::string("/dev/zero"), dir.file("")}) {
        platform::HeadlessConfig config;
        config.scriptPath = path;
        ::testing::internal::CaptureStderr();
        platform::HeadlessBackend backend(config);
        const std::string report = ::testing::internal::GetCapturedStderr();
        const bool loaded = path == dir.file("limit");
        EXPECT_EQ(backend.takeInput(10).size(), loaded ? 1u : 0u) << path;
        EXPECT_EQ(report.empty(), loaded) << report;
    }
}

// Script words name what the backend was told is on the screen; they become typed events when
// their time comes, and answers wait for theirs.
TEST_F(HeadlessBackendTest, LinesBecomeTypedEventsAndBadLinesAreNamed) {
    using namespace platform::input;
    platform::HeadlessBackend backend;
    backend.windowChanged({.hWnd = 7, .name = "frmTarnix"}, platform::WindowChange::Loaded);
    const win::Design design;
    backend.controlChanged({7, 42, platform::ControlKind::Menu, "mnu X", -1, 0, 1, design},
                           platform::ControlChange::Created);
    backend.trayChanged({.hWnd = 7, .uID = 3}, platform::TrayChange::Add);
    backend.loadScript(
        "# comment\n\n300 menu frmTarnix \"mnu X\"\n100 tray right-click\r\n"
        "200 msgbox yes hold 50\n301 click frmTarnix \"mnu X\"\n");
    EXPECT_TRUE(backend.takeInput(99).empty());
    EXPECT_EQ(backend.takeInput(100),
              (std::vector<platform::InputEvent>{TrayMouse{7, 3, 0x204}, TrayMouse{7, 3, 0x205}}));
    // A menu item is chosen, never clicked.
    EXPECT_EQ(backend.takeInput(1000), (std::vector<platform::InputEvent>{MenuChoice{7, 42}}));
    EXPECT_EQ(traced("input").back(), "ignored click: no such control");
    // The answer waits for its time: a box before it is answered OK at once.
    clock().advance(150);
    backend.openMessageBox({.id = 1});
    clock().advance(60);
    backend.openMessageBox({.id = 2});
    EXPECT_EQ(backend.takeInput(259), (std::vector<platform::InputEvent>{MessageBoxAnswer{1, 1}}));
    EXPECT_EQ(backend.takeInput(260), (std::vector<platform::InputEvent>{MessageBoxAnswer{2, 6}}));

    for (const char* bad :
         {"x close a", "100", "100 msgbox maybe", "100 msgbox ok hold", "100 close \"open"}) {
        EXPECT_THROW(backend.loadScript(bad), std::runtime_error) << bad;
    }
    // A window named by a handle no window can have is no window.
    backend.loadScript("2000 close #7\n2000 close #1e12\n2000 close #7.5\n2000 close #-7\n");
    EXPECT_EQ(backend.takeInput(2000), (std::vector<platform::InputEvent>{CloseBox{7}}));
    EXPECT_EQ(traced("input").back(), "ignored close: no such visible window");
    try {
        backend.loadScript("1 close a\n\nfoo");
        ADD_FAILURE() << "a bad line was taken";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "line 3: a time in ms comes first");
    }
}

}  // namespace
