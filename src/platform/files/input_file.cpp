#include "platform/files/input_file.h"

#include "platform/files/paths.h"
#include "platform/files/regular_file.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/errors.h"

namespace platform {

InputFile::InputFile(std::string_view path) {
    const auto native = nativePath(path);
    std::error_code error;
    const ReadOutcome outcome = path.empty()
                                    ? ReadOutcome::Missing
                                    : readRegularFile(native, kSettingsFileLimit, bytes_, error);
    if (outcome == ReadOutcome::Missing) {
        const auto folder = native.parent_path();
        raise(folder.empty() || std::filesystem::is_directory(folder, error) ? kFileNotFound
                                                                             : kPathNotFound);
    }
    if (outcome != ReadOutcome::Read) {
        raise(kPathFileAccess);
    }
}

std::string InputFile::LineInput() {
    if (Eof()) {
        raise(kInputPastEnd);
    }
    size_t end = bytes_.find_first_of("\r\n", next_);
    if (end == std::string::npos) {
        end = bytes_.size();
    }
    const std::string_view line = std::string_view(bytes_).substr(next_, end - next_);
    next_ = end + 1;
    if (end + 1 < bytes_.size() && bytes_[end] == '\r' && bytes_[end + 1] == '\n') {
        ++next_;
    }
    return fromAnsi(line);
}

}  // namespace platform
