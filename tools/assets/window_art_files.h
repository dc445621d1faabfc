#pragma once

#include <string>
#include <vector>

#include "assets/program_files.h"

namespace assetgen {

// The pictures stored with the options and About windows, each named after the function of
// src/windows/art/window_art.h that returns its bytes; the same bytes on every call.
std::vector<ProgramFile> windowArtFiles();

// A C++ source file that defines those functions over the files' bytes.
std::string windowArtSource(const std::vector<ProgramFile>& files);

}  // namespace assetgen
