#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// A path as the system writes it ("\" or "/" between folders) as a native path.
std::filesystem::path nativePath(std::string_view path);

// The folder of the running executable, without a trailing separator. Tests may point it
// elsewhere with setProgramFolder.
std::string programFolder();
void setProgramFolder(std::string folder);

// The running executable's file name without its extension.
std::string EXEName();

// True for an existing ordinary file (not a folder).
bool FileExists(std::string_view path);

// Deletes a file: run-time error 53 when it does not exist, 75 when it cannot be deleted.
void Kill(std::string_view path);

}  // namespace platform
