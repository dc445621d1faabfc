#include "platform/media/mci_command.h"

#include "platform/runtime/text.h"

namespace platform::media {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The next blank-separated word at or after pos; empty at the end of the text.
std::string_view nextWord(std::string_view text, size_t& pos) {
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    const size_t start = pos;
    while (pos < text.size() && !isBlank(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

}  // namespace

MciParse parseMciCommand(std::string_view text) {
    MciParse result;
    size_t pos = 0;
    const std::string_view verb = nextWord(text, pos);
    if (verb.empty()) {
        result.error = kMciMissingCommandString;
        return result;
    }
    result.command.verb = UCase(verb);

    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    if (pos == text.size()) {
        result.error = kMciMissingParameter;
        return result;
    }
    if (text[pos] == '"') {
        const size_t close = text.find('"', pos + 1);
        if (close == std::string_view::npos || close == pos + 1) {
            result.error = kMciInvalidDeviceName;
            return result;
        }
        result.command.device = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
    } else {
        result.command.device = nextWord(text, pos);
    }

    for (std::string_view word = nextWord(text, pos); !word.empty(); word = nextWord(text, pos)) {
        result.command.keywords.push_back(UCase(word));
    }
    return result;
}

}  // namespace platform::media
