#pragma once

#include <filesystem>
#include <optional>
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

// Why the program cannot run from its folder, or nothing. Paths in the program folder reach the
// registry (sound paths, the autostart entry), the tray icon and the multimedia commands through
// the Windows-1252 code page, so a folder the code page cannot hold would be stored with "?" and
// point nowhere.
std::optional<std::string> programFolderProblem();

// True for an existing ordinary file (not a folder).
bool FileExists(std::string_view path);

// A regular file without its owner's write bit: read-only for every user, as with a read-only
// attribute. The program deletes no such file.
bool isReadOnlyFile(const std::filesystem::file_status& status);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path (a relative one is
// ignored, as the base directory rules ask), else $HOME/.config when HOME is absolute; nothing
// otherwise.
std::optional<std::filesystem::path> configHome();

// Deletes a file: run-time error 53 when it does not exist, 75 when it cannot be deleted (a folder,
// or a file without its owner's write bit, which is read-only for every user).
void Kill(std::string_view path);

}  // namespace platform
