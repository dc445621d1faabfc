// cIni on any file and any names: a value saved under a section and key that can be stored reads
// back the same (cut to 749 characters), and one that cannot leaves the file alone; after DeleteKey
// the key is no entry any more, after DeleteKeyValue it reads empty, after DeleteSection its header
// is gone; the keys listed, the sections counted and the sections found are those of a reference
// reader built on the class's documented rules; missing files and sections are reported in exactly
// one message box, nothing else is.
//
// Input: one byte ('n': no file at the start), the file's bytes, then operations: a letter and
// its arguments, each argument ended by a backslash and another character ("\\" is a backslash).
// s section key value: save; g section key: read; l section: list; e section: exists;
// t name: count the sections ("missing": of a missing file); k section key: DeleteKey;
// v section key: DeleteKeyValue; d section: DeleteSection. An argument of one byte below 0x10
// names the file's n-th section (or key) instead.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/profile_text.h"
#include "platform/headless/headless_backend.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "scratch_folder.h"
#include "storage/cIni.h"

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

std::string upperAscii(std::string text) {
    for (char& c : text) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

constexpr size_t kMaxOperations = 12;
// What GetIniSetting gives of a longer value: 749 characters of the code page.
constexpr size_t kValueCharacters = 749;
constexpr const char* kFileNotFound = "File Not Found";
constexpr const char* kSectionNotFound = "Section Not Found.";

// The file as the class's own line reader sees it, in the code page: lines end at CR, CR LF or a
// lone LF; a last line without a break counts; a header reads exactly "[" Section "]".
struct Reference {
    bool exists = false;
    std::string bytes;
    std::vector<std::string> lines;

    static Reference of(const std::filesystem::path& path) {
        Reference file;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return file;
        }
        file.exists = true;
        file.bytes.assign(std::istreambuf_iterator<char>(in), {});
        const std::string& bytes = file.bytes;
        size_t start = 0;
        for (size_t at = 0; at < bytes.size(); ++at) {
            if (bytes[at] == '\r' || bytes[at] == '\n') {
                file.lines.push_back(bytes.substr(start, at - start));
                if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
                    ++at;
                }
                start = at + 1;
            }
        }
        if (start < bytes.size()) {
            file.lines.push_back(bytes.substr(start));
        }
        return file;
    }

    static bool bracketed(const std::string& line) {
        return !line.empty() && line.front() == '[' && line.back() == ']';
    }

    bool hasHeader(const std::string& section) const {
        return std::find(lines.begin(), lines.end(), '[' + section + ']') != lines.end();
    }

    int sections() const {
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), bracketed));
    }

    // The text before "=" of each line holding one, after the first exact header up to the next
    // bracketed line, with ASCII letters lower-cased; nothing when there is no such header.
    std::optional<std::vector<std::string>> keys(const std::string& section) const {
        auto line = std::find(lines.begin(), lines.end(), '[' + section + ']');
        if (line == lines.end()) {
            return std::nullopt;
        }
        std::vector<std::string> found;
        for (++line; line != lines.end() && !bracketed(*line); ++line) {
            const size_t equals = line->find('=');
            if (equals != std::string::npos) {
                found.push_back(lowerAscii(line->substr(0, equals)));
            }
        }
        return found;
    }
};

// Titles of the message boxes shown since the last clear.
class BoxSink final : public platform::TraceSink {
  public:
    void write(std::string_view line) override {
        const std::string_view rest = line.substr(line.find(' ') + 1);
        if (!rest.starts_with("msgbox ")) {
            return;
        }
        const size_t title = rest.find(" title=\"");
        const size_t end = title == std::string_view::npos ? title : rest.find('"', title + 8);
        titles.emplace_back(
            end == std::string_view::npos ? rest : rest.substr(title + 8, end - title - 8));
    }
    std::vector<std::string> titles;
};

// Stands in for a list box.
struct ItemCollector {
    std::vector<std::string> items;
    void AddItem(std::string item) { items.push_back(std::move(item)); }
};

// A name in the code page and as the program passes it (UTF-8).
struct Name {
    std::string ansi;
    std::string text;
};

BoxSink* boxes = nullptr;
std::filesystem::path iniFile;
std::filesystem::path missingFile;

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) {
        text += platform::quoted(item) + " ";
    }
    return text;
}

[[noreturn]] void fail(const std::string& what) {
    const Reference file = Reference::of(iniFile);
    std::fprintf(stderr, "cIni: %s\nfile now: %s\n", what.c_str(),
                 file.exists ? platform::quoted(platform::fromAnsi(file.bytes)).c_str() : "(none)");
    std::abort();
}

void expectBoxes(const std::vector<std::string>& want, const std::string& call) {
    if (boxes->titles != want) {
        fail(call + ": message boxes " + joined(boxes->titles) + "expected " + joined(want));
    }
    boxes->titles.clear();
}

bool blank(std::string_view name) {
    return name.find_first_not_of(" \t") == std::string_view::npos;
}

// The boxes a member that needs the file and the section shows; empty when it goes ahead.
std::vector<std::string> boxesForSection(const Reference& file, const Name& section) {
    if (!file.exists) {
        return {kFileNotFound};
    }
    if (!file.hasHeader(section.ansi)) {
        return {kSectionNotFound};
    }
    return {};
}

// The value of the key's entry as a profile reader sees the file now (the first section of that
// name, its first entry of that key); nothing when there is no such entry.
std::optional<std::string> entryOf(const Name& section, const Name& key) {
    std::optional<std::string> found;
    platform::ProfileText::forEachEntry(
        Reference::of(iniFile).bytes, section.ansi,
        [&](std::string_view name, std::string_view value) {
            if (!found && platform::ansiEqualIgnoringCase(name, platform::trimBlanks(key.ansi))) {
                found = std::string(value);
            }
        });
    return found;
}

std::string read(cIni& ini, const Name& section, const std::string& key) {
    std::string asked = key;
    return ini.GetIniSetting(section.text, asked);
}

void checkSave(cIni& ini, const Name& section, const Name& key, const Name& value) {
    const Reference before = Reference::of(iniFile);
    ini.SaveIniSetting(section.text, key.text, value.text);
    expectBoxes({}, "SaveIniSetting");
    const bool storable = platform::ProfileText::canStoreSection(section.ansi) &&
                          platform::ProfileText::canStoreKey(upperAscii(key.ansi)) &&
                          platform::ProfileText::canStoreValue(value.ansi);
    if (!storable) {
        const Reference after = Reference::of(iniFile);
        if (after.exists != before.exists || after.bytes != before.bytes) {
            fail("a value that cannot be stored changed the file");
        }
        return;
    }
    if (blank(section.ansi) || blank(key.ansi)) {
        return;
    }
    const std::string want = platform::fromAnsi(value.ansi.substr(0, kValueCharacters));
    const std::string got = read(ini, section, key.text);
    if (got != want) {
        fail("[" + section.text + "] " + key.text + " saved " + platform::quoted(want) + " reads " +
             platform::quoted(got));
    }
}

void checkGet(cIni& ini, const Name& section, const Name& key) {
    std::string asked = key.text;
    ini.GetIniSetting(section.text, asked);
    expectBoxes({}, "GetIniSetting");
    if (asked != platform::fromAnsi(lowerAscii(key.ansi))) {
        fail("GetIniSetting left the key " + platform::quoted(asked));
    }
}

void checkListing(cIni& ini, const Name& section) {
    const Reference file = Reference::of(iniFile);
    const std::vector<std::string> want = boxesForSection(file, section);
    std::vector<std::string> keys;
    if (want.empty()) {
        const auto listed = file.keys(section.ansi);
        for (const auto& key : *listed) {
            keys.push_back(platform::fromAnsi(key));
        }
    }
    ItemCollector list;
    list.AddItem("kept");
    const int count = ini.InsertSKVtoListBox(section.text, list);
    expectBoxes(want, "InsertSKVtoListBox");
    std::vector<std::string> listed(list.items.begin() + 1, list.items.end());
    if (list.items.front() != "kept" || listed != keys || count != static_cast<int>(keys.size())) {
        fail("[" + section.text + "] lists " + joined(list.items) + "count " +
             std::to_string(count) + ", reference " + joined(keys));
    }
    IniKeyArray array;
    const int rows = ini.InsertSKVtoArray(section.text, array);
    expectBoxes(want, "InsertSKVtoArray");
    if (rows != count || array.UBound2() != count) {
        fail("InsertSKVtoArray gives " + std::to_string(rows) + " rows, bound " +
             std::to_string(array.UBound2()) + ", the list " + std::to_string(count));
    }
    for (int k = 1; k <= count; ++k) {
        const std::string& key = keys[static_cast<size_t>(k - 1)];
        if (array(1, k) != key || !array(0, k).empty() || array(2, k) != read(ini, section, key)) {
            fail("InsertSKVtoArray row " + std::to_string(k) + ": " +
                 platform::quoted(array(1, k)) + " = " + platform::quoted(array(2, k)));
        }
    }
}

void checkSectionExists(cIni& ini, const Name& section) {
    const Reference file = Reference::of(iniFile);
    const bool found = ini.SectionExists(section.text);
    expectBoxes(file.exists ? std::vector<std::string>{} : std::vector<std::string>{kFileNotFound},
                "SectionExists");
    if (found != (file.exists && file.hasHeader(section.ansi))) {
        fail("SectionExists [" + section.text + "] says " + (found ? "yes" : "no"));
    }
}

void checkTotalSections(cIni& ini, bool missing) {
    const std::filesystem::path& path = missing ? missingFile : iniFile;
    const Reference file = Reference::of(path);
    const int count = ini.TotalSections(path.string());
    expectBoxes(file.exists ? std::vector<std::string>{} : std::vector<std::string>{kFileNotFound},
                "TotalSections");
    if (count != (file.exists ? file.sections() : 0)) {
        fail("TotalSections counts " + std::to_string(count) + ", reference " +
             std::to_string(file.sections()));
    }
}

enum class Deletion { Key, KeyValue, Section };

void checkDeletion(cIni& ini, Deletion what, const Name& section, const Name& key) {
    const Reference before = Reference::of(iniFile);
    const std::vector<std::string> want = boxesForSection(before, section);
    const int16_t done = what == Deletion::Key        ? ini.DeleteKey(section.text, key.text)
                         : what == Deletion::KeyValue ? ini.DeleteKeyValue(section.text, key.text)
                                                      : ini.DeleteSection(section.text);
    expectBoxes(want, "deletion");
    const bool storable =
        platform::ProfileText::canStoreSection(section.ansi) &&
        (what == Deletion::Section || platform::ProfileText::canStoreKey(key.ansi));
    if (done != (want.empty() && storable ? 1 : 0)) {
        fail("deletion in [" + section.text + "] of " + platform::quoted(key.text) + " gives " +
             std::to_string(done));
    }
    if (done != 1) {
        return;
    }
    if (what != Deletion::Section) {
        if (const std::string left = read(ini, section, key.text); !left.empty()) {
            fail("[" + section.text + "] " + platform::quoted(key.text) + " still reads " +
                 platform::quoted(left));
        }
        // DeleteKey takes the entry away; DeleteKeyValue keeps it, empty.
        const std::optional<std::string> entry = entryOf(section, key);
        if (entry != (what == Deletion::Key ? std::nullopt : std::optional<std::string>(""))) {
            fail("[" + section.text + "] " + platform::quoted(key.text) + " is " +
                 (entry ? "still an entry" : "no entry any more"));
        }
        return;
    }
    if (Reference::of(iniFile).hasHeader(section.ansi)) {
        fail("[" + section.text + "] still there after DeleteSection");
    }
    const auto keys = before.keys(section.ansi);
    for (const auto& listed : *keys) {
        if (const std::string left = read(ini, section, platform::fromAnsi(listed));
            !left.empty()) {
            fail("[" + section.text + "] " + platform::quoted(listed) + " still reads " +
                 platform::quoted(left) + " after DeleteSection");
        }
    }
}

// An argument: its bytes in the code page, or one byte below 0x10 naming the n-th section
// header (or key line) of the file as it is now.
Name nameOf(const std::string& argument, bool ofSection) {
    std::string ansi = argument;
    if (argument.size() == 1 && static_cast<unsigned char>(argument[0]) < 0x10) {
        std::vector<std::string> names;
        for (const auto& line : Reference::of(iniFile).lines) {
            if (ofSection && Reference::bracketed(line)) {
                names.push_back(line.substr(1, line.size() - 2));
            } else if (!ofSection && line.find('=') != std::string::npos) {
                names.push_back(line.substr(0, line.find('=')));
            }
        }
        if (!names.empty()) {
            ansi = names[static_cast<unsigned char>(argument[0]) % names.size()];
        }
    }
    return {ansi, platform::fromAnsi(ansi)};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    iniFile = fuzzsupport::scratchFolder() / "fuzz.ini";
    missingFile = fuzzsupport::scratchFolder() / "missing.ini";
    platform::installClock(std::make_unique<platform::VirtualClock>());
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    auto sink = std::make_unique<BoxSink>();
    boxes = sink.get();
    platform::installTraceSink(std::move(sink));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool noFile = input.ConsumeBytesAsString(1) == "n";
    const std::string bytes = input.ConsumeRandomLengthString(4096);
    std::error_code ignored;
    std::filesystem::remove(iniFile, ignored);
    if (!noFile) {
        std::ofstream(iniFile, std::ios::binary) << bytes;
    }
    boxes->titles.clear();
    cIni ini;
    ini.IniPath(iniFile.string());
    for (size_t done = 0; done < kMaxOperations && input.remaining_bytes() > 0; ++done) {
        // Any other byte stands for one of the operations too.
        constexpr std::string_view kOperations = "sgletkvd";
        char operation = input.ConsumeBytesAsString(1)[0];
        if (kOperations.find(operation) == std::string_view::npos) {
            operation = kOperations[static_cast<unsigned char>(operation) % kOperations.size()];
        }
        const Name section = nameOf(input.ConsumeRandomLengthString(64), true);
        try {
            switch (operation) {
                case 's': {
                    const Name key = nameOf(input.ConsumeRandomLengthString(64), false);
                    const std::string value = input.ConsumeRandomLengthString(1024);
                    checkSave(ini, section, key, {value, platform::fromAnsi(value)});
                    break;
                }
                case 'g':
                    checkGet(ini, section, nameOf(input.ConsumeRandomLengthString(64), false));
                    break;
                case 'l':
                    checkListing(ini, section);
                    break;
                case 'e':
                    checkSectionExists(ini, section);
                    break;
                case 't':
                    checkTotalSections(ini, section.ansi == "missing");
                    break;
                case 'k':
                case 'v':
                    checkDeletion(ini, operation == 'k' ? Deletion::Key : Deletion::KeyValue,
                                  section, nameOf(input.ConsumeRandomLengthString(64), false));
                    break;
                case 'd':
                    checkDeletion(ini, Deletion::Section, section, {});
                    break;
            }
        } catch (const platform::RuntimeError& error) {
            fail(std::string("run-time error ") + std::to_string(error.number()) + " from '" +
                 operation + "'");
        }
    }
    return 0;
}
