#include "platform/shell/environ.h"

#include <pwd.h>
#include <unistd.h>

#include "platform/runtime/text.h"

extern char** environ;

namespace win {

namespace {

std::string loginName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) {
        return entry->pw_name;
    }
    const char* login = ::getlogin();
    return login ? login : "";
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return "";
    }
    return name;
}

}  // namespace

std::string Environ(std::string_view name) {
    if (name.empty()) {
        return "";
    }
    const std::string wanted = platform::UCase(name);
    const char* found = nullptr;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view pair(*entry);
        const size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = pair.substr(0, equals);
        if (platform::UCase(key) != wanted) {
            continue;
        }
        if (key == name || found == nullptr) {
            found = *entry + equals + 1;
        }
        if (key == name) {
            break;
        }
    }
    if (found != nullptr) {
        return found;
    }
    if (wanted == "USERNAME") {
        return loginName();
    }
    if (wanted == "COMPUTERNAME") {
        return hostName();
    }
    return "";
}

}  // namespace win
