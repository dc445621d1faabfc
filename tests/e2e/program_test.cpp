// The built program run headless against the stand-in site, checked through its trace, the
// registry files and the desktop settings file.
#include <gtest/gtest.h>

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
    auto program = installation.start("5000 end-session\n");
    ASSERT_EQ(program->exitCode(kRunLimit), 0) << program->errorText();

    const auto trace = readTrace(installation.traceFile());
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

TEST(Program, OnTheRealClockEndsWithItsScriptedSession) {
    Installation installation("answer");
    auto program = installation.start("300 end-session\n", {}, /*virtualClock=*/false);
    ASSERT_EQ(program->exitCode(kRunLimit), 0) << program->errorText();
    const auto unloaded = linesWith(readTrace(installation.traceFile()), "form unloaded");
    ASSERT_EQ(unloaded.size(), 1u);
    EXPECT_GE(unloaded[0].ms, 300);
}

class SiteDown : public ::testing::TestWithParam<const char*> {};

// A site that refuses connections, and one that accepts them and never answers (each probe ends at
// the shortened time-out), both count as no connection.
TEST_P(SiteDown, RetriesFiveTimesAndGivesUp) {
    Installation installation(GetParam());
    auto program = installation.start("", {"TARNIX_HTTP_TIMEOUT_MS=300"});
    ASSERT_EQ(program->exitCode(kRunLimit), 0) << program->errorText();

    const auto trace = readTrace(installation.traceFile());
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

}  // namespace
