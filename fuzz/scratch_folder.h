#pragma once

// A folder of the fuzzing process's own for every file a target writes: made on first use, reused
// by every input, removed when the process ends normally (a crash leaves it for a look). It lies in
// memory (/dev/shm) where there is one: the settings stores flush their writes to disk, and a disk
// would slow each input down to a few a second.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

inline const std::filesystem::path& scratchFolder() {
    // Never destroyed: the removal at exit still needs the name.
    static const std::filesystem::path* folder = [] {
        std::filesystem::path base = "/dev/shm";
        if (::access(base.c_str(), W_OK | X_OK) != 0) {
            base = std::filesystem::temp_directory_path();
        }
        std::string pattern = (base / "tarnix-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("tarnix fuzz: mkdtemp");
            std::abort();
        }
        auto* made = new std::filesystem::path(pattern);
        // Registered before the program's own objects exist, so it runs after they are gone.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return made;
    }();
    return *folder;
}

}  // namespace fuzzsupport
