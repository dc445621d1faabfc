#include "platform/files/input_file.h"

#include "platform/files/paths.h"
#include "platform/files/regular_file.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/errors.h"

namespace platform {

InputFile::InputFile(std::string_view path) {
    if (path.empty()) {
        raise(kFileNotFound);
    }
    const auto native = nativePath(path);
    Result<std::string> read = readRegularFile(native, kSettingsFileLimit);
    if (!read && isMissing(read.failure())) {
        const auto folder = native.parent_path();
        std::error_code error;
        raise(folder.empty() || std::filesystem::is_directory(folder, error) ? kFileNotFound
                                                                             : kPathNotFound);
    }
    if (!read) {
        raise(kPathFileAccess);
    }
    bytes_ = std::move(read).value();
    lines_ = LineBreaks(bytes_);
}

std::string InputFile::LineInput() {
    if (Eof()) {
        raise(kInputPastEnd);
    }
    return fromAnsi(lines_.next());
}

}  // namespace platform
