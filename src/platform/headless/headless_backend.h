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
struct HeadlessConfig {
    std::string traceTarget;
    bool virtualClock = false;
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
