#include "platform/media/mci.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "platform/files/paths.h"
#include "platform/media/mci_command.h"
#include "platform/media/wave.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/backend.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform::media {

namespace {

// One open sound file. While playing, the position follows the backend's clock, and playback
// ends by itself once the clock passes the end of the file.
struct Device {
    std::string name;  // as written in the command (ANSI)
    std::string path;  // native file path (UTF-8)
    int64_t lengthMs = 0;
    int64_t positionMs = 0;
    bool playing = false;
    int64_t startedAtMs = 0;
    int64_t startedFromMs = 0;
};

std::vector<Device>& devices() {
    static std::vector<Device> open;
    return open;
}

int64_t now() {
    return platform::clock().nowMs();
}

// Brings a playing device up to the clock: past its end it has stopped by itself.
void settle(Device& device) {
    if (!device.playing) {
        return;
    }
    const int64_t position = device.startedFromMs + (now() - device.startedAtMs);
    if (position >= device.lengthMs) {
        device.playing = false;
        device.positionMs = device.lengthMs;
    } else {
        device.positionMs = position;
    }
}

void silence(Device& device) {
    settle(device);
    if (device.playing) {
        backend().stopSound(device.path);
        device.playing = false;
    }
}

Device* find(std::string_view name) {
    const std::string key = UCase(name);
    auto& open = devices();
    auto it = std::find_if(open.begin(), open.end(),
                           [&](const Device& d) { return UCase(d.name) == key; });
    return it == open.end() ? nullptr : &*it;
}

// The file's playing time, or the code that says why it cannot be played.
MciError probeFile(const std::string& path, int64_t& lengthMs) {
    if (!FileExists(path)) {
        return kMciFileNotFound;
    }
    const auto info = readWaveInfo(path);
    if (!info) {
        return kMciInvalidFile;
    }
    lengthMs = info->durationMs;
    return kMciOk;
}

MciError open(const MciCommand& command) {
    if (!command.keywords.empty()) {
        return kMciUnrecognizedKeyword;
    }
    if (find(command.device)) {
        return kMciDeviceAlreadyOpen;
    }
    Device device;
    device.name = command.device;
    device.path = nativePath(fromAnsi(command.device)).string();
    if (const MciError error = probeFile(device.path, device.lengthMs); error != kMciOk) {
        return error;
    }
    devices().push_back(std::move(device));
    return kMciOk;
}

MciError play(const MciCommand& command) {
    std::optional<int64_t> from;
    const auto& words = command.keywords;
    if (!words.empty()) {
        if (words[0] != "FROM") {
            return kMciUnrecognizedKeyword;
        }
        if (words.size() < 2) {
            return kMciMissingParameter;
        }
        if (words.size() > 2) {
            return kMciUnrecognizedKeyword;
        }
        int64_t ms = 0;
        const std::string& digits = words[1];
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), ms);
        if (ec != std::errc() || end != digits.data() + digits.size() || ms < 0) {
            return kMciBadInteger;
        }
        from = ms;
    }
    Device* device = find(command.device);
    if (!device) {
        return kMciInvalidDeviceName;
    }
    // The file may have changed since it was opened.
    if (const MciError error = probeFile(device->path, device->lengthMs); error != kMciOk) {
        silence(*device);
        return error;
    }
    if (from && *from > device->lengthMs) {
        return kMciOutOfRange;
    }
    settle(*device);
    if (device->playing && !from) {
        return kMciOk;  // plays on
    }
    silence(*device);
    const int64_t start = std::min(from.value_or(device->positionMs), device->lengthMs);
    device->positionMs = start;
    if (start == device->lengthMs) {
        return kMciOk;  // already at the end: nothing left to play
    }
    if (!backend().playSound(device->path, start, device->lengthMs - start)) {
        return kMciOutputRefused;
    }
    device->playing = true;
    device->startedAtMs = now();
    device->startedFromMs = start;
    return kMciOk;
}

MciError stop(const MciCommand& command) {
    if (!command.keywords.empty()) {
        return kMciUnrecognizedKeyword;
    }
    Device* device = find(command.device);
    if (!device) {
        return kMciInvalidDeviceName;
    }
    silence(*device);
    return kMciOk;
}

MciError close(const MciCommand& command) {
    if (!command.keywords.empty()) {
        return kMciUnrecognizedKeyword;
    }
    auto& open = devices();
    if (UCase(command.device) == "ALL") {
        for (auto& device : open) {
            silence(device);
        }
        open.clear();
        return kMciOk;
    }
    Device* device = find(command.device);
    if (!device) {
        return kMciInvalidDeviceName;
    }
    silence(*device);
    open.erase(open.begin() + (device - open.data()));
    return kMciOk;
}

MciError status(const MciCommand& command, std::string& answer) {
    if (command.keywords.size() != 1) {
        return command.keywords.empty() ? kMciMissingParameter : kMciUnrecognizedKeyword;
    }
    Device* device = find(command.device);
    if (!device) {
        return kMciInvalidDeviceName;
    }
    settle(*device);
    const std::string& item = command.keywords[0];
    if (item == "MODE") {
        answer = device->playing ? "playing" : "stopped";
    } else if (item == "LENGTH") {
        answer = std::to_string(device->lengthMs);
    } else if (item == "POSITION") {
        answer = std::to_string(device->positionMs);
    } else {
        return kMciUnrecognizedKeyword;
    }
    return kMciOk;
}

MciError interpret(std::string_view ansiCommand, std::string& answer) {
    const MciParse parsed = parseMciCommand(ansiCommand);
    if (parsed.error != kMciOk) {
        return parsed.error;
    }
    const MciCommand& command = parsed.command;
    if (command.verb == "OPEN") {
        return open(command);
    }
    if (command.verb == "PLAY") {
        return play(command);
    }
    if (command.verb == "STOP") {
        return stop(command);
    }
    if (command.verb == "CLOSE") {
        return close(command);
    }
    if (command.verb == "STATUS") {
        return status(command, answer);
    }
    return kMciUnrecognizedCommand;
}

}  // namespace

}  // namespace platform::media

namespace win {

uint32_t mciSendStringA(std::string_view command, std::string& returnBuffer, uint32_t returnSize,
                        intptr_t /*callbackWindow*/) {
    const std::string ansi = platform::toAnsi(command);
    std::string answer;
    const uint32_t result = platform::media::interpret(ansi, answer);
    std::string detail =
        "cmd=" + platform::quoted(platform::fromAnsi(ansi)) + " rc=" + std::to_string(result);
    if (!answer.empty()) {
        detail += " answer=" + platform::quoted(answer);
    }
    platform::trace("mci", detail);
    if (result == platform::media::kMciOk && !answer.empty() && returnSize > 0) {
        returnBuffer = platform::fromAnsi(answer.substr(0, returnSize - 1));
    }
    return result;
}

}  // namespace win
