#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

// One file of the program folder: its name relative to the folder ("/" between folders) and its
// bytes.
struct ProgramFile {
    std::string name;
    std::string bytes;
};

// Every generated file of the program folder, in a fixed order; the same bytes on every call.
std::vector<ProgramFile> programFiles();

// Writes programFiles() below folder, creating folders as needed. Throws
// std::filesystem::filesystem_error or std::runtime_error when a file cannot be written.
void writeProgramFiles(const std::filesystem::path& folder);

}  // namespace assetgen
