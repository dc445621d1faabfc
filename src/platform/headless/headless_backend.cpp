#include "platform/headless/headless_backend.h"

#include <cstdlib>
#include <fstream>

#include "platform/runtime/text.h"

namespace platform {

namespace {
std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
}  // namespace

HeadlessConfig HeadlessConfig::fromEnvironment() {
    HeadlessConfig config;
    config.traceTarget = env("TARNIX_TRACE");
    config.virtualClock = env("TARNIX_CLOCK") == "virtual";
    config.online = env("TARNIX_OFFLINE") != "1";
    return config;
}

HeadlessConfig HeadlessConfig::forTests() {
    HeadlessConfig config;
    config.virtualClock = true;
    config.keepTrace = true;
    return config;
}

HeadlessBackend::HeadlessBackend(HeadlessConfig config) : config_(std::move(config)) {
    if (config_.virtualClock) {
        auto clock = std::make_unique<VirtualClock>();
        virtualClock_ = clock.get();
        clock_ = std::move(clock);
    } else {
        clock_ = std::make_unique<RealClock>();
    }
    if (config_.traceTarget == "-") {
        sink_ = stderr;
    } else if (!config_.traceTarget.empty()) {
        sink_ = std::fopen(config_.traceTarget.c_str(), "a");
        ownsSink_ = sink_ != nullptr;
        if (!sink_) {
            std::fprintf(stderr, "tarnix: cannot open trace file %s\n",
                         config_.traceTarget.c_str());
        }
    }
}

HeadlessBackend::~HeadlessBackend() {
    if (ownsSink_) {
        std::fclose(sink_);
    }
}

void HeadlessBackend::trace(std::string_view area, std::string_view detail) {
    std::string line = std::to_string(clock_->nowMs());
    line += ' ';
    line += area;
    if (!detail.empty()) {
        line += ' ';
        line += detail;
    }
    if (sink_) {
        std::fprintf(sink_, "%s\n", line.c_str());
        std::fflush(sink_);
    }
    if (config_.keepTrace) {
        lines_.push_back(std::move(line));
    }
}

int HeadlessBackend::messageBox(std::string_view prompt, int style, std::string_view title) {
    int answer = 1;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    trace("msgbox", "style=" + std::to_string(style) + " title=" + quoted(title) +
                        " text=" + quoted(prompt) + " answer=" + std::to_string(answer));
    return answer;
}

bool HeadlessBackend::playSound(std::string_view path, int64_t fromMs, int64_t durationMs) {
    // The file was checked when it was opened; it may have gone since.
    if (!std::ifstream(std::string(path), std::ios::binary)) {
        return false;
    }
    trace("sound", "play path=" + quoted(path) + " from=" + std::to_string(fromMs) +
                       " ms=" + std::to_string(durationMs));
    return true;
}

void HeadlessBackend::stopSound(std::string_view path) {
    trace("sound", "stop path=" + quoted(path));
}

bool HeadlessBackend::connectionState(uint32_t& flags) {
    flags = config_.online ? config_.connectionFlags : 0;
    return config_.online;
}

}  // namespace platform
