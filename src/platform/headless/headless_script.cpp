#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace platform {

namespace {

// A script is a short list of actions; a larger file is not one.
constexpr size_t kMaxScriptBytes = size_t{1} << 20;

// The file's bytes when it is an ordinary file of at most kMaxScriptBytes. Opened without waiting,
// so a FIFO with no writer, a device or a folder is refused at once; throws saying why.
std::string readScriptFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error(std::strerror(errno));
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        throw std::runtime_error("not an ordinary file");
    }
    std::string text;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw std::runtime_error(std::strerror(errno));
        }
        if (count == 0) {
            return text;
        }
        if (text.size() + static_cast<size_t>(count) > kMaxScriptBytes) {
            throw std::runtime_error("larger than 1 MiB");
        }
        text.append(buffer, static_cast<size_t>(count));
    }
}

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
    // Queued only once every line has been read.
    std::vector<Action> actions;
    std::vector<std::pair<bool, Answer>> answers;  // true: a dialog's
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
        if (words[1] == "msgbox" || words[1] == "dialog") {
            const bool dialog = words[1] == "dialog";
            const int answer = words.size() >= 3 && !dialog ? answerNumber(words[2]) : 0;
            int64_t hold = 0;
            const bool holdOk = words.size() == 3 || (words.size() == 5 && words[3] == "hold" &&
                                                      parseInt(words[4], hold) && hold >= 0);
            if ((!dialog && answer == 0) || words.size() < 3 || !holdOk) {
                throw std::runtime_error(where + (dialog ? "dialog <path>|cancel [hold <ms>]"
                                                         : "msgbox <answer> [hold <ms>]"));
            }
            std::optional<std::string> path;
            if (dialog && words[2] != "cancel") {
                path = words[2];
            }
            answers.push_back({dialog, {answer, std::move(path), hold, at}});
            continue;
        }
        actions.push_back({at, {words.begin() + 1, words.end()}});
    }
    for (auto& [dialog, answer] : answers) {
        (dialog ? dialogAnswers_ : boxAnswers_).push_back(std::move(answer));
    }
    for (Action& action : actions) {
        queueAction(std::move(action));
    }
}

void HeadlessBackend::loadScriptFile(const std::string& path) {
    std::string text;
    try {
        text = readScriptFile(path);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "tarnix: cannot read script %s: %s\n", path.c_str(), error.what());
        return;
    }
    try {
        loadScript(text);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "tarnix: %s: %s\n", path.c_str(), error.what());
    }
}

}  // namespace platform
