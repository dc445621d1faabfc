#include "program_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace e2e {

namespace fs = std::filesystem;

Installation::Installation(const std::string& siteMode) {
    program_ = root_.path() / "Program Files" / "Tarnix IM";
    registry_ = root_.path() / "registry";
    fs::create_directories(program_ / "sounds");
    const fs::path built = TARNIX_PROGRAM_DIR;
    for (const char* name : {"tarnix", "PexarDeskTop.ini", "idata.x6c", "ldata.x6c"}) {
        fs::copy_file(built / name, program_ / name);
    }
    for (const auto& sound : fs::directory_iterator(built / "sounds")) {
        fs::copy_file(sound.path(), program_ / "sounds" / sound.path().filename());
    }

    site_ = std::make_unique<testsupport::ChildProcess>(
        TARNIX_SITE_EXE, std::vector<std::string>{"--mode", siteMode, "--lifetime", "300"});
    port_ = site_->port();

    testsupport::ChildProcess install(
        TARNIX_INSTALL_EXE,
        {"--site", siteAddress(), "--company", "Example Ltd", "--tooltip", "Example tray tip",
         "--ini", iniFile().string()},
        {"TARNIX_REGISTRY_DIR=" + registry_.string()});
    EXPECT_EQ(install.exitCode(testsupport::milliseconds(10'000)), 0) << install.errorText();
}

std::unique_ptr<testsupport::ChildProcess> Installation::start(
    const std::string& script, const std::vector<std::string>& moreEnvironment,
    bool virtualClock) const {
    const fs::path scriptFile = root_.path() / "script";
    std::ofstream(scriptFile) << script;
    std::vector<std::string> env = {
        "TARNIX_REGISTRY_DIR=" + registry_.string(), "TARNIX_TRACE=" + traceFile().string(),
        "TARNIX_SCRIPT=" + scriptFile.string(),
        virtualClock ? "TARNIX_CLOCK=virtual" : "TARNIX_CLOCK=real", "TARNIX_OFFLINE=0"};
    env.insert(env.end(), moreEnvironment.begin(), moreEnvironment.end());
    return std::make_unique<testsupport::ChildProcess>((program_ / "tarnix").string(),
                                                       std::vector<std::string>{}, env);
}

std::vector<TraceLine> readTrace(const fs::path& file) {
    std::vector<TraceLine> lines;
    std::istringstream in(testsupport::readFile(file));
    std::string line;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) {
            continue;
        }
        lines.push_back({std::stoll(line.substr(0, space)), line.substr(space + 1)});
    }
    return lines;
}

std::vector<TraceLine> linesWith(const std::vector<TraceLine>& trace, const std::string& needle) {
    std::vector<TraceLine> found;
    for (const auto& line : trace) {
        if (line.text.find(needle) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

}  // namespace e2e
