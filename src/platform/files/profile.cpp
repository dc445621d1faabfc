#include "platform/files/profile.h"

#include <algorithm>
#include <cerrno>

#include "platform/files/atomic_write.h"
#include "platform/files/paths.h"
#include "platform/files/profile_text.h"
#include "platform/files/regular_file.h"
#include "platform/files/writer_lock.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform {

namespace {

// The file's bytes, nothing when it is missing, or why it cannot be read. A file that is not an
// ordinary one (a FIFO, a folder) or is larger than the settings file limit cannot be read: reads
// give the default and writes leave it alone.
Result<std::optional<std::string>> readBytes(const std::filesystem::path& path) {
    Result<std::string> read = readRegularFile(path, kSettingsFileLimit);
    if (read) {
        return std::optional<std::string>(std::move(read).value());
    }
    if (isMissing(read.failure())) {
        return std::optional<std::string>();
    }
    return read.failure();
}

// The file's text after the change, or nullopt when the change leaves it as it is.
std::optional<std::string> changedText(const std::optional<std::string>& current,
                                       const std::string& section, const std::string* key,
                                       const std::string* value) {
    if (!current && (!key || !value)) {
        return std::nullopt;  // nothing to remove, and no file is made for it
    }
    ProfileText text(current ? std::string_view(*current) : std::string_view());
    if (!key) {
        text.removeSection(section);
    } else if (!value) {
        text.removeKey(section, *key);
    } else {
        text.set(section, *key, *value);
    }
    std::string updated = text.bytes();
    if (current && updated == *current) {
        return std::nullopt;
    }
    return updated;
}

// Makes the change of WritePrivateProfileStringA to a file in the code page (a null key removes
// the section, a null value the key), or says why the file was left as it was.
Status writeProfile(std::string_view file, const std::string& section, const std::string* key,
                    const std::string* value) {
    if (!ProfileText::canStoreSection(section) || (key && !ProfileText::canStoreKey(*key)) ||
        (key && value && !ProfileText::canStoreValue(*value))) {
        return Failure{EINVAL, "name or value cannot be stored"};
    }
    // Looked at first without the lock: a write that changes nothing takes no lock and makes no
    // lock file; then again under the lock, which every writer of the file holds from its read to
    // its rename, so that writers at the same time all keep their changes.
    const auto path = nativePath(file);
    Result<std::optional<std::string>> current = readBytes(path);
    std::optional<std::string> updated;
    std::optional<WriterLock> lock;
    while (true) {
        if (!current) {
            return Failure{current.failure().code,
                           "file cannot be read: " + current.failure().reason};
        }
        updated = changedText(*current, section, key, value);
        if (!updated || lock) {
            break;
        }
        Result<WriterLock> acquired = WriterLock::acquire(path);
        if (!acquired) {
            return acquired.failure();
        }
        lock.emplace(std::move(acquired).value());
        current = readBytes(path);
    }
    if (!updated) {
        return {};
    }
    return writeFileAtomically(path, *updated);
}

}  // namespace

ProfileSection::ProfileSection(std::string_view file, std::string_view section) {
    Result<std::optional<std::string>> read = readBytes(nativePath(file));
    // A file that is missing or cannot be read holds no entries: every lookup gives its default.
    if (!read || !*read) {
        return;
    }
    bytes_ = std::move(**read);
    // At most one entry a line: no regrowth while reading a large section.
    entries_.reserve(static_cast<size_t>(std::count(bytes_.begin(), bytes_.end(), '\n')) + 1);
    ProfileText::forEachEntry(bytes_, toAnsi(section),
                              [this](std::string_view key, std::string_view value) {
                                  entries_.push_back({key, value, entries_.size()});
                              });
    size_t size = 16;
    while (size < 2 * entries_.size()) {
        size *= 2;
    }
    slots_.assign(size, 0);
    for (Entry& entry : entries_) {
        size_t slot = ansiFoldedHash(entry.key) & (size - 1);
        while (slots_[slot] != 0 &&
               !ansiEqualIgnoringCase(entries_[slots_[slot] - 1].key, entry.key)) {
            slot = (slot + 1) & (size - 1);
        }
        if (slots_[slot] == 0) {
            slots_[slot] = static_cast<std::uint32_t>(entry.first + 1);
        } else {
            entry.first = slots_[slot] - 1;  // a later entry of a key already there
        }
    }
}

const ProfileSection::Entry* ProfileSection::find(std::string_view key) const {
    size_t found = entries_.size();
    if (next_ < entries_.size() && ansiEqualIgnoringCase(entries_[next_].key, key)) {
        found = next_;
    } else if (!slots_.empty()) {
        const size_t mask = slots_.size() - 1;
        for (size_t slot = ansiFoldedHash(key) & mask; slots_[slot] != 0;
             slot = (slot + 1) & mask) {
            if (ansiEqualIgnoringCase(entries_[slots_[slot] - 1].key, key)) {
                found = slots_[slot] - 1;
                break;
            }
        }
    }
    if (found == entries_.size()) {
        return nullptr;
    }
    next_ = found + 1;
    return &entries_[entries_[found].first];
}

std::uint32_t ProfileSection::get(std::string_view key, std::string_view defaultValue,
                                  std::string& buffer, std::uint32_t size) const {
    key = trimBlanks(key);  // blanks are the same in both encodings
    const bool ascii = std::all_of(key.begin(), key.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const std::string converted = ascii ? std::string() : toAnsi(key);
    const Entry* entry = find(ascii ? key : std::string_view(converted));
    const std::string fallback = entry ? std::string() : toAnsi(defaultValue);
    const std::string_view value =
        (entry ? entry->value : std::string_view(fallback)).substr(0, size == 0 ? 0 : size - 1);
    buffer = fromAnsi(value);
    return static_cast<std::uint32_t>(value.size());
}

}  // namespace platform

namespace win {

std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, std::string& buffer,
                                       std::uint32_t size, std::string_view file) {
    return platform::ProfileSection(file, section).get(key, defaultValue, buffer, size);
}

bool WritePrivateProfileStringA(std::string_view section, std::optional<std::string_view> key,
                                std::optional<std::string_view> value, std::string_view file) {
    const std::string ansiSection = platform::toAnsi(section);
    const std::string ansiKey = key ? platform::toAnsi(*key) : std::string();
    const std::string ansiValue = value ? platform::toAnsi(*value) : std::string();
    const platform::Status written = platform::writeProfile(
        file, ansiSection, key ? &ansiKey : nullptr, value ? &ansiValue : nullptr);
    if (!written) {
        platform::trace("ini", "write-failed file=" + platform::quoted(file) +
                                   " error=" + platform::quoted(written.failure().reason));
        return false;
    }
    return true;
}

}  // namespace win
