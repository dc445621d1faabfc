#include "support/headless_test.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/runtime/traced_backend.h"

namespace testsupport {

void HeadlessTest::SetUp() {
    auto clock = std::make_unique<platform::VirtualClock>();
    clock_ = clock.get();
    previousClock_ = platform::installClock(std::move(clock));
    auto sink = std::make_unique<platform::MemoryTraceSink>();
    sink_ = sink.get();
    previousSink_ = platform::installTraceSink(std::move(sink));
    auto backend = std::make_unique<platform::HeadlessBackend>();
    backend_ = backend.get();
    previousBackend_ =
        platform::installBackend(std::make_unique<platform::TracedBackend>(std::move(backend)));
}

void HeadlessTest::TearDown() {
    platform::installBackend(std::move(previousBackend_));
    platform::installTraceSink(std::move(previousSink_));
    platform::installClock(std::move(previousClock_));
}

std::vector<std::string> HeadlessTest::traced(std::string_view area) const {
    std::vector<std::string> result;
    for (const auto& line : sink_->lines()) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) {
            continue;
        }
        std::string_view rest = std::string_view(line).substr(space + 1);
        if (rest.substr(0, area.size()) == area &&
            (rest.size() == area.size() || rest[area.size()] == ' ')) {
            result.emplace_back(rest.size() == area.size() ? "" : rest.substr(area.size() + 1));
        }
    }
    return result;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

ScopedEnvironment::ScopedEnvironment(
    std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
        set(name, value);
    }
}

ScopedEnvironment::~ScopedEnvironment() {
    // Latest first, so a name set twice gets its first value back.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second) {
            ::setenv(it->first.c_str(), it->second->c_str(), 1);
        } else {
            ::unsetenv(it->first.c_str());
        }
    }
}

void ScopedEnvironment::set(const char* name, const char* value) {
    const char* now = std::getenv(name);
    saved_.emplace_back(name, now ? std::optional<std::string>(now) : std::nullopt);
    if (value) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testsupport
