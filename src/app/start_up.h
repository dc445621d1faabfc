#pragma once

// What the program runs on, chosen from the environment and installed before the main window loads:
//   TARNIX_BACKEND  "desktop" (windows, tray and sound on the desktop) or "headless" (nothing
//                   shown: the trace and a script); default: desktop when a display is there
//                   (DISPLAY), else headless. A desktop that cannot be opened is reported and
//                   headless used.
//   TARNIX_CLOCK    "virtual" or "real" (default); the desktop runs on the real clock only
//   TARNIX_TRACE    "-" for stderr, or a file to append the trace to; unset: no trace
// plus each backend's own settings (platform/headless/headless_backend.h,
// platform/desktop/desktop_backend.h). Either backend ends the session on SIGINT, SIGTERM and
// SIGHUP.
void InstallPlatform();
