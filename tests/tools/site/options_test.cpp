#include "site/options.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using site::SiteMode;
using site::SiteOptions;

SiteOptions parse(std::vector<std::string_view> args) {
    return site::parseOptions(args);
}

TEST(SiteOptions, DefaultsAnswerOnAFreePortForTenMinutes) {
    const SiteOptions options = parse({});
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.mode, SiteMode::Answer);
    EXPECT_TRUE(options.portFile.empty());
    EXPECT_EQ(options.lifetime, std::chrono::minutes(10));
    EXPECT_FALSE(options.help);
}

TEST(SiteOptions, ReadsEveryOption) {
    const SiteOptions options = parse({"--port", "8080", "--mode", "hang", "--port-file", "/tmp/p",
                                       "--lifetime", "2.5", "--help"});
    EXPECT_EQ(options.port, 8080);
    EXPECT_EQ(options.mode, SiteMode::Hang);
    EXPECT_EQ(options.portFile, "/tmp/p");
    EXPECT_EQ(options.lifetime, std::chrono::milliseconds(2500));
    EXPECT_TRUE(options.help);
}

struct ModeCase {
    std::string_view text;
    SiteMode mode;
};

class SiteModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(SiteModes, AreNamedInLowerCase) {
    EXPECT_EQ(parse({"--mode", GetParam().text}).mode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(SiteOptions, SiteModes,
                         ::testing::Values(ModeCase{"answer", SiteMode::Answer},
                                           ModeCase{"refuse", SiteMode::Refuse},
                                           ModeCase{"hang", SiteMode::Hang}));

TEST(SiteOptions, PortRangeEndsAreAccepted) {
    EXPECT_EQ(parse({"--port", "0"}).port, 0);
    EXPECT_EQ(parse({"--port", "65535"}).port, 65535);
}

TEST(SiteOptions, TinyLifetimeIsStillAtLeastOneMillisecond) {
    EXPECT_EQ(parse({"--lifetime", "0.0001"}).lifetime, std::chrono::milliseconds(1));
}

struct BadCase {
    std::vector<std::string_view> args;
    std::string_view named;  // what the message must name
};

class BadOptions : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadOptions, AreRefusedWithAMessageNamingTheFault) {
    try {
        parse(GetParam().args);
        FAIL() << "accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().named), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    SiteOptions, BadOptions,
    ::testing::Values(BadCase{{"--porty", "1"}, "--porty"}, BadCase{{"8080"}, "8080"},
                      BadCase{{"--port"}, "needs a value"}, BadCase{{"--port", "65536"}, "65536"},
                      BadCase{{"--port", "-1"}, "-1"}, BadCase{{"--port", "80x"}, "80x"},
                      BadCase{{"--port", ""}, "--port"}, BadCase{{"--mode", "Answer"}, "Answer"},
                      BadCase{{"--mode", "close"}, "close"},
                      BadCase{{"--lifetime", "0"}, "--lifetime"},
                      BadCase{{"--lifetime", "-3"}, "-3"}, BadCase{{"--lifetime", "nan"}, "nan"},
                      BadCase{{"--lifetime", "86401"}, "86401"},
                      BadCase{{"--lifetime", "5s"}, "5s"},
                      BadCase{{"--port-file", ""}, "--port-file"}));

}  // namespace
