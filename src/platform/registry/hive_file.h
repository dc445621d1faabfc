#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/runtime/result.h"

// The file operations behind a hive: change detection, whole-file reads and keeping an unreadable
// file aside (writers lock it with platform::WriterLock).
namespace platform::registry {

// What tells one version of a file from another: a write replaces the file (new inode) and sets
// its size and modification time.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The file's identity now; exists is false when it cannot be examined (no file, no folder).
FileIdentity identityOf(const std::filesystem::path& file);
// The identity a file status describes.
FileIdentity identityOf(const struct stat& info);

// A file's bytes and the identity of exactly what was read.
struct FileContent {
    std::string bytes;
    FileIdentity identity;
};

// The whole file, or why it was not read ("cannot read <file>: <why>"). Only an ordinary file of
// at most platform::kSettingsFileLimit bytes is read: a FIFO, a device or a folder is refused
// without waiting for it, and so is a larger file.
Result<FileContent> readWhole(const std::filesystem::path& file);

// Hive files are written with platform::writeFileAtomically; a new one is private to its user.
inline constexpr mode_t kHiveFileMode = 0600;

// Renames file to "<file>.unreadable-<date and time>[-n]", never replacing an existing file.
// Returns the new path.
Result<std::filesystem::path> moveAside(const std::filesystem::path& file);

}  // namespace platform::registry
