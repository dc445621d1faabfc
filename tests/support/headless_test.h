#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/trace.h"

namespace testsupport {

// Installs a fresh headless backend inside the tracing one, a virtual clock and an in-memory trace
// for each test, and puts back what was there before.
class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    platform::HeadlessBackend& headless() { return *backend_; }
    platform::VirtualClock& clock() { return *clock_; }
    // Every trace line, with its time stamp.
    const std::vector<std::string>& traceLines() const { return sink_->lines(); }
    void clearTrace() { sink_->clear(); }
    // Trace lines of one area, without their time stamps.
    std::vector<std::string> traced(std::string_view area) const;

  private:
    platform::HeadlessBackend* backend_ = nullptr;
    platform::VirtualClock* clock_ = nullptr;
    platform::MemoryTraceSink* sink_ = nullptr;
    std::unique_ptr<platform::Backend> previousBackend_;
    std::unique_ptr<platform::Clock> previousClock_;
    std::unique_ptr<platform::TraceSink> previousSink_;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Sets environment variables (nullptr unsets one) and puts their earlier values back at the end.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::initializer_list<std::pair<const char*, const char*>> values = {});
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const char* name, const char* value);

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);
// The names of the entries of a folder, sorted.
std::vector<std::string> filesIn(const std::filesystem::path& folder);

}  // namespace testsupport
