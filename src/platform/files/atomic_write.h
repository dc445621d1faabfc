#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

// Replaces the file's content with bytes so that a crash or a failed write never leaves a partial
// file: the bytes go to a new file "<name>.tmp-<n>" in the same folder, are flushed to disk and
// renamed over the target, and the folder is flushed. On failure the old file is untouched and no
// temporary file is left behind.
//
// One rule for every file the program keeps: a symbolic link is followed, so the link stays and
// its target is replaced; an existing file keeps its permissions; a new file gets newFileMode less
// the umask. written, when given, receives the status of the file as written.
std::error_code writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    mode_t newFileMode = 0666, struct stat* written = nullptr);

}  // namespace platform
