// The built program run headless against the stand-in site, checked through its trace, the
// registry files and the desktop settings file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e/program_folder.h"
#include "support/child_process.h"
#include "support/headless_test.h"

namespace {

namespace fs = std::filesystem;
using testsupport::milliseconds;
using testsupport::readFile;

struct TraceLine {
    long long ms = 0;
    std::string text;  // without the time stamp
};

// A program folder of its own (copied from the build's, under a path with blanks), a registry
// folder and the stand-in site: one installation of the program for one test.
class Installation {
  public:
    // siteMode: "answer", "refuse" or "hang".
    // The site checks poll tokens for the virtual clock's date in the C locale's short date.
    explicit Installation(const std::string& siteMode)
        : program_(root_.path() / "Program Files" / "Tarnix IM"),
          registry_(root_.path() / "registry"),
          site_(TARNIX_SITE_EXE, {"--mode", siteMode, "--lifetime", "300", "--date", "2026-01-02",
                                  "--date-pattern", "M/d/yyyy"}) {
        copyProgramFolder(program_);
        port_ = site_.port();
        testsupport::ChildProcess install(
            TARNIX_INSTALL_EXE,
            {"--site", siteAddress(), "--company", "Example Ltd", "--tooltip", "Example tray tip",
             "--ini", iniFile().string()},
            {"TARNIX_REGISTRY_DIR=" + registry_.string()});
        EXPECT_EQ(install.exitCode(milliseconds(10'000)), 0) << install.errorText();
    }

    const fs::path& programFolder() const { return program_; }
    uint16_t port() const { return port_; }
    fs::path hiveFile() const { return registry_ / "HKEY_CURRENT_USER.reg"; }
    fs::path iniFile() const { return program_ / "PexarDeskTop.ini"; }
    std::string siteAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }

    // Runs the program on the virtual clock (unless the environment names another) until it ends
    // with code 0, and returns its trace. With stopSignal, the signal is sent once the start-up
    // check has ended (a program on the real clock waits in the tray until then).
    std::vector<TraceLine> run(const std::string& script, std::vector<std::string> environment = {},
                               int stopSignal = 0) {
        const fs::path scriptFile = root_.path() / "script";
        const fs::path traceFile = root_.path() / "trace";
        std::ofstream(scriptFile) << script;
        // The caller's entries come first and so win over these.
        environment.insert(
            environment.end(),
            {"TARNIX_REGISTRY_DIR=" + registry_.string(), "TARNIX_TRACE=" + traceFile.string(),
             "TARNIX_SCRIPT=" + scriptFile.string(), "TARNIX_CLOCK=virtual", "TARNIX_OFFLINE=0",
             "TARNIX_BACKEND=headless", "LC_ALL=C",
             "XDG_CONFIG_HOME=" + (root_.path() / "config").string()});
        testsupport::ChildProcess program((program_ / "tarnix").string(), {}, environment);
        if (stopSignal != 0) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (readFile(traceFile).find("Initializing Application.") == std::string::npos &&
                   std::chrono::steady_clock::now() < deadline &&
                   !program.exitCode(milliseconds(20)).has_value()) {
            }
            program.signal(stopSignal);
        }
        EXPECT_EQ(program.exitCode(milliseconds(60'000)), 0) << program.errorText();
        std::vector<TraceLine> lines;
        std::istringstream in(readFile(traceFile));
        for (std::string line; std::getline(in, line);) {
            const size_t space = line.find(' ');
            lines.push_back({std::stoll(line.substr(0, space)), line.substr(space + 1)});
        }
        return lines;
    }

  private:
    testsupport::TempDir root_;
    fs::path program_;
    fs::path registry_;
    testsupport::ChildProcess site_;
    uint16_t port_ = 0;
};

// The times of the trace lines that hold needle.
std::vector<long long> times(const std::vector<TraceLine>& trace, const std::string& needle) {
    std::vector<long long> found;
    for (const auto& line : trace) {
        if (line.text.find(needle) != std::string::npos) {
            found.push_back(line.ms);
        }
    }
    return found;
}

using Times = std::vector<long long>;

TEST(Program, ConnectedStartWritesTheFirstRunSettingsAndEndsWithTheSession) {
    Installation installation("answer");
    const auto trace = installation.run("5000 end-session\n");
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace[0].text, "form loaded hwnd=1 name=frmTarnix");  // the file holds whole lines
    EXPECT_EQ(times(trace, "tray add"), Times{0});
    // Every record sent to the shell (add, two balloons, delete) carries the installed tip.
    EXPECT_EQ(times(trace, "szTip=\"Example tray tip\""), (Times{0, 1000, 1000, 5000}));
    // Balloon titles carry the site address without its scheme.
    const std::string balloon = "title=\"" + installation.siteAddress().substr(7) + "\" text=";
    EXPECT_EQ(times(trace, balloon + "\"Checking Internet Connection.\""), Times{1000});
    EXPECT_EQ(times(trace, balloon + "\"Initializing Application.\""), Times{1000});
    // The probe, then the sign-in page.
    EXPECT_EQ(times(trace, "http GET url=\"" + installation.siteAddress() + "\""), Times{1000});
    EXPECT_EQ(times(trace, "tray delete"), Times{5000});
    // The main window, and the options window loaded hidden at sign-in.
    EXPECT_EQ(times(trace, "form unloaded"), (Times{5000, 5000}));

    const std::string hive = readFile(installation.hiveFile());
    for (const char* value :
         {"\"X6Installed\"=dword:00000001", "\"X6OnTop\"=dword:00000001",
          "\"OnWindowsLoad\"=dword:00000001", "\"ContactOnline\"=dword:00000001",
          "\"ChatRequest\"=dword:00000001", "\"NewMail\"=dword:00000001"}) {
        EXPECT_NE(hive.find(value), std::string::npos) << value;
    }
    // The autostart entry names the program unquoted, even in a folder with blanks.
    const std::string folder = installation.programFolder().string();
    EXPECT_NE(hive.find("\"tarnix.exe\"=\"" + folder), std::string::npos) << hive;
    EXPECT_NE(readFile(installation.iniFile()).find("LANG=1\r\n"), std::string::npos);
}

// On the real clock the program waits in the tray; a termination signal ends its session cleanly.
TEST(Program, OnTheRealClockATerminationSignalEndsTheSession) {
    Installation installation("answer");
    const auto trace = installation.run("", {"TARNIX_CLOCK=real"}, SIGTERM);
    EXPECT_EQ(times(trace, "form unloaded hwnd=1 name=frmTarnix mode=2").size(), 1u);
    EXPECT_EQ(times(trace, "tray delete").size(), 1u);
}

class SiteDown : public ::testing::TestWithParam<const char*> {};

// A site that refuses connections, and one that accepts them and never answers (each probe ends at
// the shortened time-out), both count as no connection.
TEST_P(SiteDown, RetriesFiveTimesAndGivesUp) {
    Installation installation(GetParam());
    const auto trace = installation.run("", {"TARNIX_HTTP_TIMEOUT_MS=300"});
    EXPECT_EQ(times(trace, "text=\"Checking Internet Connection.\""),
              (Times{1000, 61000, 121000, 181000, 241000, 301000}));
    EXPECT_TRUE(times(trace, "Initializing Application.").empty());
    EXPECT_EQ(times(trace, "form unloaded"), Times{361000});
    EXPECT_EQ(times(trace, "tray delete"), Times{361000});
    EXPECT_EQ(readFile(installation.hiveFile()).find("X6Installed"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Program, SiteDown, ::testing::Values("refuse", "hang"));

TEST(Program, AFolderOutsideTheCodePageIsRefusedBeforeAnythingIsStored) {
    testsupport::TempDir root;
    const auto folder = root.path() / "Programy \xC5\x82ukasz";  // "ł" is not in Windows-1252
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::filesystem::path(TARNIX_PROGRAM_DIR) / "tarnix",
                               folder / "tarnix");
    testsupport::ChildProcess program((folder / "tarnix").string(), {},
                                      {"TARNIX_REGISTRY_DIR=" + (root.path() / "registry").string(),
                                       "TARNIX_TRACE=" + (root.path() / "trace").string()});
    EXPECT_EQ(program.exitCode(milliseconds(10'000)), 2);
    EXPECT_EQ(program.errorText(), "tarnix: the program folder " + folder.string() +
                                       " holds characters that Windows-1252 cannot hold, so the "
                                       "paths the program stores would point nowhere; move the "
                                       "program to a folder whose path Windows-1252 can hold\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.path()), {}), 1);
}

// From the tray menu: page 1, an alert switch off, a sound chosen, page 0, autostart off, close.
TEST(Program, TheOptionsWindowStoresEveryChangeAtOnce) {
    Installation installation("answer");
    const std::string folder = installation.programFolder().string();
    const std::string sound = folder + "/my \"alert\".wav";
    const std::string quoted = folder + "/my \\\"alert\\\".wav";  // as script and trace write it
    const auto trace = installation.run(
        "5000 tray right-click\n5100 menu frmTarnix mnuSTProp\n"
        "5200 click frmPropPage lblPropOptions(1)\n5300 click frmPropPage chkAlertsOptions(1)\n"
        "5400 select frmPropPage lbxSounds 2\n5500 click frmPropPage cmdSounds\n"
        "5600 click frmPropPage imgPropBTN(0)\n5700 click frmPropPage chkGDRASUP\n"
        "5800 click frmPropPage imgControlBox\n6000 end-session\n5450 dialog \"" +
        quoted + "\"\n");

    const std::string user = "key=\"HKEY_CURRENT_USER\\\\Software\\\\";
    const std::string key = user + "Tarnix\\\\TarnixIM";
    const std::string run = user + R"(Microsoft\\Windows\\CurrentVersion\\Run" value="tarnix.exe")";
    const std::string number = "\" type=4 bytes=4";
    std::vector<std::string> writes;
    for (const auto& line : trace) {
        if (line.ms >= 5100 &&
            (line.text.starts_with("registry ") || line.text.starts_with("dialog "))) {
            writes.push_back(std::to_string(line.ms) + " " + line.text);
        }
    }
    EXPECT_EQ(writes,
              (std::vector<std::string>{
                  // The window was loaded hidden at sign-in: showing it stores nothing.
                  "5300 registry set " + key + "\\\\Alerts\" value=\"ChatRequest" + number,
                  "5500 dialog open hwnd=2 filter=\"Sound Files|*.wav\" dir=\"" + folder +
                      "\" path=\"" + quoted + "\"",
                  "5500 registry set " + key + "\\\\Sounds\" value=\"ChatRequest\" type=1 bytes=" +
                      std::to_string(sound.size()),
                  "5700 registry delete " + run,
                  "5700 registry set " + key + "\" value=\"OnWindowsLoad" + number,
              }));
    EXPECT_EQ(times(trace, "form unloaded hwnd=2 name=frmPropPage"), Times{5800});

    const std::string hive = readFile(installation.hiveFile());
    for (const std::string& value :
         {std::string("\"OnWindowsLoad\"=dword:00000000"),
          std::string("\"ChatRequest\"=dword:00000000"),
          std::string("\"ContactOnline\"=dword:00000001"), "\"ChatRequest\"=\"" + quoted + "\""}) {
        EXPECT_NE(hive.find(value), std::string::npos) << value;
    }
    EXPECT_EQ(hive.find("tarnix.exe"), std::string::npos) << hive;
}

// The whole road against the site: a scripted sign-in, polls whose tokens the site accepts, the
// pop-ups of the alerts waiting there sliding in and out, a sign-out and the sign-in page again.
TEST(Program, TheMainRoadFromSignInToSignOut) {
    Installation installation("answer");
    ASSERT_EQ(testsupport::httpGet(installation.port(),
                                   "/_control?alerts=vb_newmail,vb_contactonline%3Dann;")
                  .status,
              200);
    const auto trace = installation.run(
        "3000 page-type frmTarnix wbTarnix membername ann\n"
        "3100 page-click frmTarnix wbTarnix login\n"
        "20000 page-click frmTarnix wbTarnix signout\n30000 end-session\n");
    const std::string polls =
        "http GET url=\"" + installation.siteAddress() + "/update.php?membername=ann&vb=";
    const Times polled = times(trace, polls);
    ASSERT_GE(polled.size(), 8u);
    EXPECT_EQ(polled[0], 3100) << "the click polls at once";
    EXPECT_EQ(polled[1], 5100);
    EXPECT_TRUE(testsupport::httpGet(installation.port(), "/_refused").body.empty())
        << "every token was right";
    // One pop-up for each waiting alert; both slide in, stay and unload on their own.
    EXPECT_EQ(times(trace, "form loaded hwnd=3 name=frmRequests").size(), 1u);
    EXPECT_EQ(times(trace, "form loaded hwnd=4 name=frmRequests").size(), 1u);
    EXPECT_EQ(times(trace, "name=frmRequests caption=\"  New Mail\"").size(), 1u);
    EXPECT_EQ(times(trace, "name=frmRequests caption=\"  Contact Online\"").size(), 1u);
    EXPECT_EQ(times(trace, "form unloaded hwnd=3 name=frmRequests mode=1").size(), 1u);
    // The sign-out stops the poll and opens the sign-in page again.
    EXPECT_EQ(times(trace, "complete url=\"" + installation.siteAddress() + "/login.php\""),
              (Times{1000, 20000}));
    for (const long long at : polled) {
        EXPECT_LT(at, 20000) << "no poll after the sign-out";
    }
    EXPECT_NE(readFile(installation.hiveFile()).find("\"X6UserID\"=\"ann\""), std::string::npos);
}

// From the tray menu: the About window slides in, a language chosen while it is open, the banner,
// its close image.
TEST(Program, TheAboutWindowSlidesInAndClosesFromTheTray) {
    Installation installation("answer");
    const auto trace = installation.run(
        "5000 tray right-click\n5100 menu frmTarnix mnuSTAbout\n6000 tray right-click\n"
        "6100 menu frmTarnix mnuL_Lang(3)\n6200 click frmAbout Label7\n"
        "6300 click frmAbout Image1\n7000 end-session\n");
    EXPECT_EQ(times(trace, "form loaded hwnd=3 name=frmAbout"), Times{5100});
    EXPECT_EQ(times(trace, "window shown hwnd=3 name=frmAbout caption=\"\" left=15390"),
              Times{5100});
    EXPECT_EQ(times(trace, "shell open address=\"http://www.example.com\" ok=1"), Times{6200});
    EXPECT_EQ(times(trace, "form unloaded hwnd=3 name=frmAbout mode=1"), Times{6300});
}

}  // namespace
