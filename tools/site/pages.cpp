#include "site/pages.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/text.h"
#include "site/poll_token.h"

namespace site {

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kText = "text/plain; charset=utf-8";

std::string signInLink(std::string_view text) {
    return "<p><a id=\"signin\" href=\"" + escapeHtml(kLoginPath) + "\">" + escapeHtml(text) +
           "</a></p>\n";
}

// Home page; also the sign-out page (logout=1) and where the plain sign-in form lands (membername).
void homePage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    std::string body;
    if (request.get_param_value("logout") == "1") {
        body = "<h1>Signed out</h1>\n<p id=\"status\">You have signed out.</p>\n" +
               signInLink("Sign in again");
    } else if (const std::string member = request.get_param_value("membername"); !member.empty()) {
        body = "<h1>Welcome</h1>\n<p id=\"status\">Welcome back, <span class=\"member\">" +
               escapeHtml(member) + "</span>.</p>\n";
    } else {
        body =
            "<h1>Tarnix community</h1>\n"
            "<p id=\"status\">Welcome. Chat, mail and friends in one place.</p>\n" +
            signInLink("Sign in");
    }
    response.set_content(htmlPage("Tarnix community", body), kHtml);
}

// The hooked form's "login" is a plain button: the program learns of the click, the page only
// says who signed in. The plain form submits to the home page instead.
std::string signInForm(bool withLoginElement) {
    std::string body =
        "<h1>Sign in</h1>\n"
        "<form action=\"/\" method=\"get\">\n"
        "<p><label for=\"membername\">Member name</label>\n"
        "<input type=\"text\" id=\"membername\" name=\"membername\" value=\"\"></p>\n";
    body += withLoginElement ? "<p><input type=\"button\" id=\"login\" value=\"Sign in\"></p>\n"
                             : "<p><input type=\"submit\" value=\"Sign in\"></p>\n";
    body +=
        "</form>\n"
        "<p id=\"signedin\" class=\"member\"></p>\n"
        "<p><a id=\"signout\" href=\"" +
        escapeHtml(kSignOutTarget) + "\">Sign out</a></p>\n";
    if (withLoginElement) {
        body +=
            "<script>\n"
            "document.getElementById(\"login\").addEventListener(\"click\", function () {\n"
            "  document.getElementById(\"signedin\").textContent =\n"
            "    \"Signed in as \" + document.getElementById(\"membername\").value;\n"
            "});\n"
            "</script>\n";
    }
    return body;
}

// A browser that keeps its cookies brings this one back on its next visit (listed by /_cookies).
void rememberVisitor(const httplib::Request& request, httplib::Response& response) {
    if (!request.has_header("Cookie")) {
        response.set_header("Set-Cookie", "tarnix_visitor=1; Max-Age=2592000; Path=/");
    }
}

void loginPage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    rememberVisitor(request, response);
    response.set_content(htmlPage("Sign in", signInForm(true)), kHtml);
}

void plainLoginPage(SiteState&, const httplib::Request&, httplib::Response& response) {
    response.set_content(htmlPage("Sign in", signInForm(false)), kHtml);
}

void pollPage(SiteState& state, const httplib::Request& request, httplib::Response& response) {
    response.set_content(pollTokenAccepted(state, request) ? state.pollAnswer() : "", kText);
}

// A pop-up page: its title, the member, a line of text, and two ways of closing the window.
void popupPage(std::string_view title, std::string_view member, std::string_view text,
               httplib::Response& response) {
    std::string body = "<h1>";
    body += escapeHtml(title);
    body += "</h1>\n<p>For <span id=\"member\" class=\"member\">";
    body += escapeHtml(member);
    body += "</span></p>\n<p>";
    body += escapeHtml(text);
    body +=
        "</p>\n"
        "<p><a id=\"close\" href=\"javascript:window.close()\">Close</a>\n"
        "<button id=\"dismiss\" type=\"button\">Dismiss</button></p>\n"
        "<script>\n"
        "document.getElementById(\"dismiss\").addEventListener(\"click\", function () {\n"
        "  window.close();\n"
        "});\n"
        "</script>\n";
    response.set_content(htmlPage(title, body), kHtml);
}

void chatRequestPage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    popupPage("Chat Request", request.get_param_value("mid"),
              "A member would like to chat with you.", response);
}

void newMailPage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    popupPage("New Mail", request.get_param_value("member"), "You have new mail in your inbox.",
              response);
}

void contactOnlinePage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    popupPage("Contact Online", request.get_param_value("mid"),
              "One of your contacts has come online.", response);
}

// A page with an iframe showing ?src=, a path on this site (the home page by default).
void framesPage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    const std::string src = request.has_param("src") ? request.get_param_value("src") : "/";
    if (!src.starts_with("/") || src.starts_with("//")) {
        response.status = 400;
        response.set_content("src must be a path on this site, beginning with one \"/\"\n", kText);
        return;
    }
    response.set_content(
        htmlPage("Framed page",
                 "<h1>Framed page</h1>\n<p>The page below is shown in a frame.</p>\n"
                 "<iframe id=\"content\" title=\"Framed content\" src=\"" +
                     escapeHtml(src) + "\"></iframe>\n"),
        kHtml);
}

// A page whose script asks to close the window it is shown in.
void closePage(SiteState&, const httplib::Request&, httplib::Response& response) {
    response.set_content(htmlPage("Goodbye",
                                  "<h1>Goodbye</h1>\n"
                                  "<p id=\"status\">This page asks to close its window.</p>\n"
                                  "<script>window.close();</script>\n"),
                         kHtml);
}

// alerts=a,b,c answers the markers one per line; answer=TEXT answers TEXT exactly.
void controlPage(SiteState& state, const httplib::Request& request, httplib::Response& response) {
    const bool alerts = request.has_param("alerts");
    const bool answer = request.has_param("answer");
    if (alerts && answer) {
        response.status = 400;
        response.set_content("give alerts or answer, not both\n", kText);
        return;
    }
    if (answer) {
        state.setPollAnswer(request.get_param_value("answer"));
    } else if (alerts) {
        std::string text;
        const std::string given = request.get_param_value("alerts");
        std::string_view list = given;
        while (!list.empty()) {
            const auto comma = list.find(',');
            const auto item = list.substr(0, comma);
            if (!item.empty()) {
                text.append(item).push_back('\n');
            }
            list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        }
        state.setPollAnswer(std::move(text));
    }
    response.set_content(state.pollAnswer(), kText);
}

// One line per entry, oldest first; ?clear=1 empties the list after answering it.
template <SiteState::Log log>
void listPage(SiteState& state, const httplib::Request& request, httplib::Response& response) {
    std::string text;
    for (const std::string& line : state.lines(log)) {
        text.append(line).push_back('\n');
    }
    if (request.get_param_value("clear") == "1") {
        state.clear(log);
    }
    response.set_content(text, kText);
}

const std::array kPages{
    Page{"/", "home page; with logout=1 the sign-out page, with membername a welcome", homePage},
    Page{kLoginPath,
         "sign-in page: field \"membername\" and element \"login\"; sets a visitor cookie",
         loginPage},
    Page{kPlainLoginPath, "sign-in page without a \"login\" element", plainLoginPage},
    Page{kPollPath, "poll page: answers the text set through /_control to a valid token", pollPage},
    Page{"/popup/chatrequest.php", "chat request pop-up page, member in ?mid=", chatRequestPage},
    Page{"/popup/newmail.php", "new mail pop-up page, member in ?member=", newMailPage},
    Page{"/popup/contactonline.php",
         "contact online pop-up page, member in ?mid=", contactOnlinePage},
    Page{"/frames.php", "a page with an iframe showing ?src= (a path, / by default)", framesPage},
    Page{"/close.php", "a page whose script asks to close its window", closePage},
    Page{"/_control", "sets the poll answer: ?alerts=m1,m2 or ?answer=TEXT", controlPage},
    Page{"/_requests", "lists the page requests served; ?clear=1 empties the list",
         listPage<SiteState::Log::Requests>},
    Page{"/_refused", "lists the polls refused; ?clear=1 empties the list",
         listPage<SiteState::Log::RefusedPolls>},
    Page{"/_cookies", "lists the cookies requests brought; ?clear=1 empties the list",
         listPage<SiteState::Log::Cookies>},
};

}  // namespace

bool pollTokenAccepted(SiteState& state, const httplib::Request& request) {
    const std::optional<PollQuery> query = parsePollQuery(request.target);
    if (!query) {
        state.record(SiteState::Log::RefusedPolls,
                     "no ?membername=NAME&vb=TOKEN in " + platform::quoted(request.target));
        return false;
    }
    const TokenRule& rule = state.tokenRule();
    std::string firstDateText;
    std::string firstToken;
    for (const std::chrono::year_month_day date :
         tokenDates(rule, std::chrono::system_clock::now())) {
        const std::string dateText = pollDateText(rule.datePattern, date);
        const std::string token = pollToken(dateText, query->memberName);
        if (token == query->token) {
            return true;
        }
        if (firstToken.empty()) {
            firstDateText = dateText;
            firstToken = token;
        }
    }
    state.record(SiteState::Log::RefusedPolls, "member " + platform::quoted(query->memberName) +
                                                   " sent token " + platform::quoted(query->token) +
                                                   ", not " + firstToken + " (date text " +
                                                   platform::quoted(firstDateText) + ")");
    return false;
}

std::span<const Page> pageTable() {
    return kPages;
}

void servePage(SiteState& state, const httplib::Request& request, httplib::Response& response) {
    if (!request.path.starts_with("/_")) {
        state.record(
            SiteState::Log::Requests,
            request.method + " " + (request.target.empty() ? request.path : request.target));
        if (request.has_header("Cookie")) {
            state.record(SiteState::Log::Cookies,
                         request.path + " " + request.get_header_value("Cookie"));
        }
    }
    if (request.method != "GET" && request.method != "HEAD") {
        response.status = 405;
        response.set_header("Allow", "GET, HEAD");
        response.set_content("only GET and HEAD\n", kText);
        return;
    }
    const auto page = std::find_if(kPages.begin(), kPages.end(),
                                   [&](const Page& p) { return p.path == request.path; });
    if (page == kPages.end()) {
        response.status = 404;
        response.set_content("no such page\n", kText);
        return;
    }
    response.status = 200;
    page->handler(state, request, response);
}

}  // namespace site
