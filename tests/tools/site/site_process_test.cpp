// Runs the site executable as the program's tests will: on a free port of 127.0.0.1.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <csignal>

#include "site/pages.h"
#include "support/child_process.h"
#include "support/headless_test.h"

namespace {

using testsupport::httpGet;
using testsupport::milliseconds;

// The site executable as a child process.
struct SiteProcess : testsupport::ChildProcess {
    explicit SiteProcess(const std::vector<std::string>& args)
        : ChildProcess(TARNIX_SITE_EXE, args) {}
};

// Children stop by themselves even if a test never gets to stop them.
const std::string kLifetime = "60";

TEST(SiteProcess, AnswersWritesThePortFileAndListsRequests) {
    testsupport::TempDir dir;
    SiteProcess site({"--port", "0", "--port-file", dir.file("port"), "--lifetime", kLifetime});
    const auto port = site.port();
    ASSERT_NE(port, 0);
    EXPECT_EQ(testsupport::readFile(dir.file("port")), std::to_string(port) + "\n");
    EXPECT_NE(httpGet(port, "/").body.find("<html>"), std::string::npos);
    // The program sends the member name unescaped; the list shows the target as it arrived.
    EXPECT_EQ(httpGet(port, std::string(site::kPollPath) + "?membername=ann&co&vb=0f0f").status,
              200);
    EXPECT_EQ(httpGet(port, "/_requests").body,
              "GET /\nGET /update.php?membername=ann&co&vb=0f0f\n");
    EXPECT_EQ(httpGet(port, "/nowhere").status, 404);
}

struct ModeCase {
    const char* mode;
    int stopSignal;  // 0: the site ends by its lifetime
    CURLcode answer;
};

class SiteModes : public ::testing::TestWithParam<ModeCase> {};

// A client's connection, answered or held, never keeps the site from ending cleanly.
TEST_P(SiteModes, AnswerRefuseOrHangUntilStopped) {
    const ModeCase& c = GetParam();
    SiteProcess site({"--mode", c.mode, "--lifetime", c.stopSignal ? kLifetime : "1"});
    const auto port = site.port();
    ASSERT_NE(port, 0);
    EXPECT_EQ(httpGet(port, "/", milliseconds(300)).curlCode, c.answer);
    if (c.stopSignal) {
        site.signal(c.stopSignal);
    }
    EXPECT_EQ(site.exitCode(milliseconds(10'000)), 0);
}

INSTANTIATE_TEST_SUITE_P(SiteProcess, SiteModes,
                         ::testing::Values(ModeCase{"answer", SIGINT, CURLE_OK},
                                           ModeCase{"hang", SIGTERM, CURLE_OPERATION_TIMEDOUT},
                                           ModeCase{"refuse", 0, CURLE_COULDNT_CONNECT}));

// A busy port (in either listener) or an unwritable port file ends the site with code 1 and a
// message naming it; bad options end it with code 2 and the usage.
TEST(SiteProcess, FailedStartsEndItWithACodeAndAMessage) {
    testsupport::TempDir dir;
    SiteProcess first({"--lifetime", kLifetime});
    const std::string port = std::to_string(first.port());
    struct Case {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> named;
    };
    for (const Case& c :
         {Case{{"--port", port}, 1, {port}}, Case{{"--mode", "hang", "--port", port}, 1, {port}},
          Case{{"--port-file", dir.file("missing/port")}, 1, {"port file"}},
          Case{{"--mode", "sulk"}, 2, {"'sulk'", "usage:"}}}) {
        SiteProcess site(c.args);
        EXPECT_EQ(site.exitCode(milliseconds(10'000)), c.code) << c.args.back();
        const std::string error = site.errorText();
        for (const std::string& text : c.named) {
            EXPECT_NE(error.find(text), std::string::npos) << error;
        }
    }
}

}  // namespace
