#include "desktop/mInternet.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/net/http.h"
#include "platform/runtime/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"
#include "support/headless_test.h"
#include "support/loopback_server.h"
#include "support/run_time_error.h"

namespace {

using std::chrono::milliseconds;

constexpr int16_t kUntouched = -7;

class CheckConnection : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        saved_ = platform::net::transferLimits();
    }
    void TearDown() override {
        platform::net::setTransferLimits(saved_);
        HeadlessTest::TearDown();
    }

    testsupport::LoopbackServer server;

  private:
    platform::net::TransferLimits saved_;
};

struct ProbeCase {
    const char* name;
    std::string address;  // a path on the loopback server when it starts with "/"
    bool connected;
    int requestsReachingTheServer;
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckConnectionProbe : public CheckConnection,
                             public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(CheckConnectionProbe, CountsOnlyTransferFailuresAgainstTheConnection) {
    std::string address = GetParam().address;
    if (address.starts_with("/")) {
        address = server.url(address);
    } else if (address == "closed port") {
        address = "http://127.0.0.1:" + std::to_string(testsupport::closedLoopbackPort()) + "/";
    }
    int16_t iFlags = kUntouched;
    EXPECT_EQ(mInternet::CheckConnection(address, true, iFlags), GetParam().connected);
    EXPECT_EQ(iFlags, 2);
    EXPECT_EQ(server.requestCount(), GetParam().requestsReachingTheServer);
    if (GetParam().connected && GetParam().requestsReachingTheServer == 0) {
        // Refused by Open: the transport was never asked.
        EXPECT_TRUE(traced("http").empty()) << testing::PrintToString(traced("http"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CheckConnectionProbe,
    ::testing::Values(ProbeCase{"Ok", "/status/200", true, 1},
                      ProbeCase{"NotFound", "/status/404", true, 1},
                      ProbeCase{"ServerError", "/status/500", true, 1},
                      ProbeCase{"Redirected", "/redirect/2", true, 3},
                      ProbeCase{"ClosedPort", "closed port", false, 0},
                      // A blank after the host goes out encoded; the server answers 404.
                      ProbeCase{"BlankInPath", "/no such page", true, 1},
                      // No request can be made of these at all: that is no sign of being offline.
                      ProbeCase{"AddressWithLineBreak", "/status/200\r\nX-Injected: 1", true, 0},
                      ProbeCase{"AddressWithBlankInHost", "http://exa mple/", true, 0},
                      ProbeCase{"PortOutOfRange", "http://127.0.0.1:99999/", true, 0},
                      ProbeCase{"HostWithAngleBracket", "http://a<b/", true, 0},
                      ProbeCase{"HostWithBackslash", "http://a\\b/", true, 0},
                      ProbeCase{"EmptyHostAfterUserPart", "http://@/", true, 0},
                      ProbeCase{"UnclosedBracketHost", "http://[::1/", true, 0},
                      ProbeCase{"RegistryMiss", "Error", true, 0},
                      ProbeCase{"EmptyAddress", "", true, 0},
                      ProbeCase{"OtherScheme", "ftp://127.0.0.1/", true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckConnection, OfflineIsFalseWithoutAProbeAndLeavesTheFlags) {
    headless().setOnline(false);
    int16_t iFlags = kUntouched;
    EXPECT_FALSE(mInternet::CheckConnection(server.url("/status/200"), true, iFlags));
    EXPECT_EQ(iFlags, kUntouched);
    EXPECT_EQ(server.requestCount(), 0);
    EXPECT_TRUE(traced("http").empty());
}

TEST_F(CheckConnection, WithoutAProbeOnlineIsEnough) {
    headless().setConnectionFlags(0x42);
    int16_t iFlags = kUntouched;
    EXPECT_TRUE(mInternet::CheckConnection("Error", false, iFlags));
    EXPECT_EQ(iFlags, 0x42);
    EXPECT_TRUE(traced("http").empty());
}

TEST_F(CheckConnection, FlagsThatDoNotFitSixteenBitsAreSkipped) {
    headless().setConnectionFlags(0x10002);
    int16_t iFlags = kUntouched;
    EXPECT_TRUE(mInternet::CheckConnection(server.url("/status/200"), true, iFlags));
    EXPECT_EQ(iFlags, kUntouched);
}

TEST_F(CheckConnection, ASiteThatNeverAnswersIsOfflineAfterTheTimeOut) {
    testsupport::SilentServer silent;
    platform::net::TransferLimits limits;
    limits.connectTimeout = milliseconds(300);
    limits.totalTimeout = milliseconds(300);
    platform::net::setTransferLimits(limits);

    int16_t iFlags = kUntouched;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(mInternet::CheckConnection(silent.url(), true, iFlags));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, milliseconds(250));
    EXPECT_LT(elapsed, milliseconds(5000));
    EXPECT_EQ(iFlags, 2);
    EXPECT_NE(traced("http").back().find("error=12002"), std::string::npos);
}

}  // namespace

namespace {

class YieldingForm : public win::Form {
  public:
    YieldingForm() : Form("frmYield", {}) {
        tmrTick.onTimer = [this] { ++ticks; };
    }
    win::Timer tmrTick{this, "tmrTick", {.Interval = 1}};
    int ticks = 0;
};

TEST_F(CheckConnection, LetsTheLoopRunOnceBeforeTheProbe) {
    auto& form = win::Default<YieldingForm>();
    form.Load();
    clock().advance(5);  // the timer is due but nothing has run the loop yet
    int16_t iFlags = kUntouched;
    EXPECT_TRUE(mInternet::CheckConnection(server.url("/"), true, iFlags));
    EXPECT_EQ(form.ticks, 1);
    win::Unload(form);
}

class FailingForm : public win::Form {
  public:
    FailingForm() : Form("frmFailing", {}) {
        tmrFail.onTimer = [this] {
            tmrFail.setEnabled(false);
            platform::raise(platform::kOverflow);
        };
    }
    win::Timer tmrFail{this, "tmrFail", {.Interval = 1}};
};

TEST_F(CheckConnection, AnErrorRaisedInItsYieldLeavesTheResultAndEndsTheLoopAfterwards) {
    struct Case {
        std::string address;
        bool connected;
    };
    const std::string closedPort =
        "http://127.0.0.1:" + std::to_string(testsupport::closedLoopbackPort()) + "/";
    for (const Case& c : {Case{server.url("/status/404"), true}, Case{closedPort, false}}) {
        auto& form = win::Default<FailingForm>();
        form.tmrFail.setEnabled(true);
        clock().advance(5);  // due, and only CheckConnection's yield runs it
        int16_t iFlags = kUntouched;
        EXPECT_EQ(mInternet::CheckConnection(c.address, true, iFlags), c.connected) << c.address;
        EXPECT_EQ(iFlags, 2);
        // The loop ends with the handler's error.
        EXPECT_EQ(testsupport::errorNumberOf([] { win::RunMessageLoop(); }), platform::kOverflow);
    }
    EXPECT_EQ(server.requestCount(), 1);
    win::Unload(win::Default<FailingForm>());
}

}  // namespace
