#include "platform/files/paths.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "platform/runtime/ansi.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/errors.h"

namespace platform {

namespace {
std::string& folderOverride() {
    static std::string folder;
    return folder;
}

std::filesystem::path executablePath() {
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : exe;
}

std::string executableFolder() {
    const auto exe = executablePath();
    if (exe.empty()) {
        std::error_code error;
        return std::filesystem::current_path(error).string();
    }
    return exe.parent_path().string();
}
}  // namespace

std::filesystem::path nativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return std::filesystem::path(native);
}

std::string programFolder() {
    if (folderOverride().empty()) {
        folderOverride() = executableFolder();
    }
    return folderOverride();
}

void setProgramFolder(std::string folder) {
    folderOverride() = std::move(folder);
}

std::string EXEName() {
    return executablePath().stem().string();
}

std::optional<std::string> programFolderProblem() {
    const std::string folder = programFolder();
    if (fromAnsi(toAnsi(folder)) == folder) {
        return std::nullopt;
    }
    return "the program folder " + folder +
           " holds characters that Windows-1252 cannot hold, so the paths the program stores "
           "would point nowhere; move the program to a folder whose path Windows-1252 can hold";
}

bool FileExists(std::string_view path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(nativePath(path), error);
}

bool isReadOnlyFile(const std::filesystem::file_status& status) {
    return std::filesystem::is_regular_file(status) &&
           (status.permissions() & std::filesystem::perms::owner_write) ==
               std::filesystem::perms::none;
}

std::optional<std::filesystem::path> configHome() {
    if (const auto config = envText("XDG_CONFIG_HOME");
        config && std::filesystem::path(*config).is_absolute()) {
        return std::filesystem::path(*config);
    }
    if (const auto home = envText("HOME"); home && std::filesystem::path(*home).is_absolute()) {
        return std::filesystem::path(*home) / ".config";
    }
    return std::nullopt;
}

void Kill(std::string_view path) {
    const auto native = nativePath(path);
    std::error_code error;
    const auto status = std::filesystem::symlink_status(native, error);
    if (path.empty() || !std::filesystem::exists(status)) {
        raise(kFileNotFound);
    }
    if (isReadOnlyFile(status) || std::filesystem::is_directory(native, error) ||
        ::unlink(native.c_str()) != 0) {
        raise(kPathFileAccess);
    }
}

}  // namespace platform
