// The faults mode on 127.0.0.1, fetched with libcurl as the program fetches: each fault reaches a
// client as what it stands for, and the pages around the polls are served as usual.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "site/listener.h"
#include "site/pages.h"
#include "site/poll_token.h"

namespace {

using site::Fault;

constexpr std::size_t kBodyCap = std::size_t{1} << 20;

struct Fetched {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string body;
    std::string headers;
};

std::size_t keepBody(char* data, std::size_t, std::size_t size, void* into) {
    auto& body = *static_cast<std::string*>(into);
    if (body.size() + size > kBodyCap) {
        return 0;  // as the program does: the rest of a longer answer is not read
    }
    body.append(data, size);
    return size;
}

std::size_t keepHeader(char* data, std::size_t, std::size_t size, void* into) {
    static_cast<std::string*>(into)->append(data, size);
    return size;
}

Fetched fetch(std::uint16_t port, const std::string& target) {
    Fetched fetched;
    CURL* curl = curl_easy_init();
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + target;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 300L);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &fetched.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, keepHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &fetched.headers);
    fetched.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &fetched.status);
    curl_easy_cleanup(curl);
    return fetched;
}

const auto kDate = std::chrono::year(2026) / 1 / 2;

std::string poll() {
    return std::string(site::kPollPath) +
           "?membername=ann&vb=" + site::pollToken(site::pollDateText("M/d/yyyy", kDate), "ann");
}

TEST(FaultListener, EachPollMeetsItsFault) {
    struct Case {
        Fault fault;
        CURLcode code;
        long status;
        std::size_t minBytes;
        std::size_t maxBytes;
    };
    const Case cases[] = {
        {Fault::Answer, CURLE_OK, 200, 0, 0},
        {Fault::Alerts, CURLE_OK, 200, 1, 200},
        {Fault::Hang, CURLE_OPERATION_TIMEDOUT, 0, 0, 0},
        {Fault::Trickle, CURLE_OPERATION_TIMEDOUT, 200, 1, 10},
        {Fault::Huge, CURLE_WRITE_ERROR, 200, kBodyCap - 64 * 1024, kBodyCap},
        {Fault::RedirectLoop, CURLE_TOO_MANY_REDIRECTS, 302, 0, 100},
        {Fault::Garbage, CURLE_UNSUPPORTED_PROTOCOL, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(site::faultName(c.fault)));
        site::SiteState state({"M/d/yyyy", {kDate}});
        const auto listener = site::startFaultListener(0, state, {c.fault, Fault::Answer});
        const Fetched first = fetch(listener->port(), poll());
        EXPECT_EQ(first.code, c.code) << curl_easy_strerror(first.code);
        EXPECT_EQ(first.status, c.status);
        EXPECT_GE(first.body.size(), c.minBytes);
        EXPECT_LE(first.body.size(), c.maxBytes);
        // The next poll is answered again, whatever the one before met.
        const Fetched second = fetch(listener->port(), poll());
        EXPECT_EQ(second.code, CURLE_OK);
        EXPECT_EQ(second.status, 200);
        listener->stop();
    }
}

TEST(FaultListener, AlertsCarryEveryMarkerAndANewContactEachTime) {
    site::SiteState state({"M/d/yyyy", {kDate}});
    const auto listener = site::startFaultListener(0, state, {Fault::Alerts});
    const std::string first = fetch(listener->port(), poll()).body;
    for (const char* marker :
         {"vb_chatrequest", "vb_newmail", "vb_genalert", "vb_contactonline="}) {
        EXPECT_NE(first.find(marker), std::string::npos) << marker;
    }
    EXPECT_NE(fetch(listener->port(), poll()).body, first);
    // A poll without a valid token gets no alerts.
    EXPECT_EQ(fetch(listener->port(), "/update.php?membername=ann&vb=0").body, "");
}

TEST(FaultListener, StaysAwayAfterThePollBeforeARefusalUntilResumed) {
    site::SiteState state({"M/d/yyyy", {kDate}});
    const auto listener = site::startFaultListener(0, state, {Fault::Answer, Fault::Refuse});
    EXPECT_EQ(fetch(listener->port(), poll()).code, CURLE_OK);
    EXPECT_EQ(fetch(listener->port(), poll()).code, CURLE_COULDNT_CONNECT);
    EXPECT_EQ(fetch(listener->port(), "/").code, CURLE_COULDNT_CONNECT);
    listener->resume();
    // Listening again takes a moment; a later refusal would be the next round's.
    Fetched again;
    for (int attempt = 0; attempt < 100 && again.status != 200; ++attempt) {
        again = fetch(listener->port(), "/_faults");
    }
    EXPECT_EQ(again.body, "answer 1\nrefuse 1\n");
}

TEST(FaultListener, ServesThePagesBesideThePolls) {
    site::SiteState state;
    const auto listener = site::startFaultListener(0, state, {Fault::Hang});
    const Fetched login = fetch(listener->port(), "/login.php");
    EXPECT_EQ(login.status, 200);
    EXPECT_NE(login.body.find("id=\"membername\""), std::string::npos);
    EXPECT_NE(login.headers.find("Set-Cookie: tarnix_visitor=1"), std::string::npos);
    const Fetched popup = fetch(listener->port(), "/popup/chatrequest.php?mid=b%20o");
    EXPECT_NE(popup.body.find(">b o<"), std::string::npos);
    EXPECT_EQ(fetch(listener->port(), "/missing").status, 404);
    EXPECT_EQ(fetch(listener->port(), "/_requests").body,
              "GET /login.php\nGET /popup/chatrequest.php?mid=b%20o\nGET /missing\n");
}

}  // namespace
