#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace win {

constexpr int32_t SW_SHOWNORMAL = 1;
// Results of ShellExecuteA below 33 are failures.
constexpr int32_t SE_ERR_FNF = 2;
constexpr int32_t SE_ERR_NOASSOC = 31;

// Opens lpFile with the default verb (lpOperation nothing or "open"): a web address, http or
// https, or a bare host name ("www.example.com", opened as http), is handed to the user's default
// browser through the backend, as one argument, never through a shell. Returns 42 when it was
// handed over; SE_ERR_NOASSOC for anything else (another verb, a file, a text that is no such
// address: blanks, quotes, control characters), SE_ERR_FNF when nothing took it. The window,
// parameters, directory and show command are not needed for an address.
int32_t ShellExecuteA(int32_t hwnd, std::optional<std::string_view> lpOperation,
                      std::string_view lpFile, std::optional<std::string_view> lpParameters,
                      std::optional<std::string_view> lpDirectory, int32_t nShowCmd);

}  // namespace win
