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
    const std::string signOut = origin + std::string(site::kSignOutTarget) + "\n";
    const std::string close = "a javascript:window.close()\n";
    struct Case {
        std::string target;
        std::vector<std::string> ids;
        std::string references;   // each link and frame: its tag and resolved URL, in page order
        std::string member = {};  // the text of #member
    };
    for (const Case& c : {
             Case{"/login.php", {"membername", "login"}, "a " + signOut},
             Case{"/login-plain.php", {"membername"}, "a " + signOut},
             Case{std::string(site::kSignOutTarget), {"status"}, "a " + origin + "/login.php\n"},
             Case{"/popup/chatrequest.php?mid=ann%20b", {"close", "dismiss"}, close, "ann b"},
             Case{"/popup/newmail.php?member=ann", {"close", "dismiss"}, close, "ann"},
             Case{"/popup/contactonline.php?mid=ann", {"close", "dismiss"}, close, "ann"},
             Case{
                 "/frames.php?src=/%3Fdo%3Dsignout%26logout%3D1", {"content"}, "iframe " + signOut},
             Case{"/close.php", {"status"}, ""},
         }) {
        const testsupport::HttpResult result = httpGet(port, c.target);
        ASSERT_EQ(result.status, 200) << c.target;
        const platform::web::HtmlDocument page(result.body, origin + c.target);
        for (const std::string& id : c.ids) {
            EXPECT_TRUE(page.elementById(id)) << c.target << " #" << id;
        }
        EXPECT_EQ(page.elementById("login").has_value(), c.target == "/login.php") << c.target;
        std::string references;
        for (const auto& link : page.links()) {
            references += link.element.tag() + " " + link.url + "\n";
        }
        for (const auto& frame : page.frames()) {
            references += frame.element.tag() + " " + frame.url + "\n";
        }
        EXPECT_EQ(references, c.references) << c.target;
        EXPECT_EQ(page.elementById("member") ? page.elementById("member")->text() : "", c.member);
    }
}

// A poll is answered only when its token is the MD5 of the date text (the date given or the site's
// own, in the pattern given, "/" removed), "_" and the member name as Windows-1252 bytes; the name
// is everything up to the last "&vb=", decoded where the transport encodes. A refused poll gets
// nothing and is logged.
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
        bool answered;
    };
    const Case cases[] = {
        {fixed, "membername=ann&vb=25dbb785aba7c735352d10be7d06e7e1", true},
        {fixed, "membername=ann%20%C3%A9&vb=bdbd231bbedb331a7c77afbf3eaa1884", true},
        {fixed, "membername=a&vb=b&vb=bf5bbb3df50b86b26ea8573b2aa05d1a", true},
        {fixed, "membername=100%41&vb=a448fe60003e7f56fa8b43f282f50130", true},
        {today, "membername=ann&vb=" + todays, true},
        // The token of the default pattern; the keys swapped.
        {fixed, "membername=ann&vb=65a23d9f6d0e58ab957a2b5b778fdcab", false},
        {fixed, "vb=25dbb785aba7c735352d10be7d06e7e1&membername=ann", false},
    };
    for (const Case& c : cases) {
        const auto port = c.site.port();
        httpGet(port, "/_control?alerts=vb_newmail");
        EXPECT_EQ(httpGet(port, std::string(site::kPollPath) + "?" + c.query).body,
                  c.answered ? "vb_newmail\n" : "")
            << c.query;
    }
    const std::string refused = httpGet(fixed.port(), "/_refused").body;
    EXPECT_EQ(refused.substr(0, refused.find('\n')),
              "member \"ann\" sent token \"65a23d9f6d0e58ab957a2b5b778fdcab\", not "
              "25dbb785aba7c735352d10be7d06e7e1 (date text \"02.01.2026\")");
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
