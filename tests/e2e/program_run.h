#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/headless_test.h"

namespace e2e {

// A program folder of its own (copied from the build's, under a path with blanks), a registry
// folder and the stand-in site: one installation of the program for one test.
class Installation {
  public:
    // siteMode: "answer", "refuse" or "hang".
    explicit Installation(const std::string& siteMode);

    const std::filesystem::path& programFolder() const { return program_; }
    std::filesystem::path hiveFile() const { return registry_ / "HKEY_CURRENT_USER.reg"; }
    std::filesystem::path iniFile() const { return program_ / "PexarDeskTop.ini"; }
    std::string siteAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::filesystem::path traceFile() const { return root_.path() / "trace"; }

    // Starts the program with this registry, script and trace file; the caller waits for it.
    std::unique_ptr<testsupport::ChildProcess> start(
        const std::string& script, const std::vector<std::string>& moreEnvironment = {},
        bool virtualClock = true) const;

  private:
    testsupport::TempDir root_;
    std::filesystem::path program_;
    std::filesystem::path registry_;
    std::unique_ptr<testsupport::ChildProcess> site_;
    uint16_t port_ = 0;
};

// The trace lines of a file without their time stamps, as "<ms> <rest>" pairs split once.
struct TraceLine {
    long long ms = 0;
    std::string text;
};
std::vector<TraceLine> readTrace(const std::filesystem::path& file);
std::vector<TraceLine> linesWith(const std::vector<TraceLine>& trace, const std::string& needle);

}  // namespace e2e
