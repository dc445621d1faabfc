#include "platform/registry/autostart_entry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/files/atomic_write.h"
#include "platform/files/paths.h"
#include "platform/files/regular_file.h"
#include "platform/registry/hive.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform {

namespace {

constexpr std::array<std::string_view, 5> kRunPath = {"Software", "Microsoft", "Windows",
                                                      "CurrentVersion", "Run"};

// Characters that make an Exec argument need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// An entry is a few short lines; a bigger file is not one to compare with.
constexpr size_t kEntryLimit = 64 * 1024;

// A trace line: a word, then name="value" fields.
std::string traceLine(std::string_view word,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> fields) {
    std::string line(word);
    for (const auto& [name, value] : fields) {
        line += ' ';
        line += name;
        line += '=';
        line += platform::quoted(value);
    }
    return line;
}

void report(const std::string& line, const std::string& message) {
    std::fprintf(stderr, "tarnix: %s\n", message.c_str());
    trace("autostart", line);
}

// Why text cannot stand in a line of the file, or null. C1 controls count too: U+0085 is a line
// break to some readers.
const char* textProblem(std::string_view text) {
    const auto points = utf8CodePoints(text);
    if (!points) {
        return "is not UTF-8";
    }
    for (const char32_t point : *points) {
        if (point < 0x20 || (point >= 0x7F && point <= 0x9F)) {
            return "holds a control character";
        }
    }
    return nullptr;
}

// Why a value's name cannot name an entry file, or null.
const char* nameProblem(const std::string& name) {
    if (name.empty()) {
        return "is empty";
    }
    if (name.find('/') != std::string::npos) {
        return "holds \"/\"";
    }
    return textProblem(name);
}

bool endsWithExe(const std::string& path) {
    return path.size() >= 4 && ansiEqualIgnoringCase(path.substr(path.size() - 4), ".exe");
}

// The real path of a program as the command line names it.
std::string executablePath(std::string_view program) {
    std::string path = nativePath(program).string();
    std::error_code error;
    if (endsWithExe(path) && !std::filesystem::exists(path, error)) {
        path.resize(path.size() - 4);
    }
    return path;
}

bool namesFile(std::string_view program) {
    std::error_code error;
    return std::filesystem::is_regular_file(executablePath(program), error);
}

// Splits arguments as the Windows C run time does: blanks separate, double quotes group, 2n
// backslashes before a quote are n backslashes, 2n + 1 are n and a literal quote, and "" inside
// quotes is a literal quote.
void splitArguments(std::string_view text, std::vector<std::string>& arguments) {
    std::string current;
    bool inQuotes = false;
    bool started = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            size_t end = text.find_first_not_of('\\', i);
            end = end == std::string_view::npos ? text.size() : end;
            const size_t count = end - i;
            if (end < text.size() && text[end] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current += '"';
                    i = end;
                    started = true;
                    continue;
                }
            } else {
                current.append(count, '\\');
            }
            i = end - 1;
            started = true;
        } else if (c == '"') {
            if (inQuotes && i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
            started = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (started) {
                arguments.push_back(std::move(current));
                current.clear();
                started = false;
            }
        } else {
            current += c;
            started = true;
        }
    }
    if (started) {
        arguments.push_back(std::move(current));
    }
}

// One argument as the Exec key's quoting rule has it.
std::string execArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(kReserved) == std::string::npos) {
        return argument;
    }
    std::string quotedArgument = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quotedArgument += '\\';
        }
        quotedArgument += c;
    }
    quotedArgument += '"';
    return quotedArgument;
}

// Makes the folder and its missing parents, private to the user as the base directory rules
// ask for folders the program makes there.
Status makeFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return {};
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (Status parent = makeFolders(folder.parent_path()); !parent) {
            return parent;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        const int number = errno;
        std::string context = "cannot make the folder ";
        context += folder.string();
        return systemFailure(number, context);
    }
    return {};
}

// The entry file for a value, or nothing when there is no folder for it (said once).
std::optional<std::filesystem::path> entryFile(const std::string& name) {
    static bool saidNoFolder = false;
    const Result<std::filesystem::path> folder = autostartFolder();
    if (!folder) {
        if (!std::exchange(saidNoFolder, true)) {
            std::string message = folder.failure().reason;
            message += "; the Run key's autostart entries are not kept";
            report(traceLine("no-folder", {{"reason", folder.failure().reason}}), message);
        }
        return std::nullopt;
    }
    std::string fileName = name;
    fileName += ".desktop";
    return *folder / fileName;
}

void reportFailure(const std::filesystem::path& file, const char* what, const std::string& reason) {
    std::string message = "autostart entry ";
    message += file.string();
    message += " not ";
    message += what;
    message += ": ";
    message += reason;
    report(traceLine("failed", {{"file", file.string()}, {"reason", reason}}), message);
}

}  // namespace

bool isAutostartKey(win::HKEY root, const std::vector<std::string>& names) {
    if (root != win::HKEY_CURRENT_USER || names.size() != kRunPath.size()) {
        return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (!registry::sameName(names[i], kRunPath[i])) {
            return false;
        }
    }
    return true;
}

Result<std::filesystem::path> autostartFolder() {
    if (const auto folder = envText("TARNIX_AUTOSTART_DIR")) {
        return std::filesystem::path(*folder);
    }
    if (const auto config = configHome()) {
        return *config / "autostart";
    }
    return Failure{ENOENT, "neither XDG_CONFIG_HOME nor HOME is an absolute path"};
}

Result<std::vector<std::string>> commandArguments(std::string_view commandLine) {
    const std::string_view line = trimBlanks(commandLine);
    std::string_view program;
    std::string_view rest;
    if (!line.empty() && line.front() == '"') {
        const size_t close = line.find('"', 1);
        program = line.substr(1, close == std::string_view::npos ? close : close - 1);
        rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
    } else {
        // As Windows reads an unquoted path with blanks: the first words that name a file.
        program = line;
        for (size_t blank = line.find_first_of(" \t"); blank != std::string_view::npos;
             blank = line.find_first_of(" \t", blank + 1)) {
            if (namesFile(line.substr(0, blank))) {
                program = line.substr(0, blank);
                rest = line.substr(blank);
                break;
            }
        }
    }
    if (program.empty()) {
        return Failure{EINVAL, "the command line names no program"};
    }
    std::vector<std::string> arguments{executablePath(program)};
    const std::string& path = arguments.front();
    if (path.find('/') != std::string::npos && path.front() != '/') {
        std::string reason = "the program ";
        reason += platform::quoted(path);
        reason += " is not an absolute path";
        return Failure{EINVAL, reason};
    }
    splitArguments(rest, arguments);
    return arguments;
}

Result<std::string> execValue(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty()) {
        return Failure{EINVAL, "the command line names no program"};
    }
    std::string value;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const char* problem = textProblem(argument);
        if (!problem && i == 0 && argument.find('=') != std::string::npos) {
            problem = "holds \"=\", which an Exec key cannot name a program with";
        }
        if (problem) {
            std::string reason = i == 0 ? "the program " : "the argument ";
            reason += platform::quoted(argument);
            reason += ' ';
            reason += problem;
            return Failure{EINVAL, reason};
        }
        if (i > 0) {
            value += ' ';
        }
        // The string value's own escape comes on top of the quoting: readers undo it first.
        for (const char c : execArgument(argument)) {
            if (c == '\\') {
                value += "\\\\";
            } else if (c == '%') {
                value += "%%";
            } else {
                value += c;
            }
        }
    }
    return value;
}

Result<std::string> autostartEntry(const std::vector<std::string>& arguments) {
    Result<std::string> exec = execValue(arguments);
    if (!exec) {
        return exec.failure();
    }
    std::string entry = "[Desktop Entry]\nType=Application\nName=TarnixIM\nExec=";
    entry += *exec;
    entry += "\nX-GNOME-Autostart-enabled=true\nTerminal=false\n";
    return entry;
}

void autostartValueSet(std::string_view name, uint32_t type, std::string_view data) {
    const std::string entryName = fromAnsi(name);
    const auto say = [&](const std::string& why) {
        std::string message = "no autostart entry for the Run value ";
        message += platform::quoted(entryName);
        message += ": ";
        message += why;
        report(traceLine("refused", {{"name", entryName}, {"reason", why}}), message);
    };
    if (const char* problem = nameProblem(entryName)) {
        return say(std::string("its name ") + problem);
    }
    // An entry of the value's earlier data would go on starting what the Run key no longer names.
    const auto refuse = [&](const std::string& why) {
        say(why);
        autostartValueDeleted(name);
    };
    if (type != win::REG_SZ) {
        std::string why = "its data is not text (type ";
        why += std::to_string(type);
        why += ')';
        return refuse(why);
    }
    // Text ends at its first NUL, as the system reads a command line.
    const Result<std::vector<std::string>> arguments =
        commandArguments(fromAnsi(data.substr(0, data.find('\0'))));
    if (!arguments) {
        return refuse(arguments.failure().reason);
    }
    const Result<std::string> entry = autostartEntry(*arguments);
    if (!entry) {
        return refuse(entry.failure().reason);
    }
    const std::optional<std::filesystem::path> file = entryFile(entryName);
    if (!file) {
        return;
    }
    if (Status made = makeFolders(file->parent_path()); !made) {
        return reportFailure(*file, "written", made.failure().reason);
    }
    // Storing the same command again (every load of the options window does) writes nothing.
    const Result<std::string> old = readRegularFile(*file, kEntryLimit);
    if (old && *old == *entry) {
        return;
    }
    if (Status written = writeFileAtomically(*file, *entry); !written) {
        return reportFailure(*file, "written", written.failure().reason);
    }
    trace("autostart", traceLine("written", {{"file", file->string()}}));
}

void autostartValueDeleted(std::string_view name) {
    const std::string entryName = fromAnsi(name);
    if (nameProblem(entryName)) {
        return;  // no entry was ever written for it
    }
    const std::optional<std::filesystem::path> file = entryFile(entryName);
    if (!file) {
        return;
    }
    std::error_code error;
    const auto status = std::filesystem::symlink_status(*file, error);
    if (!std::filesystem::exists(status)) {
        if (error && error != std::errc::no_such_file_or_directory &&
            error != std::errc::not_a_directory) {
            reportFailure(*file, "removed", error.message());
        }
        return;
    }
    // The rule of every file the program keeps: one without its owner's write bit stays.
    if (isReadOnlyFile(status)) {
        return reportFailure(*file, "removed", "it is read-only");
    }
    if (::unlink(file->c_str()) != 0 && errno != ENOENT) {
        return reportFailure(*file, "removed", systemFailure(errno).reason);
    }
    trace("autostart", traceLine("removed", {{"file", file->string()}}));
}

}  // namespace platform
