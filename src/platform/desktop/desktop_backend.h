#pragma once

// The desktop backend: the model shown on a Linux desktop with GTK 3 (X11).
//
// Features: windows, tray (an XEmbed tray host), balloons (desktop notifications), menus, message
// boxes, file dialogs, sound (GStreamer), network state (GIO's network monitor), opening addresses
// (the desktop's default handler), web view and web engine (WebKitGTK: the browser control's pages
// load, run and are shown in real web views).
//
// Runs on the real clock: waits are the toolkit's main loop, whose handlers only queue typed
// input for the model (see docs/backends.md). Settings from the environment:
//   TARNIX_AUDIO_SINK  a GStreamer sink description every sound plays to (e.g. "fakesink
//                      sync=true"); default: the desktop's audio output

#include <memory>
#include <string>

#include "platform/desktop/user_input.h"
#include "platform/runtime/backend.h"

namespace platform {

class DesktopWindows;
class DesktopTray;
class DesktopDialogs;
class DesktopSound;
class DesktopWeb;

struct DesktopConfig {
    std::string audioSink;

    static DesktopConfig fromEnvironment();
};

class DesktopBackend final : public Backend {
  public:
    // Opens the display; nothing (and why) when there is none.
    static std::unique_ptr<DesktopBackend> open(DesktopConfig config, std::string& why);
    ~DesktopBackend() override;

    DesktopBackend(const DesktopBackend&) = delete;
    DesktopBackend& operator=(const DesktopBackend&) = delete;

    Features features() const override;
    ScreenInfo screen() override { return screen_; }

    void windowChanged(const WindowView& window, WindowChange change) override;
    void controlChanged(const ControlView& control, ControlChange change) override;
    void trayChanged(const TrayNotice& icon, TrayChange change) override;
    void menuOpened(const MenuView& menu) override;
    std::optional<TextExtent> measureText(const TextMeasure& text) override;

    void navigatePage(const PageRequest& page) override;
    void openMessageBox(const MessageBoxRequest& box) override;
    void openFileDialog(const FileDialogRequest& dialog) override;

    std::vector<InputEvent> takeInput(int64_t nowMs) override;
    bool waitForInput(int64_t untilMs) override;
    void keepResponsive() override;

    bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) override;
    void stopSound(std::string_view path) override;
    bool connectionState(uint32_t& flags) override;
    bool openAddress(std::string_view address) override;

    // From now on SIGINT, SIGTERM and SIGHUP end the session, as the desktop's end of session
    // does. For the program itself.
    void endSessionOnSignals();

    // The parts, for tests that act on the toolkit's widgets as a user does.
    DesktopWindows& windows() { return *windows_; }
    DesktopTray& tray() { return *tray_; }
    DesktopDialogs& dialogs() { return *dialogs_; }
    // Runs the toolkit's pending events without waiting and draws what the model changed.
    void pumpEvents();

  private:
    explicit DesktopBackend(DesktopConfig config);

    DesktopConfig config_;
    ScreenInfo screen_;
    UserInput input_;
    std::unique_ptr<DesktopWeb> web_;
    std::unique_ptr<DesktopWindows> windows_;
    std::unique_ptr<DesktopTray> tray_;
    std::unique_ptr<DesktopDialogs> dialogs_;
    std::unique_ptr<DesktopSound> sound_;
    std::vector<unsigned> signalSources_;
};

}  // namespace platform
