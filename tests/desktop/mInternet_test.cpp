#include "desktop/mInternet.h"

#include <gtest/gtest.h>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"
#include "support/headless_test.h"
#include "support/loopback_server.h"

namespace {

constexpr int16_t kUntouched = -7;

class CheckConnection : public testsupport::HeadlessTest {
  protected:
    testsupport::LoopbackServer server;
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
                      ProbeCase{"ClosedPort", "closed port", false, 0},
                      // No request can be made of it at all: that is no sign of being offline.
                      ProbeCase{"RegistryMiss", "Error", true, 0}),
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

}  // namespace
