#include "site/pages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Params = std::vector<std::pair<std::string, std::string>>;

httplib::Response serve(site::SiteState& state, const std::string& path, Params params = {},
                        const std::string& method = "GET") {
    httplib::Request request;
    request.method = method;
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

struct PageCase {
    const char* name;
    std::string path;
    Params params;
    int status;
    std::string contentType;
    std::vector<std::string> contains;
    std::vector<std::string> lacks;
};

class Pages : public ::testing::TestWithParam<PageCase> {};

TEST_P(Pages, AnswerWithTheirContent) {
    const PageCase& c = GetParam();
    site::SiteState state;
    const httplib::Response response = serve(state, c.path, c.params);
    EXPECT_EQ(response.status, c.status);
    EXPECT_EQ(response.get_header_value("Content-Type").rfind(c.contentType, 0), 0u)
        << response.get_header_value("Content-Type");
    for (const std::string& text : c.contains) {
        EXPECT_NE(response.body.find(text), std::string::npos) << text << "\n" << response.body;
    }
    for (const std::string& text : c.lacks) {
        EXPECT_EQ(response.body.find(text), std::string::npos) << text << "\n" << response.body;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Site, Pages,
    ::testing::Values(
        PageCase{"Home", "/", {}, 200, "text/html", {"Welcome"}, {"signed out"}},
        PageCase{"SignedOut",
                 "/",
                 {{"do", "signout"}, {"logout", "1"}},
                 200,
                 "text/html",
                 {"signed out"},
                 {}},
        PageCase{"SignIn",
                 std::string(site::kLoginPath),
                 {},
                 200,
                 "text/html",
                 {"id=\"login\"", "id=\"membername\"", "&amp;logout=1"},
                 {}},
        PageCase{"SignInWithoutHook",
                 std::string(site::kPlainLoginPath),
                 {},
                 200,
                 "text/html",
                 {"id=\"membername\""},
                 {"id=\"login\""}},
        PageCase{"ChatRequest",
                 std::string(site::kPopupBase) + "chatrequest.php",
                 {{"mid", "ann<b>"}},
                 200,
                 "text/html",
                 {"Chat Request", "ann&lt;b&gt;"},
                 {"<b>"}},
        PageCase{"NewMail",
                 std::string(site::kPopupBase) + "newmail.php",
                 {{"member", "bo & \"al\""}},
                 200,
                 "text/html",
                 {"New Mail", "bo &amp; &quot;al&quot;"},
                 {}},
        PageCase{"ContactOnline",
                 std::string(site::kPopupBase) + "contactonline.php",
                 {{"mid", "cy"}},
                 200,
                 "text/html",
                 {"Contact Online", ">cy<"},
                 {}},
        PageCase{"NewMailKeyIsMemberNotMid",
                 std::string(site::kPopupBase) + "newmail.php",
                 {{"mid", "cy"}},
                 200,
                 "text/html",
                 {"New Mail"},
                 {">cy<"}},
        PageCase{"EmptyPollAnswer", std::string(site::kPollPath), {}, 200, "text/plain", {}, {}},
        PageCase{"UnknownPage", "/chatrequest.php", {}, 404, "text/plain", {}, {}},
        PageCase{"PathsAreExact", "/login.php/", {}, 404, "text/plain", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Site, PollPageAnswersTheMarkersSetThroughTheControl) {
    site::SiteState state;
    EXPECT_EQ(serve(state, "/_control", {{"alerts", "vb_newmail,,vb_contactonline=ann;"}}).body,
              "vb_newmail\nvb_contactonline=ann;\n");
    const std::string poll(site::kPollPath);
    EXPECT_EQ(serve(state, poll, {{"membername", "x"}, {"vb", "0"}}).body,
              "vb_newmail\nvb_contactonline=ann;\n");
    // Later polls see the same answer until the control changes it.
    EXPECT_EQ(serve(state, poll).body, "vb_newmail\nvb_contactonline=ann;\n");
    serve(state, "/_control", {{"alerts", ""}});
    EXPECT_EQ(serve(state, poll).body, "");
}

TEST(Site, ControlSetsARawAnswerExactly) {
    site::SiteState state;
    const std::string raw = "VB_NEWMAIL vb_contactonline=no end, \r\n";
    serve(state, "/_control", {{"answer", raw}});
    EXPECT_EQ(serve(state, std::string(site::kPollPath)).body, raw);
}

TEST(Site, ControlRefusesAlertsAndAnswerTogetherAndKeepsTheAnswer) {
    site::SiteState state;
    serve(state, "/_control", {{"alerts", "vb_genalert"}});
    const httplib::Response response =
        serve(state, "/_control", {{"alerts", "vb_newmail"}, {"answer", "x"}});
    EXPECT_EQ(response.status, 400);
    EXPECT_EQ(state.pollAnswer(), "vb_genalert\n");
}

TEST(Site, ControlWithoutParametersOnlyReportsTheAnswer) {
    site::SiteState state;
    state.setPollAnswer("vb_chatrequest");
    EXPECT_EQ(serve(state, "/_control").body, "vb_chatrequest");
    EXPECT_EQ(state.pollAnswer(), "vb_chatrequest");
}

TEST(Site, LogsPageRequestsButNotControls) {
    site::SiteState state;
    serve(state, "/");
    serve(state, std::string(site::kPollPath), {{"membername", "a b"}, {"vb", "f00"}});
    serve(state, "/_control", {{"alerts", "x"}});
    serve(state, "/missing");
    serve(state, "/", {}, "POST");
    EXPECT_EQ(serve(state, "/_requests").body,
              "GET /\nGET /update.php?membername=a b&vb=f00\nGET /missing\nPOST /\n");
}

TEST(Site, RequestListClearsOnlyWhenAsked) {
    site::SiteState state;
    serve(state, "/");
    EXPECT_EQ(serve(state, "/_requests", {{"clear", "1"}}).body, "GET /\n");
    EXPECT_EQ(serve(state, "/_requests").body, "");
}

TEST(Site, RequestLogKeepsTheNewestUpToItsLimit) {
    site::SiteState state;
    for (std::size_t i = 0; i < site::SiteState::kRequestLogLimit + 5; ++i) {
        state.recordRequest(std::to_string(i));
    }
    const auto lines = state.requests();
    ASSERT_EQ(lines.size(), site::SiteState::kRequestLogLimit);
    EXPECT_EQ(lines.front(), "5");
    EXPECT_EQ(lines.back(), std::to_string(site::SiteState::kRequestLogLimit + 4));
}

TEST(Site, OtherMethodsThanGetAndHeadAreRefused) {
    site::SiteState state;
    const httplib::Response response = serve(state, "/_control", {{"alerts", "x"}}, "POST");
    EXPECT_EQ(response.status, 405);
    EXPECT_EQ(response.get_header_value("Allow"), "GET, HEAD");
    EXPECT_EQ(state.pollAnswer(), "");
}

TEST(Site, PageTableHasNoPathTwice) {
    std::set<std::string_view> paths;
    for (const site::Page& page : site::pageTable()) {
        EXPECT_TRUE(paths.insert(page.path).second) << page.path;
        EXPECT_TRUE(page.path.starts_with("/")) << page.path;
    }
}

struct EscapeCase {
    std::string_view in;
    std::string_view out;
};

class Escapes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Escapes, WriteTheFiveSpecialCharactersAsEntities) {
    EXPECT_EQ(site::escapeHtml(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Site, Escapes,
                         ::testing::Values(EscapeCase{"", ""}, EscapeCase{"plain é", "plain é"},
                                           EscapeCase{"<a href='x'>&\"</a>",
                                                      "&lt;a href=&#39;x&#39;&gt;&amp;&quot;&lt;/"
                                                      "a&gt;"}));

}  // namespace
