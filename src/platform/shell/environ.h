#pragma once

#include <string>
#include <string_view>

namespace win {

// The value of an environment variable, its name matched without regard to case (an exact match
// wins over others). Without USERNAME the login name stands in, without COMPUTERNAME the host
// name. "" for any other variable that is not set.
std::string Environ(std::string_view name);

}  // namespace win
