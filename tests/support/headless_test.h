#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace testsupport {

// Installs a fresh headless backend (virtual clock, trace kept in memory) for each test.
class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    platform::HeadlessBackend& headless() { return *backend_; }
    platform::VirtualClock& clock() { return *backend_->virtualClock(); }
    // Trace lines of one area, without their time stamps.
    std::vector<std::string> traced(std::string_view area) const;

  private:
    platform::HeadlessBackend* backend_ = nullptr;
    std::unique_ptr<platform::Backend> previous_;
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

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);
// The names of the entries of a folder, sorted.
std::vector<std::string> filesIn(const std::filesystem::path& folder);

}  // namespace testsupport
