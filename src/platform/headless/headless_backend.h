#pragma once

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/backend.h"

namespace platform {

// Settings of the headless backend, read from the environment:
//   TARNIX_TRACE   "-" traces to stderr, any other text is a file to append to; unset: no trace
//   TARNIX_CLOCK   "virtual" for the virtual clock; anything else: the real clock
//   TARNIX_OFFLINE "1" reports the machine as offline; unset or anything else: online
struct HeadlessConfig {
    std::string traceTarget;
    bool virtualClock = false;
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

    // Records the box in the trace and answers with the next queued answer, or OK (1).
    int messageBox(std::string_view prompt, int style, std::string_view title) override;
    void queueMessageBoxAnswer(int answer) { answers_.push_back(answer); }

    // Sound: traces the play ("sound play path= from= ms=") once the file proves readable, and
    // the early stop ("sound stop path=").
    bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) override;
    void stopSound(std::string_view path) override;
    // Network state as configured; tests switch it with setOnline.
    bool connectionState(uint32_t& flags) override;
    void setOnline(bool online) { config_.online = online; }
    void setConnectionFlags(uint32_t flags) { config_.connectionFlags = flags; }

  private:
    HeadlessConfig config_;
    std::unique_ptr<Clock> clock_;
    VirtualClock* virtualClock_ = nullptr;
    std::FILE* sink_ = nullptr;
    bool ownsSink_ = false;
    std::vector<std::string> lines_;
    std::deque<int> answers_;
};

// The installed backend as the headless one (null when another backend is installed).
HeadlessBackend* headless();

}  // namespace platform
