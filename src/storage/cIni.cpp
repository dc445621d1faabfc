#include "storage/cIni.h"

#include <limits>

#include "platform/files/input_file.h"
#include "platform/files/paths.h"
#include "platform/files/profile.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/ui/msgbox.h"

namespace {

// The read buffer of GetIniSetting: values are cut to one character less.
constexpr std::uint32_t kValueBufferSize = 750;

void ShowFileNotFound(std::string_view path) {
    win::MsgBox(std::string(path) + " not found.", win::vbOKOnly | win::vbCritical,
                "File Not Found");
}

void ShowSectionNotFound(std::string_view Section, std::string_view tag) {
    win::MsgBox("Section, " + std::string(Section) + ", Not Found. " + std::string(tag) +
                    "\r\nVerify spelling and capitilization is correct.  Case-sensative.",
                win::vbOKOnly | win::vbInformation, "Section Not Found.");
}

std::string SectionHeader(std::string_view Section) {
    // A char, not "[": GCC 12 at -O3 reports "[" + std::string as an overlapping copy.
    return '[' + std::string(Section) + ']';
}

}  // namespace

void cIni::Class_Initialize() {
    m_IniPath.clear();
}

void cIni::ClearAllValues() {
    m_IniPath.clear();
}

void cIni::DeleteFile() {
    try {
        if (platform::Right(m_IniPath, 4) == ".ini") {
            platform::Kill(m_IniPath);
        } else {
            win::MsgBox("The file in the IniPath property is not an ini file or doesn't exist!",
                        win::vbOKOnly | win::vbExclamation, "Error");
        }
    } catch (const platform::RuntimeError& error) {
        if (error.number() == platform::kFileNotFound) {
            win::MsgBox("The file in the IniPath property was not found!",
                        win::vbOKOnly | win::vbExclamation, "Error");
        }
    }
}

void cIni::IniPath(std::string strPath) {
    m_IniPath = std::move(strPath);
}

std::string cIni::GetIniSetting(std::string_view Section, std::string& Key) {
    Key = platform::LCase(Key);
    // The buffer comes back holding exactly the characters copied.
    std::string buffer;
    win::GetPrivateProfileStringA(Section, Key, "", buffer, kValueBufferSize, m_IniPath);
    return buffer;
}

void cIni::SaveIniSetting(std::string_view Section, std::string_view Key,
                          std::string_view Setting) {
    win::WritePrivateProfileStringA(Section, platform::UCase(Key), Setting, m_IniPath);
}

std::int16_t cIni::InsertSKVtoArray(std::string_view Section, IniKeyArray& aKeyArray) {
    aKeyArray.ReDim(0);
    // Each value as GetIniSetting gives it, from one reading of the file for all the keys.
    std::optional<platform::ProfileSection> values;
    return ListSectionKeys(Section, "~(NumKeys)", [&](const std::string& key, std::int16_t count) {
        if (!values) {
            values.emplace(m_IniPath, Section);
            aKeyArray.reserve(values->size());
        }
        aKeyArray.ReDimPreserve(count);
        aKeyArray(1, count) = key;
        values->get(key, "", aKeyArray(2, count), kValueBufferSize);
    });
}

std::int32_t cIni::TotalSections(std::string_view FileName) {
    if (!platform::FileExists(FileName)) {
        ShowFileNotFound(FileName);
        return 0;
    }
    platform::InputFile file(FileName);
    std::int32_t count = 0;
    while (!file.Eof()) {
        if (IsSectionLine(file.LineInput())) {
            ++count;
        }
    }
    return count;
}

bool cIni::SectionExists(std::string_view Section) {
    if (!platform::FileExists(m_IniPath)) {
        ShowFileNotFound(m_IniPath);
        return false;
    }
    const std::string header = SectionHeader(Section);
    platform::InputFile file(m_IniPath);
    while (!file.Eof()) {
        if (file.LineInput() == header) {
            return true;
        }
    }
    return false;
}

std::int16_t cIni::DeleteSection(std::string_view Section) {
    return WriteInExistingSection(Section, std::nullopt, std::nullopt, "~(DeleteSection)");
}

std::int16_t cIni::DeleteKey(std::string_view Section, std::string_view Key) {
    return WriteInExistingSection(Section, Key, std::nullopt, "~(DeleteKey)");
}

std::int16_t cIni::DeleteKeyValue(std::string_view Section, std::string_view Key) {
    return WriteInExistingSection(Section, Key, "", "~(DeleteKeyValue)");
}

bool cIni::IsKeyLine(std::string_view line) {
    for (const char c : line) {
        if (c == '=') {
            return true;
        }
    }
    return false;
}

bool cIni::IsSectionLine(std::string_view line) {
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

bool cIni::FileAndSectionFound(std::string_view Section, std::string_view tag) {
    if (!platform::FileExists(m_IniPath)) {
        ShowFileNotFound(m_IniPath);
        return false;
    }
    if (!SectionExists(Section)) {
        ShowSectionNotFound(Section, tag);
        return false;
    }
    return true;
}

std::int16_t cIni::ListSectionKeys(std::string_view Section, std::string_view tag,
                                   const KeyLister& list) {
    if (!FileAndSectionFound(Section, tag)) {
        return 0;
    }
    const std::string header = SectionHeader(Section);
    platform::InputFile file(m_IniPath);
    while (!file.Eof()) {
        if (file.LineInput() == header) {
            break;
        }
    }
    std::int16_t count = 0;
    while (!file.Eof()) {
        const std::string line = file.LineInput();
        if (IsSectionLine(line)) {
            break;
        }
        if (IsKeyLine(line)) {
            if (count == std::numeric_limits<std::int16_t>::max()) {
                platform::raise(platform::kOverflow);
            }
            ++count;
            list(platform::LCase(line.substr(0, line.find('='))), count);
        }
    }
    return count;
}

std::int16_t cIni::WriteInExistingSection(std::string_view Section,
                                          std::optional<std::string_view> Key,
                                          std::optional<std::string_view> Setting,
                                          std::string_view tag) {
    if (!FileAndSectionFound(Section, tag)) {
        return 0;
    }
    return win::WritePrivateProfileStringA(Section, Key, Setting, m_IniPath) ? 1 : 0;
}
