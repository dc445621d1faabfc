#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/runtime/result.h"

namespace platform {

// The largest settings file (registry hive, INI file) the program reads: anything bigger is not
// one it wrote, and reading it whole could exhaust memory.
inline constexpr size_t kSettingsFileLimit = 64 * 1024 * 1024;

// Failure codes of a file that is there but is not read; no call made on the way gives them.
inline constexpr int kNotOrdinaryFile = EOPNOTSUPP;  // a folder, a FIFO, a device
inline constexpr int kFileTooLarge = EFBIG;          // more bytes than the limit

// A descriptor on path, open only when path is an ordinary file; the caller closes it. The one
// guard of every settings file and log: the file is opened without waiting (a FIFO would wait for
// a writer or reader), examined through the descriptor and then switched back to waiting reads and
// writes. flags are those of open(2) (O_RDONLY, or O_WRONLY | O_APPEND | O_CREAT with createMode);
// info receives the file's status. Fails with the system's errno (ENOENT or ENOTDIR when the file
// or a folder on its path is missing, see isMissing) or kNotOrdinaryFile; the reason is the
// system's text or "not an ordinary file".
Result<int> openRegularFile(const std::filesystem::path& path, struct stat& info,
                            int flags = O_RDONLY, mode_t createMode = 0);

// The whole of an ordinary file of at most limit bytes, failing as openRegularFile does, with
// kFileTooLarge ("larger than <limit> bytes"), or with the errno of a failed read. info, when
// given, receives the status of the file that was read.
Result<std::string> readRegularFile(const std::filesystem::path& path, size_t limit,
                                    struct stat* info = nullptr);

// True for the failure of a file or folder that does not exist.
inline bool isMissing(const Failure& failure) {
    return failure.code == ENOENT || failure.code == ENOTDIR;
}

}  // namespace platform
