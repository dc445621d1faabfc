#include "platform/files/profile.h"

#include "platform/files/atomic_write.h"
#include "platform/files/paths.h"
#include "platform/files/profile_text.h"
#include "platform/files/regular_file.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/backend.h"
#include "platform/runtime/text.h"

namespace win {

namespace {

enum class FileState { Read, Missing, Unreadable };

// A file that is not an ordinary one (a FIFO, a folder) or is larger than the settings file limit
// counts as unreadable: reads give the default and writes leave it alone.
FileState readBytes(const std::filesystem::path& path, std::string& bytes,
                    std::string* reason = nullptr) {
    std::error_code error;
    const auto outcome =
        platform::readRegularFile(path, platform::kSettingsFileLimit, bytes, error);
    if (outcome == platform::ReadOutcome::Read) {
        return FileState::Read;
    }
    if (outcome == platform::ReadOutcome::Missing) {
        return FileState::Missing;
    }
    if (reason) {
        *reason = platform::describeOutcome(outcome, error, platform::kSettingsFileLimit);
    }
    return FileState::Unreadable;
}

bool writeFailed(std::string_view file, std::string_view reason) {
    platform::trace("ini", "write-failed file=" + platform::quoted(file) +
                               " error=" + platform::quoted(reason));
    return false;
}

}  // namespace

std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, std::string& buffer,
                                       std::uint32_t size, std::string_view file) {
    std::string bytes;
    std::optional<std::string> found;
    if (readBytes(platform::nativePath(file), bytes) == FileState::Read) {
        found =
            platform::ProfileText(bytes).value(platform::toAnsi(section), platform::toAnsi(key));
    }
    std::string value = found ? std::move(*found) : platform::toAnsi(defaultValue);
    if (value.size() >= size) {
        value.resize(size == 0 ? 0 : size - 1);
    }
    buffer = platform::fromAnsi(value);
    return static_cast<std::uint32_t>(value.size());
}

bool WritePrivateProfileStringA(std::string_view section, std::optional<std::string_view> key,
                                std::optional<std::string_view> value, std::string_view file) {
    const std::string ansiSection = platform::toAnsi(section);
    const std::string ansiKey = key ? platform::toAnsi(*key) : std::string();
    const std::string ansiValue = value ? platform::toAnsi(*value) : std::string();
    using platform::ProfileText;
    if (!ProfileText::canStoreSection(ansiSection) || (key && !ProfileText::canStoreKey(ansiKey)) ||
        (key && value && !ProfileText::canStoreValue(ansiValue))) {
        return writeFailed(file, "name or value cannot be stored");
    }

    const auto path = platform::nativePath(file);
    std::string bytes;
    std::string reason;
    const FileState state = readBytes(path, bytes, &reason);
    if (state == FileState::Unreadable) {
        return writeFailed(file, "file cannot be read: " + reason);
    }
    const bool removing = !key || !value;
    if (state == FileState::Missing && removing) {
        return true;
    }

    ProfileText text(bytes);
    if (!key) {
        text.removeSection(ansiSection);
    } else if (!value) {
        text.removeKey(ansiSection, ansiKey);
    } else {
        text.set(ansiSection, ansiKey, ansiValue);
    }
    std::string updated = text.bytes();
    if (state == FileState::Read && updated == bytes) {
        return true;
    }
    if (const auto error = platform::writeFileAtomically(path, updated)) {
        return writeFailed(file, error.message());
    }
    return true;
}

}  // namespace win
