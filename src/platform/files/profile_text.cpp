#include "platform/files/profile_text.h"

#include <algorithm>
#include <optional>

#include "platform/files/line_breaks.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/text.h"

namespace platform {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    a = trimBlanks(a);
    b = trimBlanks(b);
    return ansiEqualIgnoringCase(a, b);
}

std::optional<std::string_view> headerName(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return line.substr(0, line.find(']'));
}

// The value of an entry line as a reader sees it: after the first "=", up to a NUL, without the
// blanks and one pair of matching quotation marks around it.
std::string_view entryValue(std::string_view text) {
    text = text.substr(text.find('=') + 1);
    text = trimBlanks(text.substr(0, text.find('\0')));
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes) {
    for (LineBreaks lines(bytes); !lines.done();) {
        std::string_view lineBreak;
        const std::string_view text = lines.next(&lineBreak);
        lines_.push_back({std::string(text), std::string(lineBreak)});
    }
}

size_t ProfileText::findSection(std::string_view section, size_t from) const {
    for (size_t i = from; i < lines_.size(); ++i) {
        const auto name = headerName(lines_[i].text);
        if (name && sameName(*name, section)) {
            return i;
        }
    }
    return lines_.size();
}

size_t ProfileText::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !headerName(lines_[i].text)) {
        ++i;
    }
    return i;
}

size_t ProfileText::findKey(size_t header, std::string_view key) const {
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const std::string& text = lines_[i].text;
        const size_t equals = text.find('=');
        if (equals != std::string::npos &&
            sameName(std::string_view(text).substr(0, equals), key)) {
            return i;
        }
    }
    return end;
}

void ProfileText::forEachEntry(std::string_view bytes, std::string_view section,
                               const EntryVisitor& visit) {
    bool inSection = false;
    for (LineBreaks lines(bytes); !lines.done();) {
        const std::string_view line = lines.next();
        if (const auto name = headerName(line)) {
            if (inSection) {
                return;  // the first section of that name is the one read
            }
            inSection = sameName(*name, section);
        } else if (const size_t equals = line.find('='); inSection && equals != line.npos) {
            visit(trimBlanks(line.substr(0, equals)), entryValue(line));
        }
    }
}

void ProfileText::set(std::string_view section, std::string_view key, std::string_view value) {
    // Chars, not strings, before std::string: GCC 12 at -O3 reports those as overlapping copies.
    const std::string stored = entryValue('=' + std::string(value)) == value
                                   ? std::string(value)
                                   : '"' + std::string(value) + '"';
    const std::string entry = std::string(key) + "=" + stored;
    const size_t header = findSection(section);
    if (header == lines_.size()) {
        // A char, not "[": GCC 12 at -O3 reports "[" + std::string as an overlapping copy.
        insertLine(lines_.size(), '[' + std::string(section) + ']');
        insertLine(lines_.size(), entry);
        return;
    }
    const size_t end = sectionEnd(header);
    const size_t line = findKey(header, key);
    if (line != end) {
        // The line is written anew with the caller's spelling of the key: a writer that upper-cases
        // its keys finds them upper-cased in the file afterwards.
        lines_[line].text = entry;
        return;
    }
    // After the section's last non-blank line, so the blank lines before the next header stay.
    size_t at = end;
    while (at > header + 1 && trimBlanks(lines_[at - 1].text).empty()) {
        --at;
    }
    insertLine(at, entry);
}

void ProfileText::removeSection(std::string_view section) {
    for (size_t header = findSection(section); header < lines_.size();
         header = findSection(section, header)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
    }
}

void ProfileText::removeKey(std::string_view section, std::string_view key) {
    for (size_t header = findSection(section); header < lines_.size();
         header = findSection(section, header + 1)) {
        for (size_t line = findKey(header, key); line != sectionEnd(header);
             line = findKey(header, key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
        }
    }
}

std::string ProfileText::bytes() const {
    std::string result;
    for (const Line& line : lines_) {
        result += line.text;
        result += line.lineBreak;
    }
    return result;
}

std::string ProfileText::newLineBreak() const {
    for (const Line& line : lines_) {
        if (!line.lineBreak.empty()) {
            return line.lineBreak;
        }
    }
    return "\r\n";
}

void ProfileText::insertLine(size_t at, std::string text) {
    const std::string lineBreak = newLineBreak();
    if (at > 0 && lines_[at - 1].lineBreak.empty()) {
        lines_[at - 1].lineBreak = lineBreak;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), {std::move(text), lineBreak});
}

bool ProfileText::canStoreSection(std::string_view section) {
    return !hasLineBreakOrNul(section) && section.find(']') == std::string_view::npos;
}

bool ProfileText::canStoreKey(std::string_view key) {
    const std::string_view name = trimBlanks(key);
    return !hasLineBreakOrNul(key) && key.find('=') == std::string_view::npos &&
           (name.empty() || name.front() != '[');
}

bool ProfileText::canStoreValue(std::string_view value) {
    return !hasLineBreakOrNul(value);
}

}  // namespace platform
