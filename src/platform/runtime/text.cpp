#include "platform/runtime/text.h"

#include <cstdio>

namespace platform {

size_t InStr(size_t start, std::string_view text, std::string_view needle) {
    if (start == 0 || start > text.size() + 1) {
        return 0;
    }
    const size_t found = text.find(needle, start - 1);
    return found == std::string_view::npos ? 0 : found + 1;
}

std::string Replace(std::string_view text, std::string_view find, std::string_view with) {
    if (find.empty()) {
        return std::string(text);
    }
    std::string result;
    size_t pos = 0;
    for (size_t hit = text.find(find); hit != std::string_view::npos; hit = text.find(find, pos)) {
        result.append(text.substr(pos, hit - pos));
        result.append(with);
        pos = hit + find.size();
    }
    result.append(text.substr(pos));
    return result;
}

std::string UCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

std::string LCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

std::string Left(std::string_view text, size_t count) {
    return std::string(text.substr(0, count));
}

std::string Right(std::string_view text, size_t count) {
    return count >= text.size() ? std::string(text) : std::string(text.substr(text.size() - count));
}

std::string Mid(std::string_view text, size_t start, size_t count) {
    if (start == 0 || start > text.size()) {
        return {};
    }
    return std::string(text.substr(start - 1, count));
}

std::string LTrim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) {
    return LTrim(RTrim(text));
}

std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace platform
