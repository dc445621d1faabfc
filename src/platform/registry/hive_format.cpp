#include "platform/registry/hive_format.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/text.h"

namespace platform::registry {

namespace {

void appendHexBytes(std::string& out, std::string_view bytes) {
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%02x" : ",%02x",
                      static_cast<unsigned char>(bytes[i]));
        out += buf;
    }
}

void appendValue(std::string& out, const Value& value) {
    out += value.name.empty() ? std::string("@") : platform::quoted(fromAnsi(value.name));
    out += '=';
    char buf[24];
    if (value.type == win::REG_SZ && value.data.find('\0') == std::string::npos) {
        out += platform::quoted(fromAnsi(value.data));
    } else if (value.type == win::REG_DWORD && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = (number << 8) | static_cast<unsigned char>(value.data[static_cast<size_t>(i)]);
        }
        std::snprintf(buf, sizeof buf, "dword:%08x", number);
        out += buf;
    } else {
        if (value.type == win::REG_BINARY) {
            out += "hex:";
        } else {
            std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
            out += buf;
        }
        appendHexBytes(out, value.data);
    }
    out += '\n';
}

void appendKey(std::string& out, const std::string& path, const Key& key, bool always) {
    if (always || !key.values.empty()) {
        out += "\n[";
        out += path;
        out += "]\n";
        for (const auto& value : key.values) {
            appendValue(out, value);
        }
    }
    for (const auto& sub : key.subkeys) {
        appendKey(out, path + "\\" + fromAnsi(sub.name), sub, true);
    }
}

// A refused line; caught by parseHive, which adds the line number.
struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

uint32_t parseHexNumber(std::string_view digits, size_t maxDigits, const char* what) {
    uint32_t number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (digits.empty() || digits.size() > maxDigits || error != std::errc() ||
        end != digits.data() + digits.size()) {
        throw FormatError(std::string("bad ") + what + " \"" + std::string(digits) + "\"");
    }
    return number;
}

// A quoted token at the start of s (escapes as written by platform::quoted()); returns the UTF-8
// text and removes the token from s.
std::string takeQuoted(std::string_view& s) {
    std::string text;
    text.reserve(s.size());
    size_t i = 1;
    while (i < s.size() && s[i] != '"') {
        if (s[i] != '\\') {
            size_t plain = i;
            while (plain < s.size() && s[plain] != '"' && s[plain] != '\\') {
                ++plain;
            }
            text.append(s.substr(i, plain - i));
            i = plain;
            continue;
        }
        if (i + 1 >= s.size()) {
            break;  // a "\" at the end escapes nothing: the quotation stays open
        }
        const char e = s[i + 1];
        i += 2;
        switch (e) {
            case '\\':
            case '"':
                text += e;
                break;
            case 'r':
                text += '\r';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'x': {
                const uint32_t byte =
                    i + 2 <= s.size() ? parseHexNumber(s.substr(i, 2), 2, "escape") : 0x80;
                if (byte >= 0x80) {
                    throw FormatError("bad escape \\x" + std::string(s.substr(i, 2)));
                }
                text += static_cast<char>(byte);
                i += 2;
                break;
            }
            default:
                throw FormatError(std::string("unknown escape \\") + e);
        }
    }
    if (i >= s.size() || s[i] != '"') {
        throw FormatError("missing closing quotation mark");
    }
    s.remove_prefix(i + 1);
    return text;
}

// UTF-8 text in the code page; ASCII text, the same in both, is kept as it is.
std::string ansiOf(std::string text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? text : toAnsi(text);
}

std::string parseHexBytes(std::string_view list) {
    std::string bytes;
    list = trimBlanks(list);
    if (list.empty()) {
        return bytes;
    }
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        const auto token = trimBlanks(
            list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
        if (token.size() != 2) {
            throw FormatError("bad byte \"" + std::string(token) + "\"");
        }
        bytes += static_cast<char>(parseHexNumber(token, 2, "byte"));
        if (comma == std::string_view::npos) {
            return bytes;
        }
        start = comma + 1;
    }
}

Value parseValueLine(std::string_view line) {
    Value value;
    if (line.front() == '@') {
        line.remove_prefix(1);
    } else {
        value.name = ansiOf(takeQuoted(line));
    }
    line = trimBlanks(line);
    if (line.empty() || line.front() != '=') {
        throw FormatError("missing \"=\" after the value name");
    }
    line = trimBlanks(line.substr(1));
    if (!line.empty() && line.front() == '"') {
        value.type = win::REG_SZ;
        value.data = ansiOf(takeQuoted(line));
        if (!trimBlanks(line).empty()) {
            throw FormatError("text after the closing quotation mark");
        }
    } else if (line.starts_with("dword:")) {
        const uint32_t number = parseHexNumber(line.substr(6), 8, "dword");
        value.type = win::REG_DWORD;
        for (int i = 0; i < 4; ++i) {
            value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        }
    } else if (line.starts_with("hex:")) {
        value.type = win::REG_BINARY;
        value.data = parseHexBytes(line.substr(4));
    } else if (line.starts_with("hex(")) {
        const size_t close = line.find("):");
        if (close == std::string_view::npos) {
            throw FormatError("missing \"):\" after the type");
        }
        value.type = parseHexNumber(line.substr(4, close - 4), 8, "type");
        value.data = parseHexBytes(line.substr(close + 2));
    } else {
        throw FormatError("unknown value form");
    }
    return value;
}

// The names below the root of a key line's path ("HKEY_CURRENT_USER\A\B" gives A, B).
std::vector<std::string> parseKeyHeader(std::string_view rootName, std::string_view inner) {
    const size_t slash = inner.find('\\');
    if (!sameName(inner.substr(0, slash), rootName)) {
        throw FormatError("key outside " + std::string(rootName));
    }
    std::vector<std::string> names;
    size_t start = slash;
    while (start != std::string_view::npos) {
        const size_t end = inner.find('\\', start + 1);
        std::string name = toAnsi(
            inner.substr(start + 1, end == std::string_view::npos ? inner.npos : end - start - 1));
        if (!validKeyName(name)) {
            throw FormatError("bad key name \"" + fromAnsi(name) + "\"");
        }
        names.push_back(std::move(name));
        start = end;
    }
    return names;
}

// The keys of a file as they are read: each key once, however often its line appears and whatever
// the case of its names (the first spelling stays), with its values in file order. The tree is
// built at the end in sorted order, so reading stays linear whatever order the keys come in.
class KeyTable {
  public:
    KeyTable() {
        sections_.emplace_back();
        index_.emplace("", 0);
    }

    // The section of a key below the root; every key on its path gets one too.
    size_t section(const std::vector<std::string>& names) {
        size_t at = 0;
        std::string path;
        for (const auto& name : names) {
            path += '\\';
            path += ansiFolded(name);
            const auto [it, added] = index_.emplace(path, sections_.size());
            if (added) {
                std::vector<std::string> below = sections_[at].names;
                below.push_back(name);
                sections_.push_back({std::move(below), {}});
            }
            at = it->second;
        }
        return at;
    }

    void add(size_t section, Value value) { sections_[section].values.push_back(std::move(value)); }

    Key build() && {
        std::vector<size_t> order(sections_.size() - 1);
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = i + 1;
        }
        std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
            const auto& x = sections_[a].names;
            const auto& y = sections_[b].names;
            return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), nameLess);
        });
        Key root;
        root.values = lastOfEachName(std::move(sections_[0].values));
        for (const size_t i : order) {
            Key* key = &root;
            for (const auto& name : sections_[i].names) {
                key = &key->subkey(name);  // in sorted order: always the last subkey or a new one
            }
            key->values = lastOfEachName(std::move(sections_[i].values));
        }
        return root;
    }

  private:
    struct Section {
        std::vector<std::string> names;
        std::vector<Value> values;
    };

    // A value that appears twice keeps its first place and name and takes the later data. Values
    // are ordered by a hash of their folded name, so that equal names meet without a table.
    static std::vector<Value> lastOfEachName(std::vector<Value> values) {
        std::vector<std::pair<uint64_t, size_t>> order(values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            order[i] = {ansiFoldedHash(values[i].name), i};
        }
        std::sort(order.begin(), order.end());
        std::vector<bool> merged(values.size());
        for (size_t a = 0; a < order.size(); ++a) {
            for (size_t b = a + 1; b < order.size() && order[b].first == order[a].first; ++b) {
                Value& first = values[order[a].second];
                Value& later = values[order[b].second];
                if (!merged[order[a].second] && !merged[order[b].second] &&
                    sameName(first.name, later.name)) {
                    first.type = later.type;
                    first.data = std::move(later.data);
                    merged[order[b].second] = true;
                }
            }
        }
        size_t kept = 0;
        for (size_t i = 0; i < values.size(); ++i) {
            if (!merged[i]) {
                if (kept != i) {
                    values[kept] = std::move(values[i]);
                }
                ++kept;
            }
        }
        values.resize(kept);
        return values;
    }

    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> index_;  // folded "\A\B" to its section
};

}  // namespace

std::string formatHive(std::string_view rootName, const Key& root) {
    std::string out(kHiveHeader);
    out += '\n';
    appendKey(out, std::string(rootName), root, false);
    return out;
}

Result<Key> parseHive(std::string_view rootName, std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        auto line = text.substr(start, end - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty()) {
        return Key{};
    }
    size_t first = 1;
    try {
        if (lines[0] != kHiveHeader) {
            throw FormatError("the first line is not \"" + std::string(kHiveHeader) + "\"");
        }
        KeyTable keys;
        std::optional<size_t> current;
        for (size_t number = 2; number <= lines.size(); ++number) {
            first = number;
            std::string_view line = trimBlanks(lines[number - 1]);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[' && line.back() == ']') {
                current = keys.section(parseKeyHeader(rootName, line.substr(1, line.size() - 2)));
            } else if (line.front() == '"' || line.front() == '@') {
                if (!current) {
                    throw FormatError("value before the first key");
                }
                // Only a value line goes on in the next line (a long hex list wrapped at "\"):
                // a comment or key line that ends in "\" must not swallow the line after it.
                std::string joined;
                if (line.ends_with('\\') && number < lines.size()) {
                    joined = line;
                    while (joined.ends_with('\\') && number < lines.size()) {
                        joined.pop_back();
                        joined += trimBlanks(lines[number++]);
                    }
                    line = joined;
                }
                keys.add(*current, parseValueLine(line));
            } else {
                throw FormatError("unexpected line");
            }
        }
        return std::move(keys).build();
    } catch (const FormatError& e) {
        return Failure{win::kRegCorrupt, "line " + std::to_string(first) + ": " + e.what()};
    }
}

}  // namespace platform::registry
