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
    lines_ = LineBreaks(bytes_);
}

std::string InputFile::LineInput() {
    if (Eof()) {
        raise(kInputPastEnd);
    }
    return fromAnsi(lines_.next());
}

}  // namespace platform
