#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace platform {

// The largest settings file (registry hive, INI file) the program reads: anything bigger is not
// one it wrote, and reading it whole could exhaust memory.
inline constexpr size_t kSettingsFileLimit = 64 * 1024 * 1024;

enum class ReadOutcome {
    Read,
    Missing,      // no such file or folder
    NotOrdinary,  // a folder, a FIFO, a device: its content is never read
    TooLarge,     // more bytes than the limit
    Failed,       // the system refused to open or read it
};

// A descriptor on path, open only when path is an ordinary file; -1 otherwise, with outcome and
// (for Missing and Failed) error set. The one guard of every settings file and log: the file is
// opened without waiting (a FIFO would wait for a writer or reader), examined through the
// descriptor and then switched back to waiting reads and writes. flags are those of open(2)
// (O_RDONLY, or O_WRONLY | O_APPEND | O_CREAT with createMode); info receives the file's status.
// The caller closes the descriptor.
int openRegularFile(const std::filesystem::path& path, struct stat& info, ReadOutcome& outcome,
                    std::error_code& error, int flags = O_RDONLY, mode_t createMode = 0);

// The whole of an ordinary file of at most limit bytes. info, when given, receives the status of
// the file that was read.
ReadOutcome readRegularFile(const std::filesystem::path& path, size_t limit, std::string& bytes,
                            std::error_code& error, struct stat* info = nullptr);

// Why a file was not read, in a few words ("not an ordinary file", the system's reason, ...).
std::string describeOutcome(ReadOutcome outcome, const std::error_code& error, size_t limit);

}  // namespace platform
