#include "platform/runtime/clock.h"

#include <thread>

namespace platform {

namespace {
std::unique_ptr<Clock>& slot() {
    static std::unique_ptr<Clock> installed;
    return installed;
}
}  // namespace

Clock& clock() {
    auto& installed = slot();
    if (!installed) {
        installed = std::make_unique<RealClock>();
    }
    return *installed;
}

std::unique_ptr<Clock> installClock(std::unique_ptr<Clock> next) {
    auto previous = std::move(slot());
    slot() = std::move(next);
    return previous;
}

RealClock::RealClock() : start_(std::chrono::steady_clock::now()) {}

int64_t RealClock::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

std::chrono::system_clock::time_point RealClock::wallNow() const {
    return std::chrono::system_clock::now();
}

void RealClock::waitUntil(int64_t ms) {
    std::this_thread::sleep_until(start_ + std::chrono::milliseconds(ms));
}

VirtualClock::VirtualClock(std::chrono::system_clock::time_point wallStart)
    : wallStart_(wallStart) {}

std::chrono::system_clock::time_point VirtualClock::wallNow() const {
    return wallStart_ + std::chrono::milliseconds(now_);
}

void VirtualClock::waitUntil(int64_t ms) {
    if (ms > now_) {
        now_ = ms;
    }
}

std::chrono::system_clock::time_point VirtualClock::defaultWallStart() {
    using namespace std::chrono;
    return sys_days{year{2026} / January / 2} + hours{3} + minutes{4} + seconds{5};
}

}  // namespace platform
