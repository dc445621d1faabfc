#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "storage/cIni_keyArray.h"

// What InsertSKVtoListBox appends to: any list that takes text items (a list box, or a plain
// collection in tests).
template <class List>
concept ItemList = requires(List& list, std::string item) {
    list.AddItem(std::move(item));
};

// Access to one INI file, named by IniPath. Single entries are read, written and deleted through
// the profile functions (names match without regard to case); listing a section's keys, counting
// sections and testing for a section use the class's own line reader, for which a header must
// read exactly "[" & Section & "]" (case-sensitive, nothing trimmed). That reader ends a line at
// CR, CR LF and also at a lone LF, so files edited on Linux list the same.
//
// Missing files and sections are reported in message boxes; only DeleteFile traps run-time errors,
// every other member passes them to its caller. Key counts are 16-bit: listing a 32,768th key
// raises run-time error 6.
class cIni {
  public:
    cIni() { Class_Initialize(); }

    void ClearAllValues();
    void DeleteFile();
    void IniPath(std::string strPath);
    const std::string& IniPath() const { return m_IniPath; }
    // Lower-cases the caller's Key in place.
    std::string GetIniSetting(std::string_view Section, std::string& Key);
    // Writes the key upper-cased; the caller's Key is left as it was.
    void SaveIniSetting(std::string_view Section, std::string_view Key, std::string_view Setting);
    std::int16_t InsertSKVtoArray(std::string_view Section, IniKeyArray& aKeyArray);
    // Appends the section's keys in lower case; lstBox is not cleared first.
    template <ItemList List>
    std::int16_t InsertSKVtoListBox(std::string_view Section, List& lstBox) {
        return ListSectionKeys(
            Section, "~(NumKeys)",
            [&lstBox](const std::string& key, std::int16_t) { lstBox.AddItem(key); });
    }
    // Works on FileName, not on IniPath.
    std::int32_t TotalSections(std::string_view FileName);
    bool SectionExists(std::string_view Section);
    std::int16_t DeleteSection(std::string_view Section);
    std::int16_t DeleteKey(std::string_view Section, std::string_view Key);
    std::int16_t DeleteKeyValue(std::string_view Section, std::string_view Key);

  private:
    using KeyLister = std::function<void(const std::string& key, std::int16_t count)>;

    void Class_Initialize();
    static bool IsKeyLine(std::string_view line);
    static bool IsSectionLine(std::string_view line);

    // The first steps of the listings and deletions: the file and the section must exist, else
    // their message (the section's with the member's tag) and false.
    bool FileAndSectionFound(std::string_view Section, std::string_view tag);
    // The listings' common steps: each key line of the section, lower-cased, with its number.
    std::int16_t ListSectionKeys(std::string_view Section, std::string_view tag,
                                 const KeyLister& list);
    // The deletions' common steps: one profile write in an existing section; 1 when it was made,
    // 0 when the write was refused or failed.
    std::int16_t WriteInExistingSection(std::string_view Section,
                                        std::optional<std::string_view> Key,
                                        std::optional<std::string_view> Setting,
                                        std::string_view tag);

    std::string m_IniPath;
};
