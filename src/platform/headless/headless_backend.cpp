#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>

#include "platform/runtime/clock.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/trace.h"

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
        [limit = height](std::string_view text) { return wholeNumberIn(text, 0, limit); });
    screen.workRight = screen.widthPx;
    screen.workBottom = screen.heightPx - static_cast<int32_t>(taskbar);
    return screen;
}

std::optional<double> parseNumber(const std::string& word) {
    double value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

void ignored(const std::string& why) {
    trace("input", "ignored " + why);
}

// What each tray gesture sends, in order.
struct Gesture {
    const char* name;
    std::vector<uint32_t> messages;
};

constexpr uint32_t kMouseMove = 0x200;
constexpr uint32_t kLeftDown = 0x201;
constexpr uint32_t kLeftUp = 0x202;
constexpr uint32_t kLeftDouble = 0x203;
constexpr uint32_t kRightDown = 0x204;
constexpr uint32_t kRightUp = 0x205;
constexpr uint32_t kRightDouble = 0x206;

const std::vector<Gesture>& gestures() {
    static const std::vector<Gesture> all = {
        {"right-click", {kRightDown, kRightUp}},
        {"left-click", {kLeftDown, kLeftUp}},
        {"left-double-click", {kLeftDown, kLeftUp, kLeftDouble, kLeftUp}},
        {"right-double-click", {kRightDown, kRightUp, kRightDouble, kRightUp}},
        {"move", {kMouseMove}},
    };
    return all;
}

}  // namespace

HeadlessConfig HeadlessConfig::fromEnvironment() {
    HeadlessConfig config;
    config.screen = screenFromEnvironment();
    config.scriptPath = envText("TARNIX_SCRIPT").value_or("");
    config.online =
        !envSetting<bool>("TARNIX_OFFLINE", false, "1 or 0", "0 (online)", oneOf("1", "0"));
    return config;
}

HeadlessBackend::HeadlessBackend(HeadlessConfig config) : config_(std::move(config)) {
    if (!config_.scriptPath.empty()) {
        loadScriptFile(config_.scriptPath);
    }
}

HeadlessBackend::~HeadlessBackend() {
    stopSignals();
}

Features HeadlessBackend::features() const {
    return {Feature::Windows,      Feature::Tray,        Feature::Balloons, Feature::Menus,
            Feature::MessageBoxes, Feature::FileDialogs, Feature::Sound,    Feature::NetworkState,
            Feature::WebView,      Feature::OpenAddress};
}

void HeadlessBackend::windowChanged(const WindowView& window, WindowChange change) {
    if (change == WindowChange::Loaded) {
        windows_[window.hWnd].name = window.name;
    } else if (change == WindowChange::Unloaded) {
        windows_.erase(window.hWnd);
    }
}

void HeadlessBackend::controlChanged(const ControlView& control, ControlChange change) {
    // Only what is there matters for naming; property changes come often and change nothing here.
    if (change != ControlChange::Created && change != ControlChange::Destroyed) {
        return;
    }
    auto window = windows_.find(control.hWnd);
    if (window == windows_.end()) {
        return;
    }
    const std::string key = controlWord(control.name, control.index);
    if (change == ControlChange::Created) {
        window->second.controls[key] = {control.id, control.kind};
    } else if (change == ControlChange::Destroyed) {
        window->second.controls.erase(key);
    }
}

void HeadlessBackend::trayChanged(const TrayNotice& icon, TrayChange change) {
    const auto same = [&icon](const TrayEntry& entry) {
        return entry.hWnd == icon.hWnd && entry.uID == icon.uID;
    };
    if (change == TrayChange::Add) {
        trayIcons_.push_back({icon.hWnd, icon.uID});
    } else if (change == TrayChange::Delete) {
        std::erase_if(trayIcons_, same);
    }
}

void HeadlessBackend::menuOpened(const MenuView& /*menu*/) {}

void HeadlessBackend::queueMessageBoxAnswer(int answer, int64_t holdMs, int64_t fromMs) {
    boxAnswers_.push_back({answer, std::nullopt, holdMs, fromMs});
}

void HeadlessBackend::queueDialogAnswer(std::optional<std::string> path, int64_t holdMs,
                                        int64_t fromMs) {
    dialogAnswers_.push_back({0, std::move(path), holdMs, fromMs});
}

namespace {
// The first answer whose time has come, removed from the queue.
template <typename Queue>
std::optional<typename Queue::value_type> takeReady(Queue& answers, int64_t now) {
    auto ready = std::find_if(answers.begin(), answers.end(),
                              [now](const auto& answer) { return answer.fromMs <= now; });
    if (ready == answers.end()) {
        return std::nullopt;
    }
    auto answer = std::move(*ready);
    answers.erase(ready);
    return answer;
}
}  // namespace

void HeadlessBackend::openMessageBox(const MessageBoxRequest& box) {
    const int64_t now = clock().nowMs();
    const auto answer = takeReady(boxAnswers_, now);
    schedule(answer ? now + answer->holdMs : now,
             input::MessageBoxAnswer{box.id, answer ? answer->answer : 1});
}

void HeadlessBackend::openFileDialog(const FileDialogRequest& dialog) {
    const int64_t now = clock().nowMs();
    auto answer = takeReady(dialogAnswers_, now);
    schedule(answer ? now + answer->holdMs : now,
             input::DialogAnswer{dialog.id, answer ? std::move(answer->path) : std::nullopt});
}

void HeadlessBackend::schedule(int64_t atMs, InputEvent event) {
    auto later = std::upper_bound(due_.begin(), due_.end(), atMs,
                                  [](int64_t at, const Due& queued) { return at < queued.atMs; });
    due_.insert(later, {atMs, std::move(event)});
}

void HeadlessBackend::queueAction(Action action) {
    auto later =
        std::upper_bound(actions_.begin(), actions_.end(), action.atMs,
                         [](int64_t at, const Action& queued) { return at < queued.atMs; });
    actions_.insert(later, std::move(action));
}

std::optional<int32_t> HeadlessBackend::windowOf(const std::string& word) const {
    if (!word.empty() && word[0] == '#') {
        // Only a whole number a handle can be names one.
        const auto handle = wholeNumberIn(word.substr(1), 1, INT32_MAX);
        if (!handle || windows_.count(static_cast<int32_t>(*handle)) == 0) {
            return std::nullopt;
        }
        return static_cast<int32_t>(*handle);
    }
    // Handles grow with every load: the first loaded window of that name comes first.
    for (const auto& [hWnd, window] : windows_) {
        if (window.name == word) {
            return hWnd;
        }
    }
    return std::nullopt;
}

const HeadlessBackend::ControlEntry* HeadlessBackend::controlOf(int32_t hWnd,
                                                                const std::string& word) const {
    const auto window = windows_.find(hWnd);
    if (window == windows_.end()) {
        return nullptr;
    }
    std::string key = word;
    if (const size_t open = word.find('('); open != std::string::npos) {
        if (word.back() != ')') {
            return nullptr;
        }
        const auto index = parseNumber(word.substr(open + 1, word.size() - open - 2));
        if (!index || *index < 0 || *index > 32767 || *index != static_cast<int16_t>(*index)) {
            return nullptr;
        }
        key = controlWord(word.substr(0, open), static_cast<int16_t>(*index));
    }
    const auto found = window->second.controls.find(key);
    return found == window->second.controls.end() ? nullptr : &found->second;
}

std::vector<InputEvent> HeadlessBackend::eventsOf(const std::vector<std::string>& words) const {
    const std::string& action = words[0];
    const size_t count = words.size() - 1;
    const std::optional<int32_t> named = count >= 1 ? windowOf(words[1]) : std::nullopt;
    const bool window = named.has_value();
    const int32_t hWnd = named.value_or(0);
    const auto control = [&](ControlKind kind, bool wanted) -> const ControlEntry* {
        const ControlEntry* found = window && count >= 2 ? controlOf(hWnd, words[2]) : nullptr;
        return found && (found->kind == kind) == wanted ? found : nullptr;
    };
    if (action == "close") {
        if (count == 1 && window) {
            return {input::CloseBox{hWnd}};
        }
        ignored("close: no such visible window");
    } else if (action == "menu") {
        if (const auto* item = count == 2 ? control(ControlKind::Menu, true) : nullptr) {
            return {input::MenuChoice{hWnd, item->id}};
        }
        ignored("menu: no such menu item");
    } else if (action == "click") {
        if (const auto* target = count == 2 ? control(ControlKind::Menu, false) : nullptr) {
            return {input::Click{hWnd, target->id}};
        }
        ignored("click: no such control");
    } else if (action == "select") {
        const auto* list = count == 3 ? control(ControlKind::ListBox, true) : nullptr;
        const auto index = count == 3 ? parseNumber(words[3]) : std::nullopt;
        if (list && index && *index >= 0 && *index <= INT32_MAX &&
            *index == static_cast<int32_t>(*index)) {
            return {input::ListSelect{hWnd, list->id, static_cast<int32_t>(*index)}};
        }
        ignored("select: no such list entry");
    } else if (action == "type") {
        if (const auto* box = count == 3 ? control(ControlKind::TextBox, true) : nullptr) {
            return {input::TextEdited{hWnd, box->id, words[3]}};
        }
        ignored("type: no such text box");
    } else if (action == "mousemove") {
        const auto x = count == 3 ? parseNumber(words[2]) : std::nullopt;
        const auto y = count == 3 ? parseNumber(words[3]) : std::nullopt;
        if (window && x && y) {
            return {input::MouseMove{hWnd, 0, 0, static_cast<float>(*x), static_cast<float>(*y)}};
        }
        ignored("mousemove: bad window or position");
    } else if (action == "tray") {
        std::vector<uint32_t> messages;
        size_t next = 2;
        if (count >= 2 && words[1] == "message") {
            if (const auto number = parseNumber(words[2]);
                number && *number >= 0 && *number <= UINT32_MAX &&
                *number == static_cast<uint32_t>(*number)) {
                messages.push_back(static_cast<uint32_t>(*number));
            }
            next = 3;
        } else if (count >= 1) {
            for (const auto& gesture : gestures()) {
                if (words[1] == gesture.name) {
                    messages = gesture.messages;
                }
            }
        }
        const TrayEntry* target = trayIcons_.empty() ? nullptr : &trayIcons_.front();
        if (words.size() > next) {
            const auto id = parseNumber(words[next]);
            auto found =
                std::find_if(trayIcons_.begin(), trayIcons_.end(),
                             [&id](const TrayEntry& icon) { return id && icon.uID == *id; });
            target = found == trayIcons_.end() ? nullptr : &*found;
        }
        if (messages.empty() || target == nullptr) {
            ignored(messages.empty() ? "tray: unknown gesture" : "tray: no icon");
            return {};
        }
        std::vector<InputEvent> events;
        for (uint32_t message : messages) {
            events.emplace_back(input::TrayMouse{target->hWnd, target->uID, message});
        }
        return events;
    } else if (action.rfind("page-", 0) == 0) {
        const auto* browser = count >= 2 ? control(ControlKind::WebBrowser, true) : nullptr;
        const int32_t id = browser ? browser->id : 0;
        if (action == "page-type" && browser && count == 4) {
            return {input::PageType{hWnd, id, words[3], words[4]}};
        }
        if (action == "page-click" && browser && count == 3) {
            return {input::PageClick{hWnd, id, words[3]}};
        }
        if (action == "page-link" && browser && count == 3) {
            const auto index = parseNumber(words[3]);
            if (index && *index >= 0 && *index <= INT32_MAX &&
                *index == static_cast<int32_t>(*index)) {
                return {input::PageLink{hWnd, id, static_cast<int32_t>(*index)}};
            }
        }
        if (action == "page-close" && browser && count == 2) {
            return {input::PageClose{hWnd, id}};
        }
        if (action == "page-new-window" && browser && count == 3) {
            return {input::PageNewWindow{hWnd, id, words[3]}};
        }
        ignored(action + ": no such browser or bad words");
    } else if (action == "end-session") {
        return {input::EndSession{}};
    } else {
        ignored("unknown action " + action);
    }
    return {};
}

std::vector<InputEvent> HeadlessBackend::takeInput(int64_t nowMs) {
    std::vector<InputEvent> events;
    for (;;) {
        const bool answerFirst = !due_.empty() && due_.front().atMs <= nowMs &&
                                 (actions_.empty() || due_.front().atMs <= actions_.front().atMs);
        if (answerFirst) {
            events.push_back(std::move(due_.front().event));
            due_.pop_front();
            continue;
        }
        if (actions_.empty() || actions_.front().atMs > nowMs) {
            break;
        }
        Action action = std::move(actions_.front());
        actions_.pop_front();
        std::string line;
        for (const auto& word : action.words) {
            line += line.empty() ? "" : " ";
            line += word;
        }
        trace("input", line);
        for (auto& event : eventsOf(action.words)) {
            events.push_back(std::move(event));
        }
    }
    if (takeSignal()) {
        trace("input", "end-session");
        events.emplace_back(input::EndSession{});
    }
    return events;
}

bool HeadlessBackend::waitForInput(int64_t untilMs) {
    int64_t target = untilMs;
    for (const int64_t next : {actions_.empty() ? int64_t{-1} : actions_.front().atMs,
                               due_.empty() ? int64_t{-1} : due_.front().atMs}) {
        if (next >= 0 && (target < 0 || next < target)) {
            target = next;
        }
    }
    auto& time = clock();
    if (signalPipe_ >= 0 && realTime_) {
        // A signal may end the wait at any moment; with no deadline the wait is for one.
        while (target < 0 || time.nowMs() < target) {
            const int64_t left = target < 0 ? -1 : target - time.nowMs();
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
    time.waitUntil(target);
    return true;
}

bool HeadlessBackend::playSound(std::string_view path, int64_t /*fromMs*/, int64_t /*durationMs*/) {
    return static_cast<bool>(std::ifstream(std::string(path), std::ios::binary));
}

bool HeadlessBackend::connectionState(uint32_t& flags) {
    flags = config_.online ? config_.connectionFlags : 0;
    return config_.online;
}

}  // namespace platform
