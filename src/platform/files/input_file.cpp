#include "platform/files/input_file.h"

#include "platform/files/paths.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/errors.h"

namespace platform {

InputFile::InputFile(std::string_view path) {
    const auto native = nativePath(path);
    std::error_code error;
    const auto status = std::filesystem::status(native, error);
    if (path.empty() || status.type() == std::filesystem::file_type::not_found) {
        const auto folder = native.parent_path();
        raise(folder.empty() || std::filesystem::is_directory(folder, error) ? kFileNotFound
                                                                             : kPathNotFound);
    }
    if (!std::filesystem::is_regular_file(status)) {
        raise(kPathFileAccess);
    }
    file_.reset(std::fopen(native.c_str(), "rb"));
    if (!file_) {
        raise(kPathFileAccess);
    }
}

bool InputFile::Eof() {
    const int c = std::getc(file_.get());
    if (c == EOF) {
        return true;
    }
    std::ungetc(c, file_.get());
    return false;
}

std::string InputFile::LineInput() {
    if (Eof()) {
        raise(std::ferror(file_.get()) ? kPathFileAccess : kInputPastEnd);
    }
    std::FILE* file = file_.get();
    std::string line;
    for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
        if (c == '\n') {
            break;
        }
        if (c == '\r') {
            const int next = std::getc(file);
            if (next != '\n' && next != EOF) {
                std::ungetc(next, file);
            }
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (std::ferror(file)) {
        raise(kPathFileAccess);
    }
    return fromAnsi(line);
}

}  // namespace platform
