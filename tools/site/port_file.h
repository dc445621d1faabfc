#pragma once

#include <cstdint>
#include <string>

namespace site {

// Writes "<port>\n" to path through a temporary file and a rename, so a reader never sees a
// partial number. Throws std::runtime_error when it cannot.
void writePortFile(const std::string& path, std::uint16_t port);

}  // namespace site
