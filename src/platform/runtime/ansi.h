#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The system's ANSI code page is Windows-1252: one byte per character. Text inside the program is
// UTF-8; operations whose names end in A convert at the boundary.
namespace platform {

// UTF-8 to Windows-1252. A character the code page cannot hold becomes "?", and so does each
// malformed UTF-8 sequence, once: a lead byte with the continuation bytes that follow it, up to
// the length it announces (an overlong form, a surrogate or a value above U+10FFFF counts as
// malformed), or a byte that cannot start a sequence.
std::string toAnsi(std::string_view utf8);

// The code points of UTF-8 text; nothing when it is malformed (an overlong form, a surrogate, a
// value above U+10FFFF, a cut-off or stray byte).
std::optional<std::u32string> utf8CodePoints(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the control characters of the same number, so every byte string round-trips.
std::string fromAnsi(std::string_view ansi);

// Lower case of a Windows-1252 letter (A-Z, À-Þ except ×, Š, Œ, Ž, Ÿ); every other byte is kept.
constexpr unsigned char ansiFoldCase(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    switch (c) {
        case 0x8A:  // S caron
        case 0x8C:  // OE
        case 0x8E:  // Z caron
            return static_cast<unsigned char>(c + 0x10);
        case 0x9F:  // Y diaeresis
            return 0xFF;
        default:
            return c;
    }
}

// The text with every Windows-1252 letter in lower case: equal for texts that
// ansiEqualIgnoringCase takes as one (a key for hashing names).
std::string ansiFolded(std::string_view ansi);

// ansiFoldCase of every byte, for loops over long texts.
inline constexpr std::array<unsigned char, 256> kAnsiFolded = [] {
    std::array<unsigned char, 256> table{};
    for (size_t c = 0; c < table.size(); ++c) {
        table[c] = ansiFoldCase(static_cast<unsigned char>(c));
    }
    return table;
}();

// A hash of the text with its letters in lower case (FNV-1a): equal for texts that
// ansiEqualIgnoringCase takes as one.
constexpr uint64_t ansiFoldedHash(std::string_view ansi) {
    uint64_t hash = 14695981039346656037u;
    for (const char c : ansi) {
        hash = (hash ^ kAnsiFolded[static_cast<unsigned char>(c)]) * 1099511628211u;
    }
    return hash;
}

// True when two Windows-1252 texts differ at most in the case of their letters.
bool ansiEqualIgnoringCase(std::string_view a, std::string_view b);

// Orders Windows-1252 texts without regard to the case of their letters.
bool ansiLessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace platform
