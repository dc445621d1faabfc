#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text of an INI file in the ANSI code page, as lines that keep their own line breaks so that
// an edit changes only the lines it touches.
//
// A line whose first non-blank character is "[" is a section header; its name runs to the first
// "]" (or the end of the line). Inside a section, a line holding "=" is an entry: its key is the
// text before the first "=", its value the text after it. Section and key names match without
// regard to case (letters of the code page), and blanks (space, tab) around names and values are
// not part of them. A value ends at a NUL byte, and one pair of matching quotation marks around
// it ("..." or '...') is not part of it either. Lines before the first header belong to no
// section. Where a section or a key appears twice, the first one is read and written.
class ProfileText {
  public:
    explicit ProfileText(std::string_view bytes);

    // Calls visit(key, value) for each entry of section in bytes as a reader sees it, in file
    // order: the key without the blanks around it, both as the parts of bytes that hold them.
    // Reads in one pass without keeping the lines; nothing when the section is missing.
    using EntryVisitor = std::function<void(std::string_view key, std::string_view value)>;
    static void forEachEntry(std::string_view bytes, std::string_view section,
                             const EntryVisitor& visit);

    // Sets the value, adding the key at the end of its section and the section at the end of the
    // text as needed. An existing entry's line is written anew with the caller's spelling of the
    // key (names match without regard to case), in its place. A value that would not read back as
    // given (blanks or a pair of quotation marks around it) is written between double quotation
    // marks.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // Remove every header and line of the section, or every entry of the key in the section.
    void removeSection(std::string_view section);
    void removeKey(std::string_view section, std::string_view key);

    std::string bytes() const;

    // True for a section name, key or value that reads back as written: no line breaks, no NUL,
    // no "]" in a section name, no "=" in a key and no key that would read as a header.
    static bool canStoreSection(std::string_view section);
    static bool canStoreKey(std::string_view key);
    static bool canStoreValue(std::string_view value);

  private:
    struct Line {
        std::string text;
        std::string lineBreak;  // "", "\r", "\n" or "\r\n"
    };

    // Index of the first header of section, or lines_.size().
    size_t findSection(std::string_view section, size_t from = 0) const;
    // One past the last line of the section whose header is at index header.
    size_t sectionEnd(size_t header) const;
    size_t findKey(size_t header, std::string_view key) const;
    // The line break new lines get: the text's first one, or CR LF.
    std::string newLineBreak() const;
    void insertLine(size_t at, std::string text);

    std::vector<Line> lines_;
};

}  // namespace platform
