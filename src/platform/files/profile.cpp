#include "platform/files/profile.h"

#include <algorithm>

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

enum class FileState { Read, Missing, Unreadable };

// A file that is not an ordinary one (a FIFO, a folder) or is larger than the settings file limit
// counts as unreadable: reads give the default and writes leave it alone.
FileState readBytes(const std::filesystem::path& path, std::string& bytes,
                    std::string* reason = nullptr) {
    std::error_code error;
    const auto outcome = readRegularFile(path, kSettingsFileLimit, bytes, error);
    if (outcome == ReadOutcome::Read) {
        return FileState::Read;
    }
    if (outcome == ReadOutcome::Missing) {
        return FileState::Missing;
    }
    if (reason) {
        *reason = describeOutcome(outcome, error, kSettingsFileLimit);
    }
    return FileState::Unreadable;
}

bool writeFailed(std::string_view file, std::string_view reason) {
    trace("ini", "write-failed file=" + quoted(file) + " error=" + quoted(reason));
    return false;
}

// The file's text after the change, or nullopt when the change leaves it as it is.
std::optional<std::string> changedText(FileState state, const std::string& bytes,
                                       const std::string& section, const std::string* key,
                                       const std::string* value) {
    if (state == FileState::Missing && (!key || !value)) {
        return std::nullopt;  // nothing to remove, and no file is made for it
    }
    ProfileText text(bytes);
    if (!key) {
        text.removeSection(section);
    } else if (!value) {
        text.removeKey(section, *key);
    } else {
        text.set(section, *key, *value);
    }
    std::string updated = text.bytes();
    if (state == FileState::Read && updated == bytes) {
        return std::nullopt;
    }
    return updated;
}

}  // namespace

ProfileSection::ProfileSection(std::string_view file, std::string_view section) {
    if (readBytes(nativePath(file), bytes_) != FileState::Read) {
        return;
    }
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

using platform::changedText;
using platform::FileState;
using platform::readBytes;
using platform::writeFailed;

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
    if (!platform::ProfileText::canStoreSection(ansiSection) ||
        (key && !platform::ProfileText::canStoreKey(ansiKey)) ||
        (key && value && !platform::ProfileText::canStoreValue(ansiValue))) {
        return writeFailed(file, "name or value cannot be stored");
    }
    const std::string* keyArgument = key ? &ansiKey : nullptr;
    const std::string* valueArgument = value ? &ansiValue : nullptr;

    // Looked at first without the lock: a write that changes nothing takes no lock and makes no
    // lock file; then again under the lock, which every writer of the file holds from its read to
    // its rename, so that writers at the same time all keep their changes.
    const auto path = platform::nativePath(file);
    std::string bytes;
    std::string reason;
    FileState state = readBytes(path, bytes, &reason);
    std::optional<std::string> updated;
    std::optional<platform::WriterLock> lock;
    while (true) {
        if (state == FileState::Unreadable) {
            return writeFailed(file, "file cannot be read: " + reason);
        }
        updated = changedText(state, bytes, ansiSection, keyArgument, valueArgument);
        if (!updated || lock) {
            break;
        }
        lock.emplace(path);
        if (!lock->held()) {
            return writeFailed(file, lock->error());
        }
        state = readBytes(path, bytes, &reason);
    }
    if (!updated) {
        return true;
    }
    if (const auto error = platform::writeFileAtomically(path, *updated)) {
        return writeFailed(file, error.message());
    }
    return true;
}

}  // namespace win
