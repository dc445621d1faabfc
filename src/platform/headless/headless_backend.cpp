#include "platform/headless/headless_backend.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>

#include "platform/runtime/env_setting.h"
#include "platform/runtime/text.h"

namespace platform {

namespace {

constexpr int64_t kMaxScreenPixels = 32767;
// From 1440 dots per inch down to 1.
constexpr double kMinTwipsPerPixel = 1;
constexpr double kMaxTwipsPerPixel = 1440;

// "<a>x<b>", or also "<a>" (then b = a) when single; each part read by readPart.
template <typename T, typename ReadPart>
std::optional<std::pair<T, T>> pairOf(std::string_view text, bool single, ReadPart readPart) {
    const size_t x = text.find('x');
    if (x == std::string_view::npos && !single) {
        return std::nullopt;
    }
    const std::optional<T> first = readPart(text.substr(0, x));
    const std::optional<T> second =
        x == std::string_view::npos ? first : readPart(text.substr(x + 1));
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair<T, T>{*first, *second};
}

ScreenInfo screenFromEnvironment() {
    ScreenInfo screen;
    const auto [width, height] = envSetting<std::pair<int64_t, int64_t>>(
        "TARNIX_SCREEN", {1024, 768}, "<width>x<height> in whole pixels from 1 to 32767",
        "1024x768", [](std::string_view text) {
            return pairOf<int64_t>(text, false, [](std::string_view part) {
                return wholeNumberIn(part, 1, kMaxScreenPixels);
            });
        });
    screen.widthPx = static_cast<int32_t>(width);
    screen.heightPx = static_cast<int32_t>(height);
    const auto [twipsX, twipsY] = envSetting<std::pair<double, double>>(
        "TARNIX_TWIPS", {15, 15}, "<n> or <x>x<y> twips per pixel, each from 1 to 1440", "15",
        [](std::string_view text) {
            return pairOf<double>(text, true, [](std::string_view part) {
                return numberIn(part, kMinTwipsPerPixel, kMaxTwipsPerPixel);
            });
        });
    screen.twipsPerPixelX = static_cast<float>(twipsX);
    screen.twipsPerPixelY = static_cast<float>(twipsY);
    const int64_t taskbarDefault = std::min<int64_t>(30, height);
    const int64_t taskbar = envSetting<int64_t>(
        "TARNIX_TASKBAR", taskbarDefault,
        "a whole number of pixels from 0 to the screen height " + std::to_string(height),
        std::to_string(taskbarDefault),
        [height](std::string_view text) { return wholeNumberIn(text, 0, height); });
    screen.workRight = screen.widthPx;
    screen.workBottom = screen.heightPx - static_cast<int32_t>(taskbar);
    return screen;
}

// "<yes>" is true, "<no>" false, anything else unreadable.
auto oneOf(std::string_view yes, std::string_view no) {
    return [yes, no](std::string_view text) -> std::optional<bool> {
        if (text == yes || text == no) {
            return text == yes;
        }
        return std::nullopt;
    };
}

// Opened without waiting, so a FIFO that nobody reads is refused instead of holding the start.
std::FILE* openForAppending(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "a");
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}

std::string number(float value) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

std::string windowFields(const WindowView& window) {
    return "hwnd=" + std::to_string(window.hWnd) + " name=" + window.name;
}

std::string geometry(const WindowView& window) {
    return " left=" + number(window.left) + " top=" + number(window.top) +
           " width=" + number(window.width) + " height=" + number(window.height);
}
}  // namespace

HeadlessConfig HeadlessConfig::fromEnvironment() {
    HeadlessConfig config;
    config.traceTarget = envText("TARNIX_TRACE").value_or("");
    config.virtualClock = envSetting<bool>("TARNIX_CLOCK", false, "virtual or real", "real",
                                           oneOf("virtual", "real"));
    config.screen = screenFromEnvironment();
    config.scriptPath = envText("TARNIX_SCRIPT").value_or("");
    config.online =
        !envSetting<bool>("TARNIX_OFFLINE", false, "1 or 0", "0 (online)", oneOf("1", "0"));
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
        sink_ = openForAppending(config_.traceTarget);
        ownsSink_ = sink_ != nullptr;
        if (!sink_) {
            std::fprintf(stderr, "tarnix: cannot open trace file %s: %s\n",
                         config_.traceTarget.c_str(),
                         errno == ENXIO ? "a FIFO that nobody reads" : std::strerror(errno));
        }
    }
    if (!config_.scriptPath.empty()) {
        loadScriptFile(config_.scriptPath);
    }
}

HeadlessBackend::~HeadlessBackend() {
    stopSignals();
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

void HeadlessBackend::queueMessageBoxAnswer(int answer, int64_t holdMs, int64_t fromMs) {
    answers_.push_back({answer, holdMs, fromMs});
}

MessageBoxReply HeadlessBackend::messageBox(std::string_view prompt, int style,
                                            std::string_view title) {
    const int64_t now = clock_->nowMs();
    MessageBoxReply reply{1, now};
    auto ready = std::find_if(answers_.begin(), answers_.end(),
                              [now](const Answer& answer) { return answer.fromMs <= now; });
    if (ready != answers_.end()) {
        reply = {ready->answer, now + ready->holdMs};
        answers_.erase(ready);
    }
    std::string detail = "style=" + std::to_string(style) + " title=" + quoted(title) +
                         " text=" + quoted(prompt) + " answer=" + std::to_string(reply.answer);
    if (reply.openUntilMs > now) {
        detail += " open-until=" + std::to_string(reply.openUntilMs);
    }
    trace("msgbox", detail);
    return reply;
}

void HeadlessBackend::windowChanged(const WindowView& window, WindowChange change) {
    switch (change) {
        case WindowChange::Loaded:
            trace("form", "loaded " + windowFields(window));
            break;
        case WindowChange::Unloaded:
            trace("form", "unloaded " + windowFields(window) +
                              " mode=" + std::to_string(window.unloadMode));
            break;
        case WindowChange::Shown:
            trace("window", "shown " + windowFields(window) + " caption=" + quoted(window.caption) +
                                geometry(window) + " topmost=" + (window.topMost ? "1" : "0"));
            break;
        case WindowChange::Moved:
            trace("window", "moved " + windowFields(window) + geometry(window));
            break;
        case WindowChange::Resized:
            trace("window", "resized " + windowFields(window) + geometry(window));
            break;
        case WindowChange::Hidden:
            trace("window", "hidden " + windowFields(window));
            break;
        case WindowChange::Caption:
            trace("window",
                  "caption " + windowFields(window) + " caption=" + quoted(window.caption));
            break;
        case WindowChange::TopMost:
            trace("window",
                  "topmost " + windowFields(window) + " on=" + (window.topMost ? "1" : "0"));
            break;
        case WindowChange::ZOrder:
            trace("window", "raised " + windowFields(window));
            break;
        case WindowChange::Foreground:
            trace("window", "foreground " + windowFields(window));
            break;
    }
}

void HeadlessBackend::trayChanged(const TrayView& record, TrayChange change) {
    if (change == TrayChange::Balloon) {
        trace("balloon",
              "hwnd=" + std::to_string(record.hWnd) + " id=" + std::to_string(record.uID) +
                  " title=" + quoted(record.szInfoTitle) + " text=" + quoted(record.szInfo) +
                  " flags=" + std::to_string(record.dwInfoFlags));
        return;
    }
    const char* operation = change == TrayChange::Add      ? "add"
                            : change == TrayChange::Modify ? "modify"
                                                           : "delete";
    trace("tray",
          std::string(operation) + " cbSize=" + std::to_string(record.cbSize) +
              " hWnd=" + std::to_string(record.hWnd) + " uID=" + std::to_string(record.uID) +
              " uFlags=" + std::to_string(record.uFlags) + " uCallbackMessage=" +
              std::to_string(record.uCallbackMessage) + " hIcon=" + std::to_string(record.hIcon) +
              " szTip=" + quoted(record.szTip) + " dwState=" + std::to_string(record.dwState) +
              " dwStateMask=" + std::to_string(record.dwStateMask) +
              " szInfo=" + quoted(record.szInfo) + " uTimeout=" + std::to_string(record.uTimeout) +
              " szInfoTitle=" + quoted(record.szInfoTitle) + " dwInfoFlags=" +
              std::to_string(record.dwInfoFlags) + " ok=" + (record.accepted ? "1" : "0"));
}

void HeadlessBackend::menuOpened(const MenuView& menu) {
    std::string items;
    for (const auto& item : menu.items) {
        if (!items.empty()) {
            items += '|';
        }
        items += std::string(static_cast<size_t>(item.depth - 1), '>');
        if (!item.enabled) {
            items += '~';
        }
        if (item.checked) {
            items += '*';
        }
        items += item.caption;
    }
    trace("menu", "open hwnd=" + std::to_string(menu.hWnd) + " form=" + menu.form +
                      " menu=" + menu.menu + " items=" + quoted(items));
}

void HeadlessBackend::queueInput(InputEvent event) {
    auto later =
        std::upper_bound(input_.begin(), input_.end(), event.atMs,
                         [](int64_t at, const InputEvent& queued) { return at < queued.atMs; });
    input_.insert(later, std::move(event));
}

std::vector<InputEvent> HeadlessBackend::takeInput(int64_t nowMs) {
    std::vector<InputEvent> due;
    while (!input_.empty() && input_.front().atMs <= nowMs) {
        due.push_back(std::move(input_.front()));
        input_.pop_front();
    }
    if (takeSignal()) {
        due.push_back({nowMs, "end-session", {}});
    }
    return due;
}

bool HeadlessBackend::waitForInput(int64_t untilMs) {
    const int64_t next = input_.empty() ? -1 : input_.front().atMs;
    int64_t target = untilMs;
    if (next >= 0 && (target < 0 || next < target)) {
        target = next;
    }
    if (signalPipe_ >= 0 && virtualClock_ == nullptr) {
        // A signal may end the wait at any moment; with no deadline the wait is for one.
        while (target < 0 || clock_->nowMs() < target) {
            const int64_t left = target < 0 ? -1 : target - clock_->nowMs();
            if (signalPending(static_cast<int>(std::min<int64_t>(left, INT32_MAX)))) {
                break;
            }
        }
        return true;
    }
    if (signalPending(0)) {
        return true;
    }
    if (target < 0) {
        return false;
    }
    clock_->waitUntil(target);
    return true;
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
