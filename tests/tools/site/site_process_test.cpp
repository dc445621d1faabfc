// Runs the site executable as the program's tests will: on a free port of 127.0.0.1.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <csignal>

#include "platform/runtime/short_date.h"
#include "platform/web/html_document.h"
#include "site/pages.h"
#include "site/poll_token.h"
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
    EXPECT_NE(httpGet(port, "/").body.find("<!DOCTYPE html>"), std::string::npos);
    // The program sends the member name unescaped; the list shows the target as it arrived.
    EXPECT_EQ(httpGet(port, std::string(site::kPollPath) + "?membername=ann&co&vb=0f0f").status,
              200);
    EXPECT_EQ(httpGet(port, "/_requests").body,
              "GET /\nGET /update.php?membername=ann&co&vb=0f0f\n");
    EXPECT_EQ(httpGet(port, "/nowhere").status, 404);
}

// The pages as the program's browser reads them: the elements it looks for and where links and
// frames lead.
TEST(SiteProcess, PagesHoldWhatTheProgramLooksFor) {
    SiteProcess site({"--lifetime", kLifetime});
    const auto port = site.port();
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    struct Case {
        std::string target;
        std::vector<std::string> ids;
        std::vector<std::string> links = {};  // resolved, in document order
        std::vector<std::string> frames = {};
        std::string member = {};  // the text of #member
    };
    const std::string signOut = origin + std::string(site::kSignOutTarget);
    const Case cases[] = {
        {"/login.php", {"membername", "login"}, {signOut}},
        {"/login-plain.php", {"membername"}, {signOut}},
        {std::string(site::kSignOutTarget), {"status", "signin"}, {origin + "/login.php"}},
        {"/popup/chatrequest.php?mid=ann%20b",
         {"close", "dismiss"},
         {"javascript:window.close()"},
         {},
         "ann b"},
        {"/popup/newmail.php?member=ann",
         {"close", "dismiss"},
         {"javascript:window.close()"},
         {},
         "ann"},
        {"/popup/contactonline.php?mid=ann",
         {"close", "dismiss"},
         {"javascript:window.close()"},
         {},
         "ann"},
        {"/frames.php?src=/%3Fdo%3Dsignout%26logout%3D1", {"content"}, {}, {signOut}},
        {"/close.php", {"status"}},
    };
    for (const Case& c : cases) {
        const testsupport::HttpResult result = httpGet(port, c.target);
        ASSERT_EQ(result.status, 200) << c.target;
        const platform::web::HtmlDocument page(result.body, origin + c.target);
        EXPECT_FALSE(page.title().empty()) << c.target;
        for (const std::string& id : c.ids) {
            EXPECT_TRUE(page.elementById(id)) << c.target << " #" << id;
        }
        EXPECT_EQ(page.elementById("login").has_value(), c.target == "/login.php") << c.target;
        std::vector<std::string> links, frames;
        for (const auto& link : page.links()) {
            links.push_back(link.url);
        }
        for (const auto& frame : page.frames()) {
            frames.push_back(frame.url);
        }
        EXPECT_EQ(links, c.links) << c.target;
        EXPECT_EQ(frames, c.frames) << c.target;
        EXPECT_EQ(page.elementById("member") ? page.elementById("member")->text() : "", c.member);
    }
}

// Tokens for the date given on the command line, or for the site's own date; a wrong one is
// answered with nothing and logged.
TEST(SiteProcess, PollsCarryTheTokenOfTheDateInTheGivenPattern) {
    SiteProcess fixed(
        {"--lifetime", kLifetime, "--date", "2026-01-02", "--date-pattern", "dd.MM.yyyy"});
    SiteProcess today({"--lifetime", kLifetime});
    const std::string todays = site::pollToken(
        site::pollDateText("M/d/yyyy", platform::localDate(std::chrono::system_clock::now())),
        "ann");
    struct Case {
        SiteProcess& site;
        std::string query;
        std::string answer;
    };
    for (const Case& c :
         {Case{fixed, "membername=ann%20b&vb=4fe712f6f4c4c7d461848937a59ba1ae", "vb_newmail\n"},
          Case{fixed, "membername=ann&vb=4fe712f6f4c4c7d461848937a59ba1ae", ""},
          Case{today, "membername=ann&vb=" + todays, "vb_newmail\n"}}) {
        const auto port = c.site.port();
        httpGet(port, "/_control?alerts=vb_newmail");
        EXPECT_EQ(httpGet(port, std::string(site::kPollPath) + "?" + c.query).body, c.answer)
            << c.query;
    }
    fixed.signal(SIGTERM);
    EXPECT_EQ(fixed.exitCode(milliseconds(10'000)), 0);
    EXPECT_NE(fixed.errorText().find("refused poll: member \"ann\" sent token"), std::string::npos)
        << fixed.errorText();
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
