#pragma once

#include <filesystem>

// A program folder of the test's own, copied from the build's: the program and what ships beside
// it (settings file, icon, logo, sounds).
inline void copyProgramFolder(const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    fs::create_directories(to / "sounds");
    const fs::path built = TARNIX_PROGRAM_DIR;
    for (const char* name : {"tarnix", "PexarDeskTop.ini", "idata.x6c", "ldata.x6c"}) {
        fs::copy_file(built / name, to / name);
    }
    for (const auto& sound : fs::directory_iterator(built / "sounds")) {
        fs::copy_file(sound.path(), to / "sounds" / sound.path().filename());
    }
}
