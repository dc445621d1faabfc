#include "desktop/error_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/files/paths.h"
#include "platform/files/regular_file.h"
#include "platform/runtime/app_info.h"

namespace errorlog {

namespace {

std::string field(const std::string& text) {
    return "\"" + text + "\"";
}

std::string dateField(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40];
    if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) {
        std::snprintf(text, sizeof text, "#%04d-%02d-%02d#", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday);
    } else {
        std::snprintf(text, sizeof text, "#%04d-%02d-%02d %02d:%02d:%02d#", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    }
    return text;
}

}  // namespace

std::string messageText(const std::string& number, const std::string& description,
                        const std::string& module, const std::string& function) {
    std::string text = "Error occured: " + number + "\r\n";
    if (!description.empty()) {
        text += "Description: " + description + "\r\n";
    }
    if (!module.empty()) {
        text += "Module: " + module + "\r\n";
    }
    if (!function.empty()) {
        text += "Function: " + function;
    }
    return text;
}

std::string logLine(std::chrono::system_clock::time_point when, const std::string& number,
                    const std::string& description, const std::string& module,
                    const std::string& function, const std::string& userName,
                    const std::string& computerName) {
    const std::string version =
        std::string(platform::kAppTitle) + " v" + std::to_string(platform::kVersionMajor) + "." +
        std::to_string(platform::kVersionMinor) + "." + std::to_string(platform::kVersionRevision);
    return dateField(when) + "," + field(number) + "," + field(description) + "," + field(module) +
           "," + field(function) + "," + field(version) + "," + field(userName) + "," +
           field(computerName) + "\r\n";
}

bool appendToFile(const std::string& path, const std::string& bytes) {
    // Only an ordinary file: a FIFO of that name would block, a device would be written into.
    struct stat info {};
    const auto opened = platform::openRegularFile(platform::nativePath(path), info,
                                                  O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (!opened) {
        return false;
    }
    const int fd = *opened;
    // One write: concurrent appenders cannot split the line.
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    const bool closed = ::close(fd) == 0;
    return written == static_cast<ssize_t>(bytes.size()) && closed;
}

}  // namespace errorlog
