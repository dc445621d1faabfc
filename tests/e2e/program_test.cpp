// The built program run headless against the stand-in site, checked through its trace, the
// registry files and the desktop settings file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "program_run.h"

namespace {

using e2e::Installation;
using e2e::linesWith;
using e2e::readTrace;
using testsupport::milliseconds;
using testsupport::readFile;

constexpr milliseconds kRunLimit{60'000};

TEST(Program, ConnectedStartWritesTheFirstRunSettingsAndEndsWithTheSession) {
    Installation installation("answer");
    auto program = installation.start("run", "5000 end-session\n");
    ASSERT_EQ(program->exitCode(kRunLimit), 0) << program->errorText();

    const auto trace = readTrace(installation.traceFile("run"));
    const auto added = linesWith(trace, "tray add");
    ASSERT_EQ(added.size(), 1u);
    EXPECT_NE(added[0].text.find("szTip=\"Example tray tip\""), std::string::npos);

    const auto checking = linesWith(trace, "text=\"Checking Internet Connection.\"");
    const auto done = linesWith(trace, "text=\"Initializing Application.\"");
    ASSERT_EQ(checking.size(), 1u);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(checking[0].ms, 1000);
    EXPECT_EQ(done[0].ms, 1000);
    // Balloon titles carry the site address without its scheme.
    const std::string title = installation.siteAddress().substr(7);
    EXPECT_NE(done[0].text.find("title=\"" + title + "\""), std::string::npos) << done[0].text;
    EXPECT_EQ(linesWith(trace, "http GET url=\"" + installation.siteAddress()).size(), 1u);

    EXPECT_EQ(linesWith(trace, "tray delete").size(), 1u);
    const auto unloaded = linesWith(trace, "form unloaded");
    ASSERT_FALSE(unloaded.empty());
    EXPECT_EQ(unloaded.back().ms, 5000);

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

class SiteDown : public ::testing::TestWithParam<const char*> {};

// A site that refuses connections, and one that accepts them and never answers (each probe ends at
// the shortened time-out), both count as no connection.
TEST_P(SiteDown, RetriesFiveTimesAndGivesUp) {
    Installation installation(GetParam());
    auto program = installation.start("run", "", true, {"TARNIX_HTTP_TIMEOUT_MS=300"});
    ASSERT_EQ(program->exitCode(kRunLimit), 0) << program->errorText();

    const auto trace = readTrace(installation.traceFile("run"));
    std::vector<long long> checks;
    for (const auto& line : linesWith(trace, "text=\"Checking Internet Connection.\"")) {
        checks.push_back(line.ms);
    }
    EXPECT_EQ(checks, (std::vector<long long>{1000, 61000, 121000, 181000, 241000, 301000}));
    EXPECT_TRUE(linesWith(trace, "Initializing Application.").empty());
    const auto unloaded = linesWith(trace, "form unloaded");
    ASSERT_EQ(unloaded.size(), 1u);
    EXPECT_EQ(unloaded[0].ms, 361000);
    EXPECT_EQ(linesWith(trace, "tray delete").size(), 1u);

    const std::string hive = readFile(installation.hiveFile());
    EXPECT_EQ(hive.find("X6Installed"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Program, SiteDown, ::testing::Values("refuse", "hang"));

TEST(Program, ASecondInstanceShowsItsMessageAndTouchesNothing) {
    Installation installation("answer");
    auto first = installation.start("first", "", /*virtualClock=*/false);
    // Wait (bounded) until the first instance has finished its start-up.
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    // The last first-run value written is the new-mail sound.
    while (readFile(installation.hiveFile()).find("knock.wav") == std::string::npos) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the first instance never started";
        ASSERT_FALSE(first->exitCode(milliseconds(20)).has_value()) << first->errorText();
    }
    const std::string iniBefore = readFile(installation.iniFile());
    const std::string hiveBefore = readFile(installation.hiveFile());

    auto second = installation.start("second", "");
    ASSERT_EQ(second->exitCode(kRunLimit), 0) << second->errorText();
    const auto trace = readTrace(installation.traceFile("second"));
    const auto boxes = linesWith(trace, "msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(
                  "style=4112 title=\"Instant Messenger\" text=\"Program already Running.\""),
              std::string::npos)
        << boxes[0].text;
    // Its teardown asks the shell to remove an icon it never added, which the shell refuses.
    EXPECT_TRUE(linesWith(trace, "tray add").empty());
    EXPECT_TRUE(linesWith(trace, "balloon").empty());
    EXPECT_TRUE(linesWith(trace, "http").empty());
    EXPECT_EQ(readFile(installation.iniFile()), iniBefore);
    EXPECT_EQ(readFile(installation.hiveFile()), hiveBefore);

    // The first instance is undisturbed: still running, its tray icon still there.
    EXPECT_FALSE(first->exitCode(milliseconds(0)).has_value());
    EXPECT_TRUE(linesWith(readTrace(installation.traceFile("first")), "tray delete").empty());
    // On the real clock it waits in the tray until a signal ends its session.
    first->signal(SIGTERM);
    ASSERT_EQ(first->exitCode(kRunLimit), 0) << first->errorText();
    const auto firstTrace = readTrace(installation.traceFile("first"));
    EXPECT_EQ(linesWith(firstTrace, "unloaded hwnd=1 name=frmTarnix mode=2").size(), 1u);
}

TEST(Program, AFolderOutsideTheCodePageIsRefusedBeforeAnythingIsStored) {
    testsupport::TempDir root;
    const auto folder = root.path() / "Programy \xC5\x82ukasz";  // "ł" is not in Windows-1252
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::filesystem::path(TARNIX_PROGRAM_DIR) / "tarnix",
                               folder / "tarnix");
    testsupport::ChildProcess program((folder / "tarnix").string(), {},
                                      {"TARNIX_REGISTRY_DIR=" + (root.path() / "registry").string(),
                                       "TARNIX_TRACE=" + (root.path() / "trace").string()});
    EXPECT_EQ(program.exitCode(kRunLimit), 2);
    EXPECT_EQ(program.errorText(), "tarnix: the program folder " + folder.string() +
                                       " holds characters that Windows-1252 cannot hold, so the "
                                       "paths the program stores would point nowhere; move the "
                                       "program to a folder whose path Windows-1252 can hold\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.path()), {}), 1);
}

}  // namespace
