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
    EXPECT_EQ(headless().traceLines(),
              (std::vector<std::string>{
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
    for (const auto& [name, value, report] :
         {std::tuple{"TARNIX_CLOCK", "Virtual", "\"Virtual\" must be virtual or real; using real"},
          std::tuple{"TARNIX_OFFLINE", "yes", "\"yes\" must be 1 or 0; using 0 (online)"}}) {
        testsupport::ScopedEnvironment environment({{name, value}});
        ::testing::internal::CaptureStderr();
        const auto config = platform::HeadlessConfig::fromEnvironment();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  std::string("tarnix: ") + name + "=" + report + "\n");
        EXPECT_FALSE(config.virtualClock);
        EXPECT_TRUE(config.online);
    }
}

// Anything but an ordinary file of at most 1 MiB is refused at once, and so is a script with a bad
// line, even after good ones.
TEST(HeadlessScriptFile, OnlyAWholeOrdinaryFileOfAtMostOneMebibyteIsLoaded) {
    testsupport::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::string limit = "5 tray move\n#";
    limit.resize(size_t{1} << 20, '#');
    testsupport::writeFile(dir.path() / "limit", limit);
    testsupport::writeFile(dir.path() / "over", limit + "#");
    testsupport::writeFile(dir.path() / "bad", "5 tray move\nlater close x\n");
    for (const std::string& path : {dir.file("limit"), dir.file("over"), dir.file("bad"),
                                    dir.file("fifo"), std::string("/dev/zero"), dir.file("")}) {
        auto config = platform::HeadlessConfig::forTests();
        config.scriptPath = path;
        ::testing::internal::CaptureStderr();
        platform::HeadlessBackend backend(config);
        const std::string report = ::testing::internal::GetCapturedStderr();
        const bool loaded = path == dir.file("limit");
        EXPECT_EQ(backend.takeInput(10).size(), loaded ? 1u : 0u) << path;
        EXPECT_EQ(report.empty(), loaded) << report;
    }
}

TEST(HeadlessScript, LinesBecomeTimedActionsAndBadLinesAreNamed) {
    platform::HeadlessBackend backend(platform::HeadlessConfig::forTests());
    backend.loadScript(
        "# comment\n\n300 menu frmTarnix \"mnu X\"\n100 tray right-click\r\n"
        "200 msgbox yes hold 50\n");
    EXPECT_TRUE(backend.takeInput(99).empty());
    auto first = backend.takeInput(100);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].action, "tray");
    EXPECT_EQ(first[0].args, (std::vector<std::string>{"right-click"}));
    auto second = backend.takeInput(1000);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].args, (std::vector<std::string>{"frmTarnix", "mnu X"}));
    // The answer waits for its time: a box before it is answered OK at once.
    backend.virtualClock()->advance(150);
    EXPECT_EQ(backend.messageBox("early", 4, "t").answer, 1);
    backend.virtualClock()->advance(60);
    const auto reply = backend.messageBox("late", 4, "t");
    EXPECT_EQ(reply.answer, 6);
    EXPECT_EQ(reply.openUntilMs, 260);

    for (const char* bad :
         {"x close a", "100", "100 msgbox maybe", "100 msgbox ok hold", "100 close \"open"}) {
        EXPECT_THROW(backend.loadScript(bad), std::runtime_error) << bad;
    }
    try {
        backend.loadScript("1 close a\n\nfoo");
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "line 3: a time in ms comes first");
    }
}

}  // namespace
