#include "platform/runtime/trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/runtime/clock.h"

namespace platform {

namespace {

std::unique_ptr<TraceSink>& slot() {
    static std::unique_ptr<TraceSink> installed;
    return installed;
}

// Opened without waiting, so a FIFO that nobody reads is refused instead of holding the start.
std::FILE* openForAppending(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "a");
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}

}  // namespace

StreamTraceSink::~StreamTraceSink() {
    if (owned_) {
        std::fclose(stream_);
    }
}

void StreamTraceSink::write(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
}

std::unique_ptr<TraceSink> openTraceTarget(const std::string& target) {
    if (target == "-") {
        return std::make_unique<StreamTraceSink>(stderr, false);
    }
    if (std::FILE* file = openForAppending(target)) {
        return std::make_unique<StreamTraceSink>(file, true);
    }
    std::fprintf(stderr, "tarnix: cannot open trace file %s: %s\n", target.c_str(),
                 errno == ENXIO ? "a FIFO that nobody reads" : std::strerror(errno));
    return nullptr;
}

std::unique_ptr<TraceSink> installTraceSink(std::unique_ptr<TraceSink> sink) {
    auto previous = std::move(slot());
    slot() = std::move(sink);
    return previous;
}

bool tracing() {
    return slot() != nullptr;
}

void trace(std::string_view area, std::string_view detail) {
    TraceSink* sink = slot().get();
    if (sink == nullptr) {
        return;
    }
    std::string line = std::to_string(clock().nowMs());
    line += ' ';
    line += area;
    if (!detail.empty()) {
        line += ' ';
        line += detail;
    }
    sink->write(line);
}

}  // namespace platform
