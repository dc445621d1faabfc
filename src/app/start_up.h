#pragma once

#include "platform/headless/headless_backend.h"

// What the program runs on, chosen from the environment and installed before the main window loads:
//   TARNIX_BACKEND  "headless" (the only backend built so far; "desktop" is reported and refused)
//   TARNIX_CLOCK    "virtual" or "real" (default)
//   TARNIX_TRACE    "-" for stderr, or a file to append the trace to; unset: no trace
// plus the headless backend's own settings (platform/headless/headless_backend.h).
// Returns the headless backend installed (it ends the session on SIGINT, SIGTERM and SIGHUP).
platform::HeadlessBackend& InstallPlatform();
