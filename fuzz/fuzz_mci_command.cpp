// The multimedia command reader on any text: a command it takes has an upper-case verb and
// keywords without blanks, and the same command written out again reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/media/mci_command.h"

namespace {

bool plainWord(const std::string& word) {
    if (word.empty()) {
        return false;
    }
    for (const char c : word) {
        if (c == ' ' || c == '\t' || (c >= 'a' && c <= 'z')) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = platform::media::parseMciCommand(text);
    if (read.error != platform::media::kMciOk) {
        return 0;
    }
    const auto& command = read.command;
    if (!plainWord(command.verb)) {
        std::abort();
    }
    std::string again = command.verb;
    if (!command.device.empty()) {
        if (command.device.find('"') != std::string::npos) {
            return 0;  // cannot be written between quotes again
        }
        again += " \"" + command.device + '"';
    }
    for (const auto& keyword : command.keywords) {
        if (!plainWord(keyword)) {
            std::abort();
        }
        again += ' ' + keyword;
    }
    const auto reread = platform::media::parseMciCommand(again);
    if (reread.error != platform::media::kMciOk || reread.command.verb != command.verb ||
        reread.command.device != command.device || reread.command.keywords != command.keywords) {
        std::abort();
    }
    return 0;
}
