#include "platform/net/http.h"

#include <gtest/gtest.h>

#include <chrono>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "support/headless_test.h"
#include "support/loopback_server.h"

namespace {

using namespace platform::net;
using std::chrono::milliseconds;

class Http : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        saved_ = transferLimits();
    }
    void TearDown() override {
        setTransferLimits(saved_);
        HeadlessTest::TearDown();
    }
    void limit(milliseconds total, size_t maxBody = size_t{1} << 20) {
        TransferLimits limits;
        limits.connectTimeout = std::min(limits.connectTimeout, total);
        limits.totalTimeout = total;
        limits.maxBodyBytes = maxBody;
        setTransferLimits(limits);
    }

    testsupport::LoopbackServer server;

  private:
    TransferLimits saved_;
};

TEST_F(Http, EveryStatusIsAnAnswerWithItsBody) {
    const auto result = httpGet(server.url("/status/500"));
    EXPECT_EQ(result.error, kTransferOk);
    EXPECT_EQ(result.status, 500);
    EXPECT_EQ(result.body, "status 500");
    EXPECT_EQ(traced("http").back(),
              "GET url=\"" + server.url("/status/500") + "\" status=500 bytes=10");
}

TEST_F(Http, RedirectsAreFollowedUpToTheLimit) {
    const auto followed = httpGet(server.url("/redirect/5"));
    EXPECT_EQ(followed.error, kTransferOk);
    EXPECT_EQ(followed.status, 200);
    EXPECT_EQ(followed.body, "landed");

    const auto tooMany = httpGet(server.url("/redirect/6"));
    EXPECT_EQ(tooMany.error, kHttpRedirectFailed);
    EXPECT_EQ(tooMany.status, 0);
    EXPECT_TRUE(tooMany.body.empty());
}

TEST_F(Http, AHugeAnswerIsCutAtTheCap) {
    limit(milliseconds(10000), 64 * 1024);
    const auto result = httpGet(server.url("/bytes/50000000"));
    EXPECT_EQ(result.error, kTransferOk);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body.size(), 64u * 1024);
    EXPECT_TRUE(result.truncated);
    EXPECT_NE(traced("http").back().find("bytes=65536 truncated=1"), std::string::npos);

    const auto small = httpGet(server.url("/bytes/65536"));
    EXPECT_EQ(small.body.size(), 65536u);
    EXPECT_FALSE(small.truncated);
}

// Nothing of these requests may reach the wire: the server never sees a request.
TEST_F(Http, UnsendableRequestsFailBeforeSending) {
    const std::pair<std::string, HttpHeaders> requests[] = {
        {"/status/200\nGET /status/500 HTTP/1.1", {}},
        {"/status/200", {{"X-A", "1\r\nX-Injected: 1"}}},
        {"/status/200", {{"X-A\nB", "1"}}}};
    for (const auto& [path, headers] : requests) {
        clearTrace();
        const auto result = httpGet(server.url(path), headers);
        EXPECT_GT(result.error, 12000);
        ASSERT_EQ(traced("http").size(), 1u);
        EXPECT_NE(traced("http")[0].find(" error=" + std::to_string(result.error)),
                  std::string::npos);
    }
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(Http, ABlankAfterTheHostGoesOutPercentEncoded) {
    const auto result = httpGet(server.url("/target?m=Ann Lee&d= x"));
    EXPECT_EQ(result.error, kTransferOk);
    EXPECT_EQ(result.body, "/target?m=Ann%20Lee&d=%20x");
}

// Answers the first request on each connection with fixed bytes and keeps the connection; a
// second request on it is reset, as by a site that dropped the idle connection meanwhile.
class CannedReplyServer {
  public:
    explicit CannedReplyServer(std::string reply) : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        ::listen(listener_, 8);
        url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
        thread_ = std::thread([this, reply = std::move(reply)] {
            for (int client; (client = ::accept(listener_, nullptr, nullptr)) >= 0;
                 ::close(client)) {
                char request[4096];
                if (::recv(client, request, sizeof request, 0) > 0) {
                    ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
                }
                const linger reset{1, 0};
                if (::recv(client, request, sizeof request, 0) > 0) {
                    ::setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
                }
            }
        });
    }
    ~CannedReplyServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    std::string url;

  private:
    int listener_;
    std::thread thread_;
};

TEST_F(Http, AFailedAnswerIsReportedWithItsOwnCodeAndReason) {
    struct Case {
        std::string reply;
        TransferError error;
        const char* reason;
    };
    const std::string found = "HTTP/1.1 302 Found\r\nContent-Length: 0\r\nLocation: ";
    for (const Case& c :
         {Case{"SSH-2.0-OpenSSH_9.2\r\n", kHttpInvalidServerResponse, "HTTP/0.9"},
          Case{"HTTP/7.1 200 OK\r\n\r\n", kHttpInvalidServerResponse, "HTTP version"},
          Case{found + "ftp://127.0.0.1/x\r\n\r\n", kInternetUnrecognizedScheme, "ftp"},
          Case{found + "/again\r\n\r\n", kHttpRedirectFailed, "redirects followed"}}) {
        CannedReplyServer canned(c.reply);
        EXPECT_EQ(httpGet(canned.url).error, c.error) << c.reply;
        EXPECT_NE(traced("http").back().find(c.reason), std::string::npos) << traced("http").back();
    }
}

TEST_F(Http, ASiteThatNeverAnswersTimesOut) {
    testsupport::SilentServer silent;
    limit(milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    const auto result = httpGet(silent.url());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.error, kInternetTimeout);
    EXPECT_GE(elapsed, milliseconds(250));
    EXPECT_LT(elapsed, milliseconds(5000));
    // The wait handed the backend a turn every few milliseconds to keep a screen drawn.
    EXPECT_GE(headless().responsiveCalls(), 10);
}

TEST(TransferLimitsEnvironment, TimeOutReplacesTheTotalAndCapsTheConnect) {
    struct Case {
        const char* value;
        long total;
        long connect;
    };
    testsupport::ScopedEnvironment environment;
    for (const Case& c :
         {Case{"2000", 2000, 2000}, Case{"30000", 30000, 5000}, Case{"0", 10000, 5000},
          Case{"-5", 10000, 5000}, Case{"12s", 10000, 5000}, Case{"600001", 10000, 5000}}) {
        environment.set("TARNIX_HTTP_TIMEOUT_MS", c.value);
        const TransferLimits limits = transferLimitsFromEnvironment();
        EXPECT_EQ(limits.totalTimeout, milliseconds(c.total)) << c.value;
        EXPECT_EQ(limits.connectTimeout, milliseconds(c.connect)) << c.value;
    }
    environment.set("TARNIX_HTTP_TIMEOUT_MS", nullptr);
    EXPECT_EQ(transferLimitsFromEnvironment().totalTimeout, milliseconds(10000));
}

}  // namespace
