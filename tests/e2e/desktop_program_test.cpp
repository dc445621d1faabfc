// The built program on the desktop backend inside a desktop session of its own (Xvfb, openbox,
// trayer, dunst; scripts/desktop-session), against the stand-in site. Everything is checked where a
// user would see it: the X server (windows, their places and shapes, the tray, menus) and the
// session bus (notifications); sound goes to a file sink and is checked there. With
// TARNIX_SCREENSHOTS naming a folder, the screenshots land there for the documentation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "e2e/desktop_checks.h"
#include "e2e/program_folder.h"
#include "support/child_process.h"
#include "support/headless_test.h"

namespace {

namespace fs = std::filesystem;
using namespace desktopcheck;
using testsupport::ChildProcess;

constexpr int kWorkAreaBottom = 736;

// The program folder, registry and site of one run. By default the sign-in page has no sign-in
// element: the member counts as signed in and the polls start at once.
class DesktopInstallation {
  public:
    explicit DesktopInstallation(const std::string& alerts,
                                 const std::string& loginPage = "/login-plain.php")
        : program_(root_.path() / "Tarnix IM"),
          site_(TARNIX_SITE_EXE, {"--lifetime", "300", "--date-pattern", "M/d/yyyy"}) {
        copyProgramFolder(program_);
        port_ = site_.port();
        ChildProcess install(TARNIX_INSTALL_EXE,
                             {"--site", "http://" + site(), "--company", "Desktop Test Ltd",
                              "--tooltip", "Desktop test tip", "--login", loginPage, "--ini",
                              (program_ / "PexarDeskTop.ini").string()},
                             environment());
        EXPECT_EQ(install.exitCode(milliseconds(10'000)), 0) << install.errorText();
        if (!alerts.empty()) {
            EXPECT_EQ(testsupport::httpGet(port_, "/_control?alerts=" + alerts).status, 200);
        }
    }

    std::string site() const { return "127.0.0.1:" + std::to_string(port_); }
    std::uint16_t port() const { return port_; }
    fs::path hiveFile() const { return root_.path() / "registry" / "HKEY_CURRENT_USER.reg"; }
    fs::path webData() const { return root_.path() / "data" / "tarnix" / "web"; }
    fs::path soundFile() const { return root_.path() / "sound.wav"; }

    std::unique_ptr<ChildProcess> start() {
        auto env = environment();
        env.insert(env.end(),
                   {"TARNIX_BACKEND=desktop", "LC_ALL=C",
                    "TARNIX_TRACE=" + (root_.path() / "trace").string(),
                    "TARNIX_AUDIO_SINK=wavenc ! filesink location=" + soundFile().string()});
        return std::make_unique<ChildProcess>((program_ / "tarnix").string(),
                                              std::vector<std::string>{}, env);
    }

  private:
    std::vector<std::string> environment() const {
        return {"TARNIX_REGISTRY_DIR=" + (root_.path() / "registry").string(),
                "XDG_CONFIG_HOME=" + (root_.path() / "config").string(),
                "XDG_DATA_HOME=" + (root_.path() / "data").string(),
                "XDG_CACHE_HOME=" + (root_.path() / "cache").string()};
    }

    testsupport::TempDir root_;
    fs::path program_;
    ChildProcess site_;
    std::uint16_t port_ = 0;
};

void screenshot(const std::string& name, WindowId window = 0) {
    if (const char* folder = std::getenv("TARNIX_SCREENSHOTS")) {
        EXPECT_TRUE(saveScreenshot((fs::path(folder) / name).string(), window)) << name;
    }
}

// The program's windows of a role that are shown.
std::vector<WindowId> shownWindows(const std::string& role) {
    std::vector<WindowId> shown;
    for (WindowId window : windowsWithRole(role)) {
        if (isViewable(window)) {
            shown.push_back(window);
        }
    }
    return shown;
}

WindowId waitForWindow(const std::string& role) {
    WindowId found = 0;
    waitFor(
        [&] {
            const auto shown = shownWindows(role);
            found = shown.empty() ? 0 : shown.front();
            return found != 0;
        },
        milliseconds(15'000));
    return found;
}

// The window's place once it has stopped moving (a slide has ended).
std::optional<Geometry> restingPlace(WindowId window) {
    std::optional<Geometry> last;
    int same = 0;
    waitFor(
        [&] {
            const auto now = geometry(window);
            same = now && now == last ? same + 1 : 0;
            last = now;
            return same >= 5;
        },
        milliseconds(10'000));
    return last;
}

// Opens the tray menu with a right click on the icon and picks an item by keys.
bool chooseFromTrayMenu(int downs) {
    const auto icons = trayIcons();
    if (icons.empty() || !clickCentre(icons.front(), 3)) {
        return false;
    }
    if (!waitFor([] { return !openMenus().empty(); })) {
        return false;
    }
    std::vector<std::string> keys(static_cast<size_t>(downs), "Down");
    keys.emplace_back("Return");
    return pressKeys(keys) && waitFor([] { return openMenus().empty(); });
}

TEST(DesktopProgram, ShowsItsWindowTrayMenuNotificationsOptionsAndAboutAndEndsOnExit) {
    DesktopInstallation installation("");
    NotificationWatcher notifications;
    ASSERT_TRUE(notifications.listening());
    auto program = installation.start();

    // The main window: managed, its client area the model's size less the frame and caption.
    const WindowId main = waitForWindow("frmTarnix");
    ASSERT_NE(main, 0u) << "no main window";
    EXPECT_FALSE(isOverrideRedirect(main));
    EXPECT_TRUE(waitFor([&] {
        const auto place = geometry(main);
        return place && place->width == 5625 / 15 - 6 && place->height == 8010 / 15 - 25;
    })) << geometry(main).value_or(Geometry{});
    const auto mainPlace = geometry(main);
    ASSERT_TRUE(mainPlace);
    // The model puts the window at the screen's top left: the manager's frame is all that is
    // above and to the left of the client area.
    EXPECT_LT(mainPlace->x, 10);
    EXPECT_LT(mainPlace->y, 40);
    screenshot("main-window.png");

    // A balloon became a desktop notification with the program's texts.
    const auto seen = notifications.waitForCount(1);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().summary, installation.site());
    EXPECT_FALSE(seen.front().body.empty());

    // The tray icon is embedded in the tray host, and a right click opens the menu.
    ASSERT_TRUE(waitFor([] { return !trayIcons().empty(); })) << "no tray icon";
    ASSERT_TRUE(clickCentre(trayIcons().front(), 3));
    ASSERT_TRUE(waitFor([] { return !openMenus().empty(); })) << "no tray menu";
    screenshot("tray-menu.png");
    ASSERT_TRUE(pressKeys({"Escape"}));
    ASSERT_TRUE(waitFor([] { return openMenus().empty(); }));

    // Options (the second choosable item): slides in, placed exactly, shaped.
    ASSERT_TRUE(chooseFromTrayMenu(2));
    const WindowId options = waitForWindow("frmPropPage");
    ASSERT_NE(options, 0u) << "no options window";
    EXPECT_TRUE(isOverrideRedirect(options));
    const auto optionsPlace = restingPlace(options);
    ASSERT_TRUE(optionsPlace);
    EXPECT_LE(optionsPlace->y + optionsPlace->height, kWorkAreaBottom);
    // A corner outside the rounded outline lets the pointer through; the middle does not.
    EXPECT_NE(windowAt(optionsPlace->x + 1, optionsPlace->y + 1), options);
    EXPECT_EQ(windowAt(optionsPlace->x + optionsPlace->width / 2,
                       optionsPlace->y + optionsPlace->height / 2),
              options);
    // Each tab shows its own page.
    const std::pair<int, const char*> tabs[] = {
        {178, "options-general.png"}, {285, "options-sounds.png"}, {390, "options-company.png"}};
    std::vector<Image> pages;
    for (const auto& [tabX, name] : tabs) {
        ASSERT_TRUE(click(optionsPlace->x + tabX, optionsPlace->y + 51));
        // The page is drawn once the window differs from the page before (the first tab's shows
        // already).
        std::optional<Image> page;
        waitFor([&] {
            page = captureWindow(options);
            return page && (pages.empty() || page->rgb != pages.back().rgb);
        });
        if (page) {
            pages.push_back(*page);
        }
        screenshot(name);
    }
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_NE(pages[0].rgb, pages[1].rgb);
    EXPECT_NE(pages[1].rgb, pages[2].rgb);

    // About (the fourth choosable item): slides in and rests above the taskbar.
    ASSERT_TRUE(chooseFromTrayMenu(4));
    const WindowId about = waitForWindow("frmAbout");
    ASSERT_NE(about, 0u) << "no About window";
    const auto aboutPlace = restingPlace(about);
    ASSERT_TRUE(aboutPlace);
    EXPECT_LE(aboutPlace->x + aboutPlace->width, 1024);
    EXPECT_LE(aboutPlace->y + aboutPlace->height, kWorkAreaBottom);
    screenshot("about-window.png");

    // Exit (the fifth): every window goes and the program ends.
    ASSERT_TRUE(chooseFromTrayMenu(5));
    EXPECT_EQ(program->exitCode(milliseconds(15'000)), 0) << program->errorText();
}

TEST(DesktopProgram, AlertsSlideUpPopUpsStackedAboveTheTaskbarWithTheirSound) {
    DesktopInstallation installation("vb_newmail,vb_contactonline%3Dann,vb_chatrequest%3Dbob;");
    auto program = installation.start();
    std::vector<WindowId> popups;
    ASSERT_TRUE(waitFor(
        [&] {
            popups = shownWindows("frmRequests");
            return popups.size() >= 3;
        },
        milliseconds(20'000)))
        << popups.size() << " pop-ups";
    std::vector<Geometry> places;
    for (WindowId popup : popups) {
        EXPECT_TRUE(isOverrideRedirect(popup));
        const auto place = restingPlace(popup);
        ASSERT_TRUE(place);
        EXPECT_LE(place->y + place->height, kWorkAreaBottom) << *place;
        places.push_back(*place);
    }
    // Stacked: no two pop-ups overlap.
    for (size_t i = 0; i < places.size(); ++i) {
        for (size_t j = i + 1; j < places.size(); ++j) {
            const Geometry& a = places[i];
            const Geometry& b = places[j];
            EXPECT_TRUE(a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                        b.y + b.height <= a.y)
                << a << " and " << b;
        }
    }
    screenshot("popups.png");
    // The alerts' sounds went through the player to the sink: a WAV file with samples.
    EXPECT_TRUE(waitFor([&] {
        std::error_code error;
        return fs::file_size(installation.soundFile(), error) > 1000;
    })) << "no sound";
    program->signal(SIGTERM);
    EXPECT_EQ(program->exitCode(milliseconds(15'000)), 0) << program->errorText();
}

// Whether the site's page shows in a window: its blue header bar at (x, y) of the window.
bool pageHeaderAt(WindowId window, int x, int y) {
    const auto image = captureWindow(window);
    if (!image || image->width <= x || image->height <= y) {
        return false;
    }
    const Rgb pixel = image->at(x, y);
    return pixel.b > 100 && pixel.b > pixel.r + 40;
}

bool requested(std::uint16_t port, const std::string& line) {
    return testsupport::httpGet(port, "/_requests").body.find(line) != std::string::npos;
}

TEST(DesktopProgram, SignsInThroughTheLivePageAndShowsThePopUpPages) {
    DesktopInstallation installation("vb_newmail,vb_contactonline%3Dann;", "/login.php");
    auto program = installation.start();
    const WindowId main = waitForWindow("frmTarnix");
    ASSERT_NE(main, 0u);
    // The sign-in page is shown in the window.
    ASSERT_TRUE(waitFor([&] { return pageHeaderAt(main, 100, 8); }, milliseconds(15'000)));
    screenshot("signin-page.png");

    // As a user: into the page, the first field, the name, the sign-in button.
    const auto place = geometry(main);
    ASSERT_TRUE(place);
    ASSERT_TRUE(click(place->x + 200, place->y + 400));
    ASSERT_TRUE(pressKeys({"Tab"}));
    ASSERT_TRUE(typeText("ann"));
    ASSERT_TRUE(pressKeys({"Tab", "space"}));

    // The member is stored, the sign-in sound plays and the poll starts at once, with tokens
    // the site takes.
    EXPECT_TRUE(waitFor([&] {
        return testsupport::readFile(installation.hiveFile()).find("\"X6UserID\"=\"ann\"") !=
               std::string::npos;
    })) << testsupport::readFile(installation.hiveFile());
    EXPECT_TRUE(waitFor([&] {
        std::error_code error;
        return fs::file_size(installation.soundFile(), error) > 1000;
    })) << "no sign-in sound";
    EXPECT_TRUE(waitFor([&] {
        return requested(installation.port(), "/update.php?membername=ann");
    })) << testsupport::httpGet(installation.port(), "/_requests").body;
    EXPECT_EQ(testsupport::httpGet(installation.port(), "/_refused").body, "");

    // The alerts' pop-ups show their pages.
    std::vector<WindowId> popups;
    ASSERT_TRUE(waitFor(
        [&] {
            popups = shownWindows("frmRequests");
            return popups.size() >= 2;
        },
        milliseconds(15'000)));
    for (WindowId popup : popups) {
        ASSERT_TRUE(restingPlace(popup));
        EXPECT_TRUE(waitFor([&] { return pageHeaderAt(popup, 100, 25); }))
            << "pop-up " << hex(popup) << " shows no page";
    }
    screenshot("popup-pages.png");
    // The page's own close link starts the slide-out at once (a pop-up stays 8 s otherwise).
    const WindowId closing = popups.front();
    const auto popupPlace = geometry(closing);
    ASSERT_TRUE(popupPlace);
    ASSERT_TRUE(click(popupPlace->x + 26, popupPlace->y + 126));
    EXPECT_TRUE(waitFor([&] { return !isViewable(closing); }, milliseconds(3'000)))
        << "the close link did not close the pop-up";

    // Signing out at the site: the sign-in page comes back.
    testsupport::httpGet(installation.port(), "/_requests?clear=1");
    ASSERT_TRUE(click(place->x + 200, place->y + 400));
    ASSERT_TRUE(pressKeys({"Tab", "Tab", "Tab", "Return"}));
    EXPECT_TRUE(waitFor([&] { return requested(installation.port(), "GET /login.php"); }))
        << testsupport::httpGet(installation.port(), "/_requests").body;

    program->signal(SIGTERM);
    EXPECT_EQ(program->exitCode(milliseconds(15'000)), 0) << program->errorText();

    // The site's cookie outlives the run: kept in the user's data folder, brought back by the
    // next run's sign-in page.
    EXPECT_TRUE(fs::exists(installation.webData() / "cookies.sqlite"));
    testsupport::httpGet(installation.port(), "/_cookies?clear=1");
    auto again = installation.start();
    EXPECT_TRUE(waitFor([&] {
        return testsupport::httpGet(installation.port(), "/_cookies")
                   .body.find("/login.php tarnix_visitor=1") != std::string::npos;
    })) << testsupport::httpGet(installation.port(), "/_cookies").body;
    // Ended once its page is shown: the end of a session in the middle of a page load is not
    // what this run is about.
    const WindowId secondMain = waitForWindow("frmTarnix");
    EXPECT_TRUE(waitFor([&] { return pageHeaderAt(secondMain, 100, 8); }, milliseconds(15'000)));
    again->signal(SIGTERM);
    EXPECT_EQ(again->exitCode(milliseconds(15'000)), 0) << again->errorText();
}

}  // namespace
