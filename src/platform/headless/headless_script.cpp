#include <charconv>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace platform {

namespace {

// Words separated by blanks; a word in double quotes may hold blanks, \" and \\.
std::vector<std::string> splitWords(std::string_view line, size_t lineNumber) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    c = line[i++];
                }
                word += c;
            }
            if (!closed) {
                throw std::runtime_error("line " + std::to_string(lineNumber) +
                                         ": unterminated quoted word");
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool parseInt(const std::string& word, int64_t& value) {
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

int answerNumber(const std::string& word) {
    static const std::pair<const char*, int> names[] = {
        {"ok", 1}, {"cancel", 2}, {"abort", 3}, {"retry", 4}, {"ignore", 5}, {"yes", 6}, {"no", 7}};
    for (const auto& [name, number] : names) {
        if (word == name) {
            return number;
        }
    }
    int64_t number = 0;
    return parseInt(word, number) && number >= 1 && number <= 7 ? static_cast<int>(number) : 0;
}

}  // namespace

void HeadlessBackend::loadScript(std::string_view text) {
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        auto words = splitWords(line, lineNumber);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        int64_t at = 0;
        if (!parseInt(words[0], at) || at < 0) {
            throw std::runtime_error(where + "a time in ms comes first");
        }
        if (words.size() < 2) {
            throw std::runtime_error(where + "an action follows the time");
        }
        if (words[1] == "msgbox") {
            const int answer = words.size() >= 3 ? answerNumber(words[2]) : 0;
            int64_t hold = 0;
            const bool holdOk = words.size() == 3 || (words.size() == 5 && words[3] == "hold" &&
                                                      parseInt(words[4], hold) && hold >= 0);
            if (answer == 0 || !holdOk) {
                throw std::runtime_error(where + "msgbox <answer> [hold <ms>]");
            }
            queueMessageBoxAnswer(answer, hold, at);
            continue;
        }
        InputEvent event;
        event.atMs = at;
        event.action = words[1];
        event.args.assign(words.begin() + 2, words.end());
        queueInput(std::move(event));
    }
}

}  // namespace platform
