#include "app/start_up.h"

#include <memory>

#include "platform/runtime/clock.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/trace.h"
#include "platform/runtime/traced_backend.h"

platform::HeadlessBackend& InstallPlatform() {
    // Only one backend is built: any other choice is reported and the headless one used.
    if (const auto chosen = platform::envText("TARNIX_BACKEND"); chosen && *chosen != "headless") {
        platform::reportBadSetting("TARNIX_BACKEND", *chosen, "headless (the backend built)",
                                   "headless");
    }
    const bool virtualClock = platform::envSetting<bool>(
        "TARNIX_CLOCK", false, "virtual or real", "real", platform::oneOf("virtual", "real"));
    if (virtualClock) {
        platform::installClock(std::make_unique<platform::VirtualClock>());
    } else {
        platform::installClock(std::make_unique<platform::RealClock>());
    }
    if (const auto target = platform::envText("TARNIX_TRACE")) {
        platform::installTraceSink(platform::openTraceTarget(*target));
    }
    auto headless =
        std::make_unique<platform::HeadlessBackend>(platform::HeadlessConfig::fromEnvironment());
    auto& installed = *headless;
    // On the real clock the program waits in the tray until its session ends; SIGINT, SIGTERM and
    // SIGHUP end it as the desktop's end of session does.
    installed.endSessionOnSignals(!virtualClock);
    platform::installBackend(std::make_unique<platform::TracedBackend>(std::move(headless)));
    return installed;
}
