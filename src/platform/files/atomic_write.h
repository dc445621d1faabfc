#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <string_view>

#include "platform/runtime/result.h"

namespace platform {

// How writeFileAtomically writes.
struct AtomicWrite {
    // The permissions of a new file, less the umask (an existing file keeps its own).
    mode_t newFileMode = 0666;
    // False leaves the flush to disk to a later syncToDisk: the rename still replaces the file
    // whole for every reader and a killed process loses nothing, but a power loss before the flush
    // may.
    bool flush = true;
    // Receives the status of the file as written.
    struct stat* written = nullptr;
};

// Replaces the file's content with bytes so that a crash or a failed write never leaves a partial
// file: the bytes go to a new file "<name>.tmp-<pid>-<n>" in the same folder, are flushed to disk
// and renamed over the target, and the folder is flushed. On failure the old file is untouched and
// no temporary file is left behind. Fails with the system's errno and its text.
//
// One rule for every file the program keeps: a symbolic link is followed, so the link stays and
// its target is replaced; an existing file keeps its permissions. A file the user made read-only is
// never replaced (EACCES): one without its owner's write bit counts as read-only for
// every user, root included, like a read-only attribute, and so does one this process may not
// write.
Status writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           const AtomicWrite& how = {});

// Flushes the file and its folder to disk (after writes made with flush = false); both are tried,
// and the first failure is the result.
Status syncToDisk(const std::filesystem::path& target);

// Removes the temporary files of writeFileAtomically for target whose writer process is gone (a
// write killed before its rename). Called with the target's WriterLock held: a live writer holds
// that lock while its temporary file exists, and a file whose process still runs is kept anyway.
// Every such file is tried; the first failure (listing the folder, a removal) is the result.
Status removeDeadWritersTemporaries(const std::filesystem::path& target);

}  // namespace platform
