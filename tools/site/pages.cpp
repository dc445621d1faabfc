#include "site/pages.h"

#include <algorithm>
#include <array>
#include <string>

namespace site {

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kText = "text/plain; charset=utf-8";

std::string htmlPage(std::string_view title, std::string_view body) {
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    page += escapeHtml(title);
    page += "</title></head>\n<body>\n";
    page += body;
    page += "</body></html>\n";
    return page;
}

void homePage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    const bool signedOut = request.get_param_value("logout") == "1";
    response.set_content(
        htmlPage("Tarnix community", signedOut ? "<h1>Tarnix community</h1>\n"
                                                 "<p id=\"status\">You have signed out.</p>\n"
                                               : "<h1>Tarnix community</h1>\n"
                                                 "<p id=\"status\">Welcome.</p>\n"),
        kHtml);
}

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
        "<p><a id=\"signout\" href=\"/?do=signout&amp;logout=1\">Sign out</a></p>\n";
    return body;
}

void loginPage(SiteState&, const httplib::Request&, httplib::Response& response) {
    response.set_content(htmlPage("Sign in", signInForm(true)), kHtml);
}

void plainLoginPage(SiteState&, const httplib::Request&, httplib::Response& response) {
    response.set_content(htmlPage("Sign in", signInForm(false)), kHtml);
}

void pollPage(SiteState& state, const httplib::Request&, httplib::Response& response) {
    response.set_content(state.pollAnswer(), kText);
}

void popupPage(std::string_view title, std::string_view member, httplib::Response& response) {
    std::string body = "<h1>";
    body += escapeHtml(title);
    body += "</h1>\n<p id=\"member\">";
    body += escapeHtml(member);
    body +=
        "</p>\n"
        "<p><a id=\"close\" href=\"javascript:window.close()\">Close</a></p>\n";
    response.set_content(htmlPage(title, body), kHtml);
}

void chatRequestPage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    popupPage("Chat Request", request.get_param_value("mid"), response);
}

void newMailPage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    popupPage("New Mail", request.get_param_value("member"), response);
}

void contactOnlinePage(SiteState&, const httplib::Request& request, httplib::Response& response) {
    popupPage("Contact Online", request.get_param_value("mid"), response);
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

void requestsPage(SiteState& state, const httplib::Request& request, httplib::Response& response) {
    std::string text;
    for (const std::string& line : state.requests()) {
        text.append(line).push_back('\n');
    }
    if (request.get_param_value("clear") == "1") {
        state.clearRequests();
    }
    response.set_content(text, kText);
}

const std::array kPages{
    Page{"/", "home page; with logout=1 in the query it says the member signed out", homePage},
    Page{kLoginPath, "sign-in page: field \"membername\" and element \"login\"", loginPage},
    Page{kPlainLoginPath, "sign-in page without a \"login\" element", plainLoginPage},
    Page{kPollPath, "poll page: answers the text set through /_control", pollPage},
    Page{"/popup/chatrequest.php", "chat request pop-up page, member in ?mid=", chatRequestPage},
    Page{"/popup/newmail.php", "new mail pop-up page, member in ?member=", newMailPage},
    Page{"/popup/contactonline.php",
         "contact online pop-up page, member in ?mid=", contactOnlinePage},
    Page{"/_control", "sets the poll answer: ?alerts=m1,m2 or ?answer=TEXT", controlPage},
    Page{"/_requests", "lists the page requests served; ?clear=1 empties the list", requestsPage},
};

}  // namespace

std::span<const Page> pageTable() {
    return kPages;
}

void servePage(SiteState& state, const httplib::Request& request, httplib::Response& response) {
    if (!request.path.starts_with("/_")) {
        state.recordRequest(request.method + " " +
                            (request.target.empty() ? request.path : request.target));
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

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace site
