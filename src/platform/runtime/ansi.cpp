#include "platform/runtime/ansi.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {
// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

size_t asciiRunEnd(std::string_view text, size_t from) {
    // Eight bytes at a time while none of them has its high bit set.
    for (uint64_t word = 0; from + sizeof word <= text.size(); from += sizeof word) {
        std::memcpy(&word, text.data() + from, sizeof word);
        if ((word & 0x8080808080808080u) != 0) {
            break;
        }
    }
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80) {
        ++from;
    }
    return from;
}

struct Decoded {
    char32_t codePoint = 0;
    size_t length = 1;  // bytes taken, at least one
    bool valid = false;
};

// The sequence that starts with the non-ASCII byte at text[at]. A malformed one takes its lead
// byte and the continuation bytes that follow it, at most as many as the lead announces.
Decoded decodeSequence(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;  // shorter forms of smaller values are overlong
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else {
        return {};  // a continuation byte, or 0xF8 to 0xFF
    }
    Decoded decoded;
    for (; decoded.length < length && at + decoded.length < text.size(); ++decoded.length) {
        const auto next = static_cast<unsigned char>(text[at + decoded.length]);
        if ((next & 0xC0) != 0x80) {
            return decoded;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    decoded.codePoint = codePoint;
    decoded.valid = decoded.length == length && codePoint >= smallest && codePoint <= 0x10FFFF &&
                    (codePoint < 0xD800 || codePoint > 0xDFFF);
    return decoded;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
}  // namespace

std::string toAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        // ASCII is the same in both encodings: copy each run of it in one go.
        const size_t asciiEnd = asciiRunEnd(utf8, i);
        if (asciiEnd > i) {
            out.append(utf8.substr(i, asciiEnd - i));
            i = asciiEnd;
            if (i == utf8.size()) {
                break;
            }
        }
        const Decoded decoded = decodeSequence(utf8, i);
        out += decoded.valid ? toByte(decoded.codePoint) : '?';
        i += decoded.length;
    }
    return out;
}

std::optional<std::u32string> utf8CodePoints(std::string_view utf8) {
    std::u32string points;
    for (size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            points += static_cast<char32_t>(utf8[i++]);
            continue;
        }
        const Decoded decoded = decodeSequence(utf8, i);
        if (!decoded.valid) {
            return std::nullopt;
        }
        points += decoded.codePoint;
        i += decoded.length;
    }
    return points;
}

std::string fromAnsi(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (size_t i = 0; i < ansi.size(); ++i) {
        // ASCII is the same in both encodings: copy each run of it in one go.
        const size_t asciiEnd = asciiRunEnd(ansi, i);
        out.append(ansi.substr(i, asciiEnd - i));
        i = asciiEnd;
        if (i == ansi.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(ansi[i]);
        appendUtf8(out, byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte});
    }
    return out;
}

std::string ansiFolded(std::string_view ansi) {
    std::string folded(ansi);
    for (char& c : folded) {
        c = static_cast<char>(kAnsiFolded[static_cast<unsigned char>(c)]);
    }
    return folded;
}

bool ansiEqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return kAnsiFolded[static_cast<unsigned char>(x)] ==
                      kAnsiFolded[static_cast<unsigned char>(y)];
           });
}

bool ansiLessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return kAnsiFolded[static_cast<unsigned char>(x)] <
               kAnsiFolded[static_cast<unsigned char>(y)];
    });
}

}  // namespace platform
