#pragma once

#include <chrono>
#include <string>

// The error report's message text, log line and file append, kept apart so each can be tested.
namespace errorlog {

// The message box text: "Error occured: " and the number, then the lines of the parts that are
// not empty.
std::string messageText(const std::string& number, const std::string& description,
                        const std::string& module, const std::string& function);

// One log line with its CR LF: the local date and time between "#", then the number, description,
// module, function, program title and version, user name and computer name, each quoted as it
// stands.
std::string logLine(std::chrono::system_clock::time_point when, const std::string& number,
                    const std::string& description, const std::string& module,
                    const std::string& function, const std::string& userName,
                    const std::string& computerName);

// Appends bytes to the file in one write, creating it when missing; false when that fails or when
// the path names no ordinary file (a FIFO or a device is neither waited for nor written).
bool appendToFile(const std::string& path, const std::string& bytes);

}  // namespace errorlog
