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
    bool online;
    int32_t connectionFlags;
    bool probe;
    std::string address;  // a path on the loopback server when it starts with "/"
    bool connected;
    int16_t flagsAfter;
    int requestsReachingTheServer;
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckConnectionCases : public CheckConnection,
                             public ::testing::WithParamInterface<ProbeCase> {};

// Only a transfer failure counts against the connection; an address no request can be made of is
// no sign of being offline.
TEST_P(CheckConnectionCases, AnswerFromTheConnectedStateAndTheProbe) {
    const ProbeCase& c = GetParam();
    headless().setOnline(c.online);
    headless().setConnectionFlags(c.connectionFlags);
    std::string address = c.address;
    if (address.starts_with("/")) {
        address = server.url(address);
    } else if (address == "closed port") {
        address = "http://127.0.0.1:" + std::to_string(testsupport::closedLoopbackPort()) + "/";
    }
    int16_t iFlags = kUntouched;
    EXPECT_EQ(mInternet::CheckConnection(address, c.probe, iFlags), c.connected);
    EXPECT_EQ(iFlags, c.flagsAfter);
    EXPECT_EQ(server.requestCount(), c.requestsReachingTheServer);
    if (c.connected && c.requestsReachingTheServer == 0) {
        // Refused by Open, or not probed: the transport was never asked.
        EXPECT_TRUE(traced("http").empty()) << testing::PrintToString(traced("http"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckConnectionCases,
    ::testing::Values(ProbeCase{"Ok", true, 2, true, "/status/200", true, 2, 1},
                      ProbeCase{"NotFound", true, 2, true, "/status/404", true, 2, 1},
                      ProbeCase{"ServerError", true, 2, true, "/status/500", true, 2, 1},
                      ProbeCase{"ClosedPort", true, 2, true, "closed port", false, 2, 0},
                      ProbeCase{"RegistryMiss", true, 2, true, "Error", true, 2, 0},
                      // Offline: no probe, and the flags are left alone.
                      ProbeCase{"Offline", false, 2, true, "/status/200", false, kUntouched, 0},
                      ProbeCase{"NoProbe", true, 0x42, false, "Error", true, 0x42, 0},
                      // Flags that do not fit 16 bits are skipped.
                      ProbeCase{"WideFlags", true, 0x10002, true, "/status/200", true, kUntouched,
                                1}),
    [](const auto& info) { return std::string(info.param.name); });

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
