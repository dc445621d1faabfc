#pragma once

// The headless backend: the platform's screen, speakers, tray and user for tests, CI and the demo.
//
// Features: windows, tray, balloons, menus, message boxes, file dialogs, sound, network state,
// opening addresses, web view (the browser control loads and parses pages itself; the member's
// actions in a page come from the script). Nothing is drawn: what the model shows is kept as the
// backend's own view of the screen (windows by handle, their controls by name and id, tray icons),
// from which scripted words become typed input events. Time is whatever clock is installed (virtual
// in tests).
//
// Settings, read from the environment by fromEnvironment (a value that cannot be used is reported
// on stderr and the default taken):
//   TARNIX_SCREEN  "<width>x<height>" in whole pixels, 1 to 32767 (default 1024x768)
//   TARNIX_TWIPS   twips per pixel, "<both>" or "<x>x<y>", each 1 to 1440 (default 15)
//   TARNIX_TASKBAR taskbar height in whole pixels at the bottom of the screen, at most the screen's
//                  height (default 30)
//   TARNIX_SCRIPT  a script file of timed input actions (see docs/headless.md): an ordinary file of
//                  at most 1 MiB
//   TARNIX_OFFLINE "1" reports the machine as offline, "0" (the default) online

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/backend.h"

namespace platform {

struct HeadlessConfig {
    ScreenInfo screen;
    std::string scriptPath;
    bool online = true;
    // The connection-state flags reported while online: 0x02, a LAN connection.
    uint32_t connectionFlags = 0x02;

    static HeadlessConfig fromEnvironment();
};

class HeadlessBackend final : public Backend {
  public:
    explicit HeadlessBackend(HeadlessConfig config = {});
    ~HeadlessBackend() override;

    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    Features features() const override;
    ScreenInfo screen() override { return config_.screen; }
    void setScreen(const ScreenInfo& screen) { config_.screen = screen; }

    void windowChanged(const WindowView& window, WindowChange change) override;
    void controlChanged(const ControlView& control, ControlChange change) override;
    void trayChanged(const TrayNotice& icon, TrayChange change) override;
    void menuOpened(const MenuView& menu) override;
    // No fonts: the model's fixed metric holds.
    std::optional<TextExtent> measureText(const TextMeasure& /*text*/) override {
        return std::nullopt;
    }

    // No web engine: the browser control loads its pages itself.
    void navigatePage(const PageRequest& /*page*/) override {}

    // A box is answered by the first queued answer whose time has come, after its hold time, or
    // OK (1) at once; a dialog by the first queued path or cancel, or cancelled at once.
    void openMessageBox(const MessageBoxRequest& box) override;
    void openFileDialog(const FileDialogRequest& dialog) override;
    void queueMessageBoxAnswer(int answer, int64_t holdMs = 0, int64_t fromMs = 0);
    // path nothing: cancel.
    void queueDialogAnswer(std::optional<std::string> path, int64_t holdMs = 0, int64_t fromMs = 0);

    std::vector<InputEvent> takeInput(int64_t nowMs) override;
    bool waitForInput(int64_t untilMs) override;
    // Nothing to draw; counted, so tests see a synchronous call hand the backend its turns.
    void keepResponsive() override { ++responsiveCalls_; }
    int64_t responsiveCalls() const { return responsiveCalls_; }

    // Reads a script (see docs/headless.md); throws std::runtime_error naming a bad line, and then
    // queues none of its actions.
    void loadScript(std::string_view text);
    // Loads the script file, when it is an ordinary file of at most 1 MiB; otherwise, or when it
    // holds a bad line, reports why on stderr and loads nothing.
    void loadScriptFile(const std::string& path);

    // From now on SIGINT, SIGTERM and SIGHUP end the session (an "end-session" action). With
    // realTime the loop waits for one when nothing else can happen, instead of ending. For the
    // program itself; one backend at a time.
    void endSessionOnSignals(bool realTime);

    // Plays once the file proves readable (it was checked when opened; it may have gone since).
    bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) override;
    void stopSound(std::string_view /*path*/) override {}
    // Network state as configured; tests switch it with setOnline.
    bool connectionState(uint32_t& flags) override;
    void setOnline(bool online) { config_.online = online; }
    void setConnectionFlags(uint32_t flags) { config_.connectionFlags = flags; }
    // No browser to hand it to: the address is taken (and traced by the tracing backend).
    bool openAddress(std::string_view /*address*/) override { return true; }

  private:
    // A scripted action: its time and its words, turned into events when it falls due.
    struct Action {
        int64_t atMs;
        std::vector<std::string> words;
    };
    // A queued answer to a box (answer) or a dialog (path).
    struct Answer {
        int answer;
        std::optional<std::string> path;
        int64_t holdMs;
        int64_t fromMs;
    };
    struct Due {
        int64_t atMs;
        InputEvent event;
    };
    // What is on the screen, as the model told it.
    struct ControlEntry {
        int32_t id;
        ControlKind kind;
    };
    struct WindowEntry {
        std::string name;
        std::map<std::string, ControlEntry> controls;  // by name, "name(i)" in an array
    };
    struct TrayEntry {
        int32_t hWnd;
        uint32_t uID;
    };

    void queueAction(Action action);
    void schedule(int64_t atMs, InputEvent event);
    // The events an action's words stand for; none (and a traced reason) when they name nothing.
    std::vector<InputEvent> eventsOf(const std::vector<std::string>& words) const;
    std::optional<int32_t> windowOf(const std::string& word) const;
    const ControlEntry* controlOf(int32_t hWnd, const std::string& word) const;

    HeadlessConfig config_;
    std::deque<Action> actions_;
    std::deque<Answer> boxAnswers_;
    std::deque<Answer> dialogAnswers_;
    std::deque<Due> due_;  // answers scheduled for open requests, in time order
    std::map<int32_t, WindowEntry> windows_;
    std::vector<TrayEntry> trayIcons_;
    // Read end of the pipe that the signal handler writes to; -1 until endSessionOnSignals.
    int signalPipe_ = -1;
    bool realTime_ = false;
    int64_t responsiveCalls_ = 0;

    // Whether a signal came, waiting up to timeoutMs for one (-1: without limit).
    bool signalPending(int timeoutMs) const;
    // Whether a signal came since the last call.
    bool takeSignal();
    void stopSignals();
};

}  // namespace platform
