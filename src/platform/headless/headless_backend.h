#pragma once

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/backend.h"

namespace platform {

// Settings of the headless backend, read from the environment (a value that cannot be used is
// reported on stderr and the default taken):
//   TARNIX_TRACE   "-" traces to stderr, any other text is a file to append to; unset: no trace
//   TARNIX_CLOCK   "virtual" for the virtual clock, "real" (the default) for the real one
//   TARNIX_SCREEN  "<width>x<height>" in whole pixels, 1 to 32767 (default 1024x768)
//   TARNIX_TWIPS   twips per pixel, "<both>" or "<x>x<y>", each 1 to 1440 (default 15)
//   TARNIX_TASKBAR taskbar height in whole pixels at the bottom of the screen, at most the screen's
//                  height (default 30)
//   TARNIX_SCRIPT  a script file of timed input actions (see docs/headless.md): an ordinary file of
//                  at most 1 MiB
//   TARNIX_OFFLINE "1" reports the machine as offline, "0" (the default) online
struct HeadlessConfig {
    std::string traceTarget;
    bool virtualClock = false;
    ScreenInfo screen;
    std::string scriptPath;
    bool online = true;
    // The connection-state flags reported while online: 0x02, a LAN connection.
    uint32_t connectionFlags = 0x02;
    // Keep every trace line in memory for traceLines() (tests).
    bool keepTrace = false;

    static HeadlessConfig fromEnvironment();
    // In-memory trace and virtual clock: what unit tests use.
    static HeadlessConfig forTests();
};

class HeadlessBackend : public Backend {
  public:
    explicit HeadlessBackend(HeadlessConfig config);
    ~HeadlessBackend() override;

    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    Clock& clock() override { return *clock_; }
    // Null when the backend runs on the real clock.
    VirtualClock* virtualClock() { return virtualClock_; }

    void trace(std::string_view area, std::string_view detail) override;
    const std::vector<std::string>& traceLines() const { return lines_; }
    void clearTrace() { lines_.clear(); }

    // Records the box in the trace and answers with the first queued answer whose time has come
    // (held open for its hold time), or OK (1) at once.
    MessageBoxReply messageBox(std::string_view prompt, int style, std::string_view title) override;
    void queueMessageBoxAnswer(int answer, int64_t holdMs = 0, int64_t fromMs = 0);

    ScreenInfo screen() override { return config_.screen; }
    void setScreen(const ScreenInfo& screen) { config_.screen = screen; }
    void windowChanged(const WindowView& window, WindowChange change) override;
    void trayChanged(const TrayView& record, TrayChange change) override;
    void menuOpened(const MenuView& menu) override;

    // Scripted input: actions wait in time order until the loop takes them.
    void queueInput(InputEvent event);
    std::vector<InputEvent> takeInput(int64_t nowMs) override;
    bool waitForInput(int64_t untilMs) override;
    // Reads a script (see docs/headless.md); throws std::runtime_error naming a bad line, and then
    // queues none of its actions.
    void loadScript(std::string_view text);
    // Loads the script file, when it is an ordinary file of at most 1 MiB; otherwise, or when it
    // holds a bad line, reports why on stderr and loads nothing.
    void loadScriptFile(const std::string& path);

    // From now on SIGINT, SIGTERM and SIGHUP end the session (an "end-session" action), and on the
    // real clock the loop waits for one when nothing else can happen, instead of ending. For the
    // program itself; one backend at a time.
    void endSessionOnSignals();

    // Sound: traces the play ("sound play path= from= ms=") once the file proves readable, and
    // the early stop ("sound stop path=").
    bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) override;
    void stopSound(std::string_view path) override;
    // Network state as configured; tests switch it with setOnline.
    bool connectionState(uint32_t& flags) override;
    void setOnline(bool online) { config_.online = online; }
    void setConnectionFlags(uint32_t flags) { config_.connectionFlags = flags; }

  private:
    struct Answer {
        int answer;
        int64_t holdMs;
        int64_t fromMs;
    };

    HeadlessConfig config_;
    std::unique_ptr<Clock> clock_;
    VirtualClock* virtualClock_ = nullptr;
    std::FILE* sink_ = nullptr;
    bool ownsSink_ = false;
    std::vector<std::string> lines_;
    std::deque<Answer> answers_;
    std::deque<InputEvent> input_;
    // Read end of the pipe that the signal handler writes to; -1 until endSessionOnSignals.
    int signalPipe_ = -1;

    // Whether a signal came, waiting up to timeoutMs for one (-1: without limit).
    bool signalPending(int timeoutMs) const;
    // Whether a signal came since the last call.
    bool takeSignal();
    void stopSignals();
};

// The installed backend as the headless one (null when another backend is installed).
HeadlessBackend* headless();

}  // namespace platform
