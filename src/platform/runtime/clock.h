#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

namespace platform {

// The time source of the message loop and the trace. Milliseconds count from the clock's start.
class Clock {
  public:
    virtual ~Clock() = default;

    virtual int64_t nowMs() const = 0;
    // The wall-clock time now (for dates shown to the user and written to logs).
    virtual std::chrono::system_clock::time_point wallNow() const = 0;
    // Blocks until the clock reads at least ms (the virtual clock jumps there at once).
    virtual void waitUntil(int64_t ms) = 0;
    // A pass of the message loop found nothing to do. The real clock moves by itself; the virtual
    // one lets 1 ms go by, so that loops waiting on DoEvents move on.
    virtual void passIdle() = 0;
};

class RealClock final : public Clock {
  public:
    RealClock();
    int64_t nowMs() const override;
    std::chrono::system_clock::time_point wallNow() const override;
    void waitUntil(int64_t ms) override;
    void passIdle() override {}

  private:
    std::chrono::steady_clock::time_point start_;
};

// Time moves only when a test (or the loop, waiting for its next timer) moves it: deterministic.
class VirtualClock final : public Clock {
  public:
    // wallStart is the wall-clock time at ms 0.
    explicit VirtualClock(std::chrono::system_clock::time_point wallStart = defaultWallStart());

    int64_t nowMs() const override { return now_; }
    std::chrono::system_clock::time_point wallNow() const override;
    void waitUntil(int64_t ms) override;
    void passIdle() override { advance(1); }

    void advance(int64_t ms) { now_ += ms; }
    void setWallStart(std::chrono::system_clock::time_point wallStart) { wallStart_ = wallStart; }

    // 2026-01-02 03:04:05 UTC: a fixed, recognisable moment.
    static std::chrono::system_clock::time_point defaultWallStart();

  private:
    int64_t now_ = 0;
    std::chrono::system_clock::time_point wallStart_;
};

// The program's clock: the installed one, or a real clock made on first use.
Clock& clock();
// Installs a clock (null: back to a real clock made on first use) and returns the one it replaces.
std::unique_ptr<Clock> installClock(std::unique_ptr<Clock> next);

}  // namespace platform
