#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace platform {

// The lines of a text one after the other: a line ends at CR, LF or CR LF, which is not part of it.
// Each kind of break is searched for with one fast scan ahead, so a whole text costs one pass.
class LineBreaks {
  public:
    explicit LineBreaks(std::string_view text)
        : text_(text),
          cr_(std::min(text.find('\r'), text.size())),
          lf_(std::min(text.find('\n'), text.size())) {}

    bool done() const { return next_ >= text_.size(); }

    // The next line, and the break after it ("" for a last line without one).
    std::string_view next(std::string_view* lineBreak = nullptr) {
        const size_t start = next_;
        const size_t end = std::min(ahead(cr_, '\r', start), ahead(lf_, '\n', start));
        next_ = std::min(end + (text_.substr(end, 2) == "\r\n" ? 2 : 1), text_.size());
        if (lineBreak) {
            *lineBreak = text_.substr(end, next_ - end);
        }
        return text_.substr(start, end - start);
    }

  private:
    // The first break of that kind at or after from (text_.size() when there is none).
    size_t ahead(size_t& found, char kind, size_t from) const {
        if (found < from) {
            found = std::min(text_.find(kind, from), text_.size());
        }
        return found;
    }

    std::string_view text_;
    size_t next_ = 0;
    size_t cr_;
    size_t lf_;
};

}  // namespace platform
