#include "platform/ui/text_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace win::textmetrics {

namespace {

// Characters, not bytes: continuation bytes of UTF-8 do not count.
size_t characters(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

float scale(float fontSize) {
    return fontSize / kDefaultFontSize;
}

// Calls each(line) for every line of text between line feeds, a carriage return before one left
// out.
template <class F>
void forEachLine(std::string_view text, F each) {
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        each(line);
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

// Greedy breaking between words of one line into rows of at most perRow characters.
int rows(std::string_view line, size_t perRow) {
    int count = 1;
    size_t used = 0;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        size_t word = characters(line.substr(start, end - start));
        if (word > 0) {
            if (used > 0 && used + 1 + word > perRow) {
                ++count;
                used = 0;
            }
            if (used > 0) {
                ++used;
            }
            while (used + word > perRow) {
                word -= perRow - used;
                ++count;
                used = 0;
            }
            used += word;
        }
        start = end + 1;
    }
    return count;
}

}  // namespace

float LineHeight(float fontSize) {
    return kLineHeight * scale(fontSize);
}

float TextWidth(std::string_view text, float fontSize) {
    size_t widest = 0;
    forEachLine(text, [&](std::string_view line) { widest = std::max(widest, characters(line)); });
    return static_cast<float>(widest) * kCharWidth * scale(fontSize);
}

int WrappedLineCount(std::string_view text, float width, float fontSize) {
    const float perChar = kCharWidth * scale(fontSize);
    const auto perRow = static_cast<size_t>(std::max(1.0f, std::floor(width / perChar)));
    int count = 0;
    forEachLine(text, [&](std::string_view line) { count += rows(line, perRow); });
    return count;
}

}  // namespace win::textmetrics
