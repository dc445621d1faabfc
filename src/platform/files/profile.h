#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The profile (INI file) functions. The file is in the ANSI code page (Windows-1252); names and
// values are UTF-8 here and converted at this boundary. Section and key names match without regard
// to case, and blanks around names and values are ignored (see ProfileText for the file's form).
namespace win {

// Copies the value of key in section of file into buffer, or defaultValue when the file, the
// section or the key is missing (or the file cannot be read: a FIFO, a device or a file larger
// than platform::kSettingsFileLimit is never read). One pair of matching quotation marks around
// the value ("..." or '...') is removed. At most size - 1 characters of the code page are copied.
// buffer receives exactly the characters copied, as UTF-8; the result is their number.
std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, std::string& buffer,
                                       std::uint32_t size, std::string_view file);

// Sets key in section of file to value, creating the file, the section and the key as needed.
// A null key (std::nullopt) removes the whole section; a null value removes the key; a missing
// file is then left missing. Every other line and the file's order stay as they were. A write that
// changes the file reads it again under the writers' lock ("<file>.lock", platform::WriterLock),
// so writers at the same time all keep their changes, and replaces it atomically
// (platform::writeFileAtomically: a link is followed, an existing file keeps its permissions, a
// read-only file is never replaced). Returns false, leaving the file as it was, when the file
// cannot be read or written, or when a name or value could not be read back as written (line
// breaks, NUL, "]" in a section name, "=" in a key, a key starting with "["). A failed write is
// traced as "ini write-failed file=<path> error=<reason>".
bool WritePrivateProfileStringA(std::string_view section, std::optional<std::string_view> key,
                                std::optional<std::string_view> value, std::string_view file);

}  // namespace win

namespace platform {

// One section of a profile file read once, for many lookups: each gives what
// GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file) gives, and
// GetPrivateProfileStringA is one such lookup. Lookups of the keys in file order are the cheapest.
class ProfileSection {
  public:
    ProfileSection(std::string_view file, std::string_view section);
    ProfileSection(const ProfileSection&) = delete;
    ProfileSection& operator=(const ProfileSection&) = delete;

    std::uint32_t get(std::string_view key, std::string_view defaultValue, std::string& buffer,
                      std::uint32_t size) const;
    // How many entries the section holds (a key written twice counts twice).
    size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::string_view key;  // in the code page, without the blanks around it
        std::string_view value;
        size_t first = 0;  // the entry of that key that is read: its first one
    };

    // The entry read for a key in the code page, or null.
    const Entry* find(std::string_view key) const;

    std::string bytes_;
    std::vector<Entry> entries_;  // in file order; keys and values are parts of bytes_
    // A hash table of the first entry of each key: slot = entry index + 1, 0 when free; its size is
    // a power of two, at least twice the entries.
    std::vector<std::uint32_t> slots_;
    mutable size_t next_ = 0;  // the entry after the last one found: lookups in file order hit it
};

}  // namespace platform
