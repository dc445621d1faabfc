#pragma once

#include <string>
#include <string_view>

#include "platform/files/line_breaks.h"

namespace platform {

// A text file read line by line, with an end-of-file test. A line ends at CR, CR LF or LF (files
// edited elsewhere), and the break is not part of it; a last line without a break is read like
// any other. Lines are converted from the ANSI code page to UTF-8; NUL bytes stay in the line.
//
// The file is read whole when it is opened, under the rule of every settings file reader (the
// profile functions, the registry): only an ordinary file of at most kSettingsFileLimit bytes.
class InputFile {
  public:
    // Run-time error 53 when the file does not exist, 76 when its folder does not exist, 75 when
    // it is not an ordinary file, is larger than the limit or cannot be read.
    explicit InputFile(std::string_view path);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // True when no byte is left to read.
    bool Eof() const { return lines_.done(); }

    // The next line; run-time error 62 past the end of the file.
    std::string LineInput();

  private:
    std::string bytes_;
    LineBreaks lines_{bytes_};
};

}  // namespace platform
