#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

// Replaces the file's content with bytes so that a crash or a failed write never leaves a partial
// file: the bytes go to a new file in the same folder, are flushed to disk and renamed over the
// target. On failure the old file is untouched and no temporary file is left behind. A symbolic
// link keeps pointing at its (replaced) target; an existing file keeps its permissions.
std::error_code writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace platform
