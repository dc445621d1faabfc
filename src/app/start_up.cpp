#include "app/start_up.h"

#include <iostream>
#include <memory>

#include "platform/desktop/desktop_backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/trace.h"
#include "platform/runtime/traced_backend.h"

namespace {

// The desktop when a display is there, unless TARNIX_BACKEND says otherwise.
bool desktopChosen() {
    const bool display = platform::envText("DISPLAY").has_value();
    return platform::envSetting<bool>("TARNIX_BACKEND", display, "desktop or headless",
                                      display ? "desktop" : "headless",
                                      platform::oneOf("desktop", "headless"));
}

std::unique_ptr<platform::Backend> headless(bool realTime) {
    auto backend =
        std::make_unique<platform::HeadlessBackend>(platform::HeadlessConfig::fromEnvironment());
    // On the real clock the program waits in the tray until its session ends.
    backend->endSessionOnSignals(realTime);
    return backend;
}

}  // namespace

void InstallPlatform() {
    bool virtualClock = platform::envSetting<bool>("TARNIX_CLOCK", false, "virtual or real", "real",
                                                   platform::oneOf("virtual", "real"));
    if (const auto target = platform::envText("TARNIX_TRACE")) {
        platform::installTraceSink(platform::openTraceTarget(*target));
    }
    std::unique_ptr<platform::Backend> backend;
    if (desktopChosen()) {
        std::string why;
        if (auto desktop =
                platform::DesktopBackend::open(platform::DesktopConfig::fromEnvironment(), why)) {
            if (virtualClock) {
                platform::reportBadSetting("TARNIX_CLOCK", "virtual",
                                           "real (the desktop runs on the real clock)", "real");
                virtualClock = false;
            }
            desktop->endSessionOnSignals();
            backend = std::move(desktop);
        } else {
            std::cerr << "tarnix: no desktop: " << why << "; running headless\n";
        }
    }
    if (virtualClock) {
        platform::installClock(std::make_unique<platform::VirtualClock>());
    } else {
        platform::installClock(std::make_unique<platform::RealClock>());
    }
    if (!backend) {
        backend = headless(!virtualClock);
    }
    platform::installBackend(std::make_unique<platform::TracedBackend>(std::move(backend)));
}
