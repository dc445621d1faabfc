#include "site/pages.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Params = std::vector<std::pair<std::string, std::string>>;

httplib::Response serve(site::SiteState& state, const std::string& path, Params params = {},
                        const std::string& method = "GET", const std::string& cookie = "") {
    httplib::Request request;
    request.method = method;
    if (!cookie.empty()) {
        request.headers.emplace("Cookie", cookie);
    }
    request.path = path;
    request.target = path;
    for (const auto& [key, value] : params) {
        request.params.emplace(key, value);
        request.target += (request.target == path ? "?" : "&") + key + "=" + value;
    }
    httplib::Response response;
    site::servePage(state, request, response);
    return response;
}

const std::string kPopup(site::kPopupBase);

// Each page answers with its content type, holding the texts given and not the one to lack.
TEST(Site, PagesAnswerWithTheirContent) {
    struct Case {
        std::string path;
        Params params;
        int status;
        std::vector<std::string> contains;
        std::string lacks = "<never there>";
    };
    const Case cases[] = {
        {"/", {}, 200, {"Welcome"}, "signed out"},
        {"/", {{"do", "signout"}, {"logout", "1"}}, 200, {"signed out"}},
        {std::string(site::kLoginPath),
         {},
         200,
         {"id=\"login\"", "id=\"membername\"", "&amp;logout=1"}},
        {std::string(site::kPlainLoginPath), {}, 200, {"id=\"membername\""}, "id=\"login\""},
        // Pop-ups escape the member name; new mail reads it from ?member=, the others from ?mid=.
        {kPopup + "chatrequest.php",
         {{"mid", "ann<b>"}},
         200,
         {"Chat Request", "ann&lt;b&gt;", "window.close();\n"},
         "<b>"},
        {kPopup + "newmail.php", {{"member", "cy"}, {"mid", "x"}}, 200, {"New Mail", ">cy<"}},
        {kPopup + "contactonline.php", {{"mid", "cy"}}, 200, {"Contact Online", ">cy<"}},
        {std::string(site::kPollPath), {}, 200, {}},
        {"/frames.php", {{"src", "//elsewhere/"}}, 400, {}},
        // Paths are exact.
        {"/chatrequest.php", {}, 404, {}},
        {"/login.php/", {}, 404, {}}};
    for (const Case& c : cases) {
        site::SiteState state;
        const httplib::Response response = serve(state, c.path, c.params);
        const std::string type = response.get_header_value("Content-Type");
        EXPECT_EQ(response.status, c.status) << c.path;
        const bool html = c.status == 200 && c.path != site::kPollPath;
        EXPECT_TRUE(type.starts_with(html ? "text/html" : "text/plain")) << c.path << " " << type;
        for (const std::string& text : c.contains) {
            EXPECT_NE(response.body.find(text), std::string::npos) << text << "\n" << response.body;
        }
        EXPECT_EQ(response.body.find(c.lacks), std::string::npos) << c.lacks << "\n"
                                                                  << response.body;
    }
}

TEST(Site, ControlSetsThePollAnswer) {
    site::SiteState state({"M/d/yyyy", {std::chrono::year(2026) / 1 / 2}});
    const std::string poll(site::kPollPath);
    const Params token{{"membername", "x"}, {"vb", "fa6ff51a1d6e6427acf6eb6c7aedaaaa"}};
    EXPECT_EQ(serve(state, "/_control", {{"alerts", "vb_newmail,,vb_contactonline=ann;"}}).body,
              "vb_newmail\nvb_contactonline=ann;\n");
    // Polls see that answer until the control changes it.
    EXPECT_EQ(serve(state, poll, token).body, "vb_newmail\nvb_contactonline=ann;\n");
    // Alerts and a raw answer together are refused and change nothing.
    EXPECT_EQ(serve(state, "/_control", {{"alerts", "vb_newmail"}, {"answer", "x"}}).status, 400);
    EXPECT_EQ(state.pollAnswer(), "vb_newmail\nvb_contactonline=ann;\n");
    serve(state, "/_control", {{"alerts", ""}});
    EXPECT_EQ(serve(state, poll, token).body, "");
    const std::string raw = "VB_NEWMAIL vb_contactonline=no end, \r\n";
    serve(state, "/_control", {{"answer", raw}});
    EXPECT_EQ(serve(state, poll, token).body, raw);
    // Without parameters the control only reports the answer.
    EXPECT_EQ(serve(state, "/_control").body, raw);
    EXPECT_EQ(state.pollAnswer(), raw);
}

TEST(Site, LogsPageRequestsButNotControlsAndClearsOnlyWhenAsked) {
    site::SiteState state;
    serve(state, "/");
    serve(state, std::string(site::kPollPath), {{"membername", "a b"}, {"vb", "f00"}});
    serve(state, "/_control", {{"alerts", "x"}});
    serve(state, "/missing");
    serve(state, "/", {}, "POST");
    // Other methods than GET and HEAD are refused and change nothing.
    const httplib::Response post = serve(state, "/_control", {{"alerts", "y"}}, "POST");
    EXPECT_EQ(post.status, 405);
    EXPECT_EQ(post.get_header_value("Allow"), "GET, HEAD");
    EXPECT_EQ(state.pollAnswer(), "x\n");
    const std::string all = "GET /\nGET /update.php?membername=a b&vb=f00\nGET /missing\nPOST /\n";
    EXPECT_EQ(serve(state, "/_requests").body, all);
    EXPECT_EQ(serve(state, "/_requests", {{"clear", "1"}}).body, all);
    EXPECT_EQ(serve(state, "/_requests").body, "");
}

TEST(Site, RequestLogKeepsTheNewestUpToItsLimit) {
    site::SiteState state;
    for (std::size_t i = 0; i < site::SiteState::kRequestLogLimit + 5; ++i) {
        state.record(site::SiteState::Log::Requests, std::to_string(i));
    }
    const auto lines = state.lines(site::SiteState::Log::Requests);
    ASSERT_EQ(lines.size(), site::SiteState::kRequestLogLimit);
    EXPECT_EQ(lines.front(), "5");
    EXPECT_EQ(lines.back(), std::to_string(site::SiteState::kRequestLogLimit + 4));
}

TEST(Site, EscapingWritesTheFiveSpecialCharactersAsEntities) {
    EXPECT_EQ(site::escapeHtml(""), "");
    EXPECT_EQ(site::escapeHtml("plain é"), "plain é");
    EXPECT_EQ(site::escapeHtml("<a href='x'>&\"</a>"),
              "&lt;a href=&#39;x&#39;&gt;&amp;&quot;&lt;/a&gt;");
}

// The sign-in page hands a visitor without cookies one to bring back; /_cookies lists what came.
TEST(SitePages, TheSignInPageRemembersAVisitorAndTheCookiesThatCameAreListed) {
    site::SiteState state;
    EXPECT_EQ(serve(state, "/login.php").get_header_value("Set-Cookie"),
              "tarnix_visitor=1; Max-Age=2592000; Path=/");
    EXPECT_FALSE(
        serve(state, "/login.php", {}, "GET", "tarnix_visitor=1").has_header("Set-Cookie"));
    EXPECT_FALSE(serve(state, "/login-plain.php").has_header("Set-Cookie"));
    serve(state, "/", {}, "GET", "a=b");
    EXPECT_EQ(serve(state, "/_cookies").body, "/login.php tarnix_visitor=1\n/ a=b\n");
    EXPECT_EQ(serve(state, "/_cookies", {{"clear", "1"}}).body,
              "/login.php tarnix_visitor=1\n/ a=b\n");
    EXPECT_EQ(serve(state, "/_cookies").body, "");
}

}  // namespace
