#pragma once

#include <string>
#include <string_view>

// Text helpers with the platform's semantics: positions are 1-based, 0 means "not found", and every
// comparison is case-sensitive (binary).
namespace platform {

// Position of needle in text at or after start (1-based); 0 when absent. An empty needle is found
// at start when start lies within the text (or just past it).
size_t InStr(size_t start, std::string_view text, std::string_view needle);
inline size_t InStr(std::string_view text, std::string_view needle) {
    return InStr(1, text, needle);
}

// Every occurrence of find replaced by with, scanning left to right without overlap.
std::string Replace(std::string_view text, std::string_view find, std::string_view with);

// ASCII letters change case; every other byte is kept.
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

std::string Left(std::string_view text, size_t count);
std::string Right(std::string_view text, size_t count);
// Characters from start (1-based); count npos means "to the end".
std::string Mid(std::string_view text, size_t start, size_t count = std::string_view::npos);

// Only the space character (U+0020) is trimmed.
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);

// The text without the blanks (spaces and tabs) at either end: the file formats' notion of blank.
std::string_view trimBlanks(std::string_view text);

// True when text ends with suffix (case-sensitive).
bool endsWith(std::string_view text, std::string_view suffix);

// A text as a double-quoted, escaped token for trace lines: \\, \", \r, \n, \t and other control
// bytes as \xNN.
std::string quoted(std::string_view text);

}  // namespace platform
