#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where trace lines go. The trace is one line per observable effect, "<ms> <area> <fields>"; any
// backend's notices and the platform's own operations feed it (see docs/headless.md).
class TraceSink {
  public:
    virtual ~TraceSink() = default;
    // One whole line without its line break.
    virtual void write(std::string_view line) = 0;
};

// Appends lines to a stream: stderr, or a file opened with openTraceFile.
class StreamTraceSink final : public TraceSink {
  public:
    // owned: the sink closes the stream at its end.
    StreamTraceSink(std::FILE* stream, bool owned) : stream_(stream), owned_(owned) {}
    ~StreamTraceSink() override;
    StreamTraceSink(const StreamTraceSink&) = delete;
    StreamTraceSink& operator=(const StreamTraceSink&) = delete;

    void write(std::string_view line) override;

  private:
    std::FILE* stream_;
    bool owned_;
};

// Keeps every line in memory (tests).
class MemoryTraceSink final : public TraceSink {
  public:
    void write(std::string_view line) override { lines_.emplace_back(line); }
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

  private:
    std::vector<std::string> lines_;
};

// The sink for a TARNIX_TRACE value: "-" is stderr, any other text a file to append to. A file
// that cannot be opened (or a FIFO that nobody reads) is reported on stderr: null then.
std::unique_ptr<TraceSink> openTraceTarget(const std::string& target);

// Installs the sink (null: no trace) and returns the one it replaces.
std::unique_ptr<TraceSink> installTraceSink(std::unique_ptr<TraceSink> sink);

// Whether a sink is installed: callers may skip building a line nobody reads.
bool tracing();

// One observable effect: area is a short word ("msgbox", "registry", ...), detail its fields. The
// line is stamped with the clock's milliseconds.
void trace(std::string_view area, std::string_view detail);

}  // namespace platform
