#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A text file opened for reading line by line, with an end-of-file test. A line ends at CR, CR LF
// or LF (files edited elsewhere), and the break is not part of it; a last line without a break is
// read like any other. Lines are converted from the ANSI code page to UTF-8; NUL bytes stay in
// the line. The file is closed when the object goes.
class InputFile {
  public:
    // Run-time error 53 when the file does not exist, 76 when its folder does not exist, 75 when
    // it is not an ordinary file or cannot be opened.
    explicit InputFile(std::string_view path);

    // True when no byte is left to read.
    bool Eof();

    // The next line; run-time error 62 past the end of the file, 75 when reading fails.
    std::string LineInput();

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace platform
