#include "platform/net/wininet.h"

#include <gtest/gtest.h>

#include "support/headless_test.h"

namespace {

class ConnectedState : public testsupport::HeadlessTest {};

TEST_F(ConnectedState, OnlineByDefaultWithALanConnectionOfflineZero) {
    int32_t flags = -1;
    EXPECT_NE(win::InternetGetConnectedState(flags, 0), 0);
    EXPECT_EQ(flags, win::INTERNET_CONNECTION_LAN);
    EXPECT_EQ(traced("net"), (std::vector<std::string>{"state connected=1 flags=2"}));
    headless().setOnline(false);
    EXPECT_EQ(win::InternetGetConnectedState(flags, 0), 0);
    EXPECT_EQ(flags, 0);
}

TEST(ConnectedStateConfig, TarnixOfflineSwitchesTheMachineOffline) {
    testsupport::ScopedEnvironment environment;
    for (const auto& [value, online] : std::vector<std::pair<const char*, bool>>{
             {"1", false}, {"0", true}, {"", true}, {nullptr, true}}) {
        environment.set("TARNIX_OFFLINE", value);
        EXPECT_EQ(platform::HeadlessConfig::fromEnvironment().online, online)
            << (value ? value : "unset");
    }
}

}  // namespace
