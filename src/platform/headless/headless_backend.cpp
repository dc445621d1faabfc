#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/runtime/text.h"

namespace platform {

namespace {
std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "<a>x<b>" or "<a>" (then b = a); false when malformed or not positive.
bool parsePair(const std::string& text, float& a, float& b) {
    const size_t x = text.find('x');
    const std::string first = text.substr(0, x);
    const std::string second = x == std::string::npos ? first : text.substr(x + 1);
    auto parse = [](const std::string& word, float& value) {
        auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        return error == std::errc() && end == word.data() + word.size() && value > 0;
    };
    return parse(first, a) && parse(second, b);
}

ScreenInfo screenFromEnvironment() {
    ScreenInfo screen;
    float width = 1024;
    float height = 768;
    if (!env("TARNIX_SCREEN").empty() && !parsePair(env("TARNIX_SCREEN"), width, height)) {
        std::fprintf(stderr, "tarnix: TARNIX_SCREEN must be <width>x<height>; using 1024x768\n");
        width = 1024;
        height = 768;
    }
    screen.widthPx = static_cast<int32_t>(width);
    screen.heightPx = static_cast<int32_t>(height);
    if (!env("TARNIX_TWIPS").empty() &&
        !parsePair(env("TARNIX_TWIPS"), screen.twipsPerPixelX, screen.twipsPerPixelY)) {
        std::fprintf(stderr, "tarnix: TARNIX_TWIPS must be <n> or <x>x<y>; using 15\n");
        screen.twipsPerPixelX = 15;
        screen.twipsPerPixelY = 15;
    }
    int32_t taskbar = 30;
    if (!env("TARNIX_TASKBAR").empty()) {
        const std::string text = env("TARNIX_TASKBAR");
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), taskbar);
        if (error != std::errc() || end != text.data() + text.size() || taskbar < 0 ||
            taskbar > screen.heightPx) {
            std::fprintf(stderr, "tarnix: TARNIX_TASKBAR must be a pixel count; using 30\n");
            taskbar = 30;
        }
    }
    screen.workRight = screen.widthPx;
    screen.workBottom = screen.heightPx - taskbar;
    return screen;
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
    config.traceTarget = env("TARNIX_TRACE");
    config.virtualClock = env("TARNIX_CLOCK") == "virtual";
    config.screen = screenFromEnvironment();
    config.scriptPath = env("TARNIX_SCRIPT");
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
    if (!config_.scriptPath.empty()) {
        std::ifstream in(config_.scriptPath, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "tarnix: cannot read script %s\n", config_.scriptPath.c_str());
        } else {
            std::ostringstream text;
            text << in.rdbuf();
            try {
                loadScript(text.str());
            } catch (const std::runtime_error& error) {
                std::fprintf(stderr, "tarnix: %s: %s\n", config_.scriptPath.c_str(), error.what());
            }
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
    return due;
}

bool HeadlessBackend::waitForInput(int64_t untilMs) {
    const int64_t next = input_.empty() ? -1 : input_.front().atMs;
    int64_t target = untilMs;
    if (next >= 0 && (target < 0 || next < target)) {
        target = next;
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
