// The desktop checks against plain X clients of their own (desktop-checks-window), a tray icon
// of theirs and notifications sent over the session bus, inside a desktop session
// (scripts/desktop-session).
#include "e2e/desktop_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/child_process.h"
#include "support/headless_test.h"

namespace {

using namespace desktopcheck;
namespace fs = std::filesystem;

constexpr Rgb kBlue{0x33, 0x66, 0xcc};
constexpr Rgb kGreen{0x22, 0xaa, 0x44};
constexpr Rgb kRed{0xdd, 0x11, 0x11};

// A window of desktop-checks-window's, and what it heard from the X server.
class TestWindow {
  public:
    explicit TestWindow(const std::vector<std::string>& args) : process_(TEST_WINDOW_EXE, args) {
        waitFor([this] { return output().find('\n') != std::string::npos; });
        const std::string first = output().substr(0, output().find('\n'));
        EXPECT_EQ(first.rfind("window 0x", 0), 0u) << output() << process_.errorText();
        if (first.rfind("window ", 0) == 0) {
            id_ = std::stoul(first.substr(7), nullptr, 16);
        }
    }

    WindowId id() const { return id_; }
    std::string output() { return process_.outputText(); }
    // Whether the client printed the line (in full) within the limit.
    bool heard(const std::string& line, milliseconds limit = milliseconds(5'000)) {
        return waitFor([&] { return output().find("\n" + line + "\n") != std::string::npos; },
                       limit);
    }

  private:
    testsupport::ChildProcess process_;
    WindowId id_ = 0;
};

bool contains(const std::vector<WindowId>& windows, WindowId window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// A PNG's size from its header chunk; nothing for a file that is not one.
std::optional<std::pair<int, int>> pngSize(const fs::path& file) {
    const std::string bytes = testsupport::readFile(file);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return std::nullopt;
    }
    auto number = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = at; i < at + 4; ++i) {
            value = value * 256 + static_cast<unsigned char>(bytes[i]);
        }
        return value;
    };
    return std::make_pair(number(16), number(20));
}

// A notification sent as any program would, straight over the session bus.
int notify(const std::vector<std::string>& args) {
    std::vector<std::string> all{"call",
                                 "--session",
                                 "--dest",
                                 "org.freedesktop.Notifications",
                                 "--object-path",
                                 "/org/freedesktop/Notifications",
                                 "--method",
                                 "org.freedesktop.Notifications.Notify",
                                 "--"};  // a timeout of -1 is no option
    all.insert(all.end(), args.begin(), args.end());
    return runTool("gdbus", all).exitCode.value_or(-1);
}

TEST(DesktopChecks, WaitForPollsUntilTheConditionHoldsOrTimeIsUp) {
    int asked = 0;
    EXPECT_TRUE(waitFor([&] { return ++asked == 3; }, milliseconds(2'000)));
    EXPECT_EQ(asked, 3);

    const auto start = std::chrono::steady_clock::now();
    asked = 0;
    EXPECT_FALSE(waitFor([&] { return ++asked < 0; }, milliseconds(200)));
    EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(200));
    // About every 20 ms, and once more at the deadline.
    EXPECT_GE(asked, 5);
    EXPECT_LE(asked, 12);
}

TEST(DesktopChecks, TheSessionHasATrayAlongTheBottomWithNoIcons) {
    const auto workArea = rawProperty(rootWindow(), "_NET_WORKAREA");
    ASSERT_TRUE(workArea);
    EXPECT_EQ(workArea->rfind("0, 0, 1024, 736", 0), 0u) << *workArea;

    const WindowId tray = trayHost();
    ASSERT_NE(tray, 0u);
    EXPECT_TRUE(isViewable(tray));
    EXPECT_EQ(geometry(tray), (Geometry{0, 736, 1024, 32}));
    EXPECT_TRUE(trayIcons().empty());
}

TEST(DesktopChecks, FindsAManagedWindowByItsRoleWithItsStateAndGeometry) {
    TestWindow window({"--role", "frmChecks", "--geometry", "160x90+300+200"});
    TestWindow other({"--role", "frmChecksOther", "--geometry", "100x50+600+400"});
    ASSERT_TRUE(waitFor([&] { return isViewable(window.id()) && isViewable(other.id()); }));

    EXPECT_EQ(windowsWithRole("frmChecks"), std::vector<WindowId>{window.id()});
    EXPECT_EQ(windowsWithRole("frmChecksOther"), std::vector<WindowId>{other.id()});
    EXPECT_TRUE(windowsWithRole("frmCheck").empty());
    const auto top = topLevelWindows();
    EXPECT_TRUE(contains(top, window.id()));
    EXPECT_TRUE(contains(top, other.id()));

    // Managed: inside the window manager's frame, so a little right of and below where the frame
    // was put.
    const auto state = windowState(window.id());
    ASSERT_TRUE(state);
    EXPECT_FALSE(state->overrideRedirect);
    EXPECT_EQ(state->geometry.width, 160);
    EXPECT_EQ(state->geometry.height, 90);
    EXPECT_GE(state->geometry.x, 300);
    EXPECT_LE(state->geometry.x, 310);
    EXPECT_GE(state->geometry.y, 200);
    EXPECT_LE(state->geometry.y, 240);

    // The frame moves; the window keeps its place in it.
    ASSERT_TRUE(moveWindow(window.id(), 420, 260));
    const Geometry before = state->geometry;
    EXPECT_TRUE(waitFor([&] {
        const auto now = geometry(window.id());
        return now && now->x - before.x == 120 && now->y - before.y == 60;
    })) << geometry(window.id()).value_or(Geometry{});
}

TEST(DesktopChecks, AnUnmappedWindowIsFoundButNotViewable) {
    TestWindow hidden({"--role", "frmHidden", "--unmapped"});
    ASSERT_TRUE(waitFor([&] { return windowsWithRole("frmHidden").size() == 1; }));
    EXPECT_EQ(windowsWithRole("frmHidden").front(), hidden.id());
    const auto state = windowState(hidden.id());
    ASSERT_TRUE(state);
    EXPECT_FALSE(state->viewable);
    EXPECT_FALSE(isViewable(hidden.id()));
}

TEST(DesktopChecks, AnOverrideRedirectWindowIsWhereItAsked) {
    TestWindow popup({"--role", "frmPopup", "--override", "--geometry", "100x60+50+70"});
    ASSERT_TRUE(waitFor([&] { return isViewable(popup.id()); }));
    EXPECT_EQ(windowsWithRole("frmPopup"), std::vector<WindowId>{popup.id()});
    EXPECT_TRUE(isOverrideRedirect(popup.id()));
    EXPECT_EQ(geometry(popup.id()), (Geometry{50, 70, 100, 60}));

    ASSERT_TRUE(moveWindow(popup.id(), 400, 300));
    EXPECT_TRUE(waitFor([&] { return geometry(popup.id()) == Geometry{400, 300, 100, 60}; }));
    EXPECT_FALSE(windowState(0x7fffffff));
}

TEST(DesktopChecks, ListsOpenMenusOnly) {
    TestWindow popupMenu({"--override", "--type", "popup_menu", "--geometry", "80x120+10+10"});
    TestWindow dropdown({"--override", "--type", "dropdown_menu", "--geometry", "80x120+100+10"});
    TestWindow plain({"--override", "--geometry", "80x120+200+10"});
    TestWindow managed({"--type", "popup_menu", "--geometry", "80x120+300+10"});
    TestWindow closed({"--override", "--type", "popup_menu", "--unmapped"});
    ASSERT_TRUE(waitFor([&] {
        return isViewable(popupMenu.id()) && isViewable(dropdown.id()) && isViewable(plain.id()) &&
               isViewable(managed.id());
    }));
    EXPECT_EQ(atomProperty(popupMenu.id(), "_NET_WM_WINDOW_TYPE"),
              std::vector<std::string>{"_NET_WM_WINDOW_TYPE_POPUP_MENU"});

    auto menus = openMenus();
    std::sort(menus.begin(), menus.end());
    std::vector<WindowId> expected{popupMenu.id(), dropdown.id()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(menus, expected);
}

TEST(DesktopChecks, APointInAShapedWindowsHoleFindsTheWindowBelow) {
    TestWindow below({"--override", "--geometry", "400x300+100+100", "--colour", "22aa44"});
    ASSERT_TRUE(waitFor([&] { return isViewable(below.id()); }));
    TestWindow shaped(
        {"--override", "--hole", "--geometry", "200x200+150+150", "--colour", "dd1111"});
    ASSERT_TRUE(waitFor([&] { return isViewable(shaped.id()); }));

    // The hole is the middle 100x100; the bands around it are the window's.
    EXPECT_EQ(windowAt(250, 250), below.id());
    EXPECT_EQ(windowAt(160, 160), shaped.id());
    EXPECT_EQ(windowAt(340, 250), shaped.id());
    EXPECT_EQ(windowAt(120, 120), below.id());
    EXPECT_EQ(windowAt(1000, 20), rootWindow());

    const auto screen = captureScreen();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->width, 1024);
    EXPECT_EQ(screen->height, 768);
    EXPECT_EQ(screen->at(250, 250), kGreen);
    EXPECT_EQ(screen->at(160, 160), kRed);
    EXPECT_EQ(screen->at(120, 120), kGreen);

    const auto shown = captureWindow(shaped.id());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->width, 200);
    EXPECT_EQ(shown->height, 200);
    EXPECT_EQ(shown->at(5, 5), kRed);
    EXPECT_EQ(shown->at(100, 100), kGreen);
    EXPECT_EQ(shown->at(195, 100), kRed);
}

TEST(DesktopChecks, ClicksAndKeysReachTheWindow) {
    TestWindow window({"--role", "frmInput", "--geometry", "200x100+250+250"});
    ASSERT_TRUE(waitFor([&] { return isViewable(window.id()); }));
    const auto where = geometry(window.id());
    ASSERT_TRUE(where);

    ASSERT_TRUE(click(where->x + 30, where->y + 40));
    EXPECT_TRUE(window.heard("button 1 30 40")) << window.output();
    ASSERT_TRUE(click(where->x + 5, where->y + 7, 3));
    EXPECT_TRUE(window.heard("button 3 5 7")) << window.output();
    ASSERT_TRUE(clickCentre(window.id()));
    EXPECT_TRUE(window.heard("button 1 100 50")) << window.output();

    ASSERT_TRUE(activate(window.id()));
    ASSERT_TRUE(pressKeys({"Escape", "a"}));
    EXPECT_TRUE(window.heard("key Escape")) << window.output();
    EXPECT_TRUE(window.heard("key a")) << window.output();
    ASSERT_TRUE(typeText("q"));
    EXPECT_TRUE(window.heard("key q")) << window.output();
}

TEST(DesktopChecks, AnIconEmbeddedInTheTrayIsListedAndClickable) {
    ASSERT_TRUE(trayIcons().empty());
    {
        TestWindow icon({"--dock", "--geometry", "24x24+0+0", "--colour", "dd1111"});
        ASSERT_TRUE(waitFor([] { return trayIcons().size() == 1; })) << icon.output();
        EXPECT_EQ(trayIcons(), std::vector<WindowId>{icon.id()});
        ASSERT_TRUE(waitFor([&] { return isViewable(icon.id()); }));

        const auto tray = geometry(trayHost());
        const auto place = geometry(icon.id());
        ASSERT_TRUE(tray && place);
        EXPECT_TRUE(tray->contains(place->x, place->y)) << *place << " in " << *tray;
        EXPECT_TRUE(tray->contains(place->x + place->width - 1, place->y + place->height - 1))
            << *place << " in " << *tray;
        EXPECT_EQ(windowAt(place->x + place->width / 2, place->y + place->height / 2), trayHost());

        ASSERT_TRUE(clickCentre(icon.id(), 3));
        EXPECT_TRUE(icon.heard("button 3 " + std::to_string(place->width / 2) + " " +
                               std::to_string(place->height / 2)))
            << icon.output();
    }
    EXPECT_TRUE(waitFor([] { return trayIcons().empty(); }));
}

TEST(DesktopChecks, ScreenshotsArePngFilesOfTheScreenOrTheWindow) {
    TestWindow window({"--override", "--geometry", "130x70+20+30"});
    ASSERT_TRUE(waitFor([&] { return isViewable(window.id()); }));
    const testsupport::TempDir temp;
    const fs::path& folder = temp.path();

    ASSERT_TRUE(saveScreenshot((folder / "screen.png").string()));
    EXPECT_EQ(pngSize(folder / "screen.png"), std::make_pair(1024, 768));
    ASSERT_TRUE(saveScreenshot((folder / "window.png").string(), window.id()));
    EXPECT_EQ(pngSize(folder / "window.png"), std::make_pair(130, 70));
    const auto shown = captureWindow(window.id());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(65, 35), kBlue);
}

TEST(DesktopChecks, TheWatcherSeesNotificationsSentAfterItStarted) {
    ASSERT_EQ(notify({"early", "0", "", "before the watcher", "", "[]", "{}", "1000"}), 0);
    NotificationWatcher watcher;
    ASSERT_TRUE(watcher.listening());

    ASSERT_EQ(
        notify({"Checks App", "7", "dialog-information", "Sum \"q\" & co", "line one\nline two",
                "['default', 'Open']", "{'urgency': <byte 2>}", "4000"}),
        0);
    const auto calls = watcher.waitForCount(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].appName, "Checks App");
    EXPECT_EQ(calls[0].replacesId, 7u);
    EXPECT_EQ(calls[0].icon, "dialog-information");
    EXPECT_EQ(calls[0].summary, "Sum \"q\" & co");
    EXPECT_EQ(calls[0].body, "line one\nline two");
    EXPECT_EQ(calls[0].actions, (std::vector<std::string>{"default", "Open"}));
    EXPECT_EQ(calls[0].hints, (std::map<std::string, std::string>{{"urgency", "byte 2"}}));
    EXPECT_EQ(calls[0].expireTimeout, 4000);

    ASSERT_EQ(notify({"Checks App", "0", "", "second", "", "[]", "{}", "-1"}), 0);
    const auto both = watcher.waitForCount(2);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[1].summary, "second");
    EXPECT_EQ(both[1].body, "");
    EXPECT_EQ(both[1].expireTimeout, -1);
}

TEST(DesktopChecks, ParsesNotifyCallsAndSkipsOtherMessages) {
    const std::string output =
        "signal time=1.0 sender=org.freedesktop.DBus -> destination=:1.3 serial=2 "
        "path=/org/freedesktop/DBus; interface=org.freedesktop.DBus; member=NameAcquired\n"
        "   string \":1.3\"\n"
        "method call time=2.0 sender=:1.4 -> destination=org.freedesktop.Notifications serial=3 "
        "path=/org/freedesktop/Notifications; interface=org.freedesktop.Notifications; "
        "member=Notify\n"
        "   string \"app\"\n"
        "   uint32 0\n"
        "   string \"\"\n"
        "   string \"Summary\"\n"
        "   string \"two\n"
        "lines\"\n"
        "   array [\n"
        "   ]\n"
        "   array [\n"
        "      dict entry(\n"
        "         string \"urgency\"\n"
        "         variant             byte 1\n"
        "      )\n"
        "   ]\n"
        "   int32 -1\n"
        "method call time=3.0 sender=:1.4 -> destination=org.freedesktop.Notifications serial=4 "
        "path=/org/freedesktop/Notifications; interface=org.freedesktop.Notifications; "
        "member=Notify\n"
        "   string \"cut off\"\n"
        "   uint32 0\n";
    const auto calls = parseNotifyCalls(output);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].appName, "app");
    EXPECT_EQ(calls[0].summary, "Summary");
    EXPECT_EQ(calls[0].body, "two\nlines");
    EXPECT_TRUE(calls[0].actions.empty());
    EXPECT_EQ(calls[0].hints.at("urgency"), "byte 1");
    EXPECT_EQ(calls[0].expireTimeout, -1);
}

}  // namespace
