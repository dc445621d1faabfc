#pragma once

#include <string>

#include "main_window_test.h"
#include "platform/ui/loop.h"
#include "support/loopback_server.h"
#include "support/wave_bytes.h"
#include "windows/art/window_art.h"

namespace testsupport {

// The main window of an installed copy whose site is a loopback server: the sign-in page is
// /page/signin, the poll /page/poll, the pop-up pages /page/<name>.php.
class SiteWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
        setNumber("X6Installed", 1);
        setText("\\DAPLinks", "X6Domain", site.url("/page"));
        setText("\\DAPLinks", "X6LoginURL", "/signin");
        setText("\\DAPLinks", "X6UpDateURL", "/poll");
        setText("\\DAPLinks", "X6NewRequestURL", "/");
        writeFile(programFolder() + "/login.wav", pcmWave(100));
        setText("\\Sounds", "Login", programFolder() + "/login.wav");
        site.setPage("signin", "<input id=membername><button id=login>Sign in</button>");
        // Without a readable logo the sign-in step takes its fallback path.
        const auto logo = windowart::OptionsClose();
        writeFile(programFolder() + "/ldata.x6c", std::string(logo.begin(), logo.end()));
    }

    // Loads the main window and runs its start-up until the sign-in page is open.
    frmTarnix& openSignInPage() {
        auto& form = load();
        win::RunFor(1000);
        return form;
    }
    // A scripted action of the member, now.
    void act(const std::string& words) {
        headless().loadScript(std::to_string(clock().nowMs()) + " " + words);
        win::DoEvents();
    }
    // The requests of one page of the site that the program made, in order.
    std::vector<std::string> fetches(const std::string& page) {
        std::vector<std::string> urls;
        const std::string prefix = "GET url=\"" + site.url("/page/" + page);
        for (const auto& line : traced("http")) {
            if (line.rfind(prefix, 0) == 0) {
                urls.push_back(line.substr(9, line.find('"', 9) - 9));
            }
        }
        return urls;
    }

    LoopbackServer site;
};

}  // namespace testsupport
