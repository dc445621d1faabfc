#include "platform/files/input_file.h"

#include <unistd.h>

#include "platform/files/paths.h"
#include "platform/files/regular_file.h"
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
    // Looked at again through the descriptor: a FIFO put in its place meanwhile must not block.
    struct stat info {};
    ReadOutcome outcome = ReadOutcome::Failed;
    const int fd = openRegularFile(native, info, outcome, error);
    if (fd < 0) {
        raise(kPathFileAccess);
    }
    file_.reset(::fdopen(fd, "rb"));
    if (!file_) {
        ::close(fd);
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

// A lone LF ends a line as well as CR and CR LF: files edited on Linux are read line by line too.
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
