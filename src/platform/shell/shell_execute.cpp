#include "platform/shell/shell_execute.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/runtime/backend.h"

namespace win {

namespace {

constexpr int32_t kHandedOver = 42;

// The address to open, or nothing when lpFile is no web address or bare host name.
std::optional<std::string> webAddress(std::string_view file) {
    const bool unsafe = std::any_of(file.begin(), file.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' ||
               c == '`' || c == '\\';
    });
    if (file.empty() || unsafe) {
        return std::nullopt;
    }
    if (file.rfind("http://", 0) == 0 || file.rfind("https://", 0) == 0) {
        return std::string(file);
    }
    // A bare host name: letters, digits, dots and hyphens, with at least one dot, no scheme.
    const bool host =
        file.find('.') != std::string_view::npos &&
        std::all_of(file.begin(), file.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
        });
    if (host) {
        return "http://" + std::string(file);
    }
    return std::nullopt;
}

}  // namespace

int32_t ShellExecuteA(int32_t /*hwnd*/, std::optional<std::string_view> lpOperation,
                      std::string_view lpFile, std::optional<std::string_view> /*lpParameters*/,
                      std::optional<std::string_view> /*lpDirectory*/, int32_t /*nShowCmd*/) {
    if (lpOperation && !lpOperation->empty() && *lpOperation != "open") {
        return SE_ERR_NOASSOC;
    }
    const auto address = webAddress(lpFile);
    if (!address) {
        return SE_ERR_NOASSOC;
    }
    return platform::backend().openAddress(*address) ? kHandedOver : SE_ERR_FNF;
}

}  // namespace win
