// The line reader on any file: its lines, back in the code page and joined by line feeds, are the
// file with every CR LF and lone CR read as a line feed and without one final break; reading ends
// exactly at the end.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/files/input_file.h"
#include "platform/runtime/ansi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tarnix-fuzz-lines-" + std::to_string(getpid()) + ".txt";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    // The reference: breaks made line feeds, one final break dropped.
    std::string expected;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            expected += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            expected += bytes[i];
        }
    }
    if (!expected.empty() && expected.back() == '\n') {
        expected.pop_back();
    }
    platform::InputFile file(path);
    std::string joined;
    size_t lines = 0;
    while (!file.Eof()) {
        joined += (lines++ == 0 ? "" : "\n") + platform::toAnsi(file.LineInput());
    }
    if (joined != expected || (lines == 0) != bytes.empty()) {
        std::abort();
    }
    return 0;
}
