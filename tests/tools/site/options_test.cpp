#include "site/options.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using site::SiteMode;
using std::chrono::milliseconds;

struct GoodCase {
    std::vector<std::string_view> args;
    int port;
    SiteMode mode;
    std::string portFile;
    milliseconds lifetime;
    bool help;
};

class GoodOptions : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodOptions, AreRead) {
    const GoodCase& c = GetParam();
    const site::SiteOptions options = site::parseOptions(c.args);
    EXPECT_EQ(options.port, c.port);
    EXPECT_EQ(options.mode, c.mode);
    EXPECT_EQ(options.portFile, c.portFile);
    EXPECT_EQ(options.lifetime, c.lifetime);
    EXPECT_EQ(options.help, c.help);
}

// By default the site answers on a free port for ten minutes; a tiny lifetime is still 1 ms.
INSTANTIATE_TEST_SUITE_P(
    SiteOptions, GoodOptions,
    ::testing::Values(GoodCase{{}, 0, SiteMode::Answer, "", milliseconds(600'000), false},
                      GoodCase{{"--port", "8080", "--mode", "hang", "--port-file", "/tmp/p",
                                "--lifetime", "2.5", "--help"},
                               8080,
                               SiteMode::Hang,
                               "/tmp/p",
                               milliseconds(2500),
                               true},
                      GoodCase{{"--port", "0", "--mode", "refuse"},
                               0,
                               SiteMode::Refuse,
                               "",
                               milliseconds(600'000),
                               false},
                      GoodCase{{"--port", "65535", "--mode", "answer", "--lifetime", "0.0001"},
                               65535,
                               SiteMode::Answer,
                               "",
                               milliseconds(1),
                               false}));

struct BadCase {
    std::vector<std::string_view> args;
    std::string_view named;  // what the message must name
};

class BadOptions : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadOptions, AreRefusedWithAMessageNamingTheFault) {
    try {
        site::parseOptions(GetParam().args);
        FAIL() << "accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().named), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    SiteOptions, BadOptions,
    ::testing::Values(
        BadCase{{"--porty", "1"}, "--porty"}, BadCase{{"8080"}, "8080"},
        BadCase{{"--port"}, "needs a value"}, BadCase{{"--port", "65536"}, "65536"},
        BadCase{{"--port", "80x"}, "80x"}, BadCase{{"--port", ""}, "--port"},
        BadCase{{"--mode", "Answer"}, "Answer"}, BadCase{{"--lifetime", "0"}, "--lifetime"},
        BadCase{{"--lifetime", "nan"}, "nan"}, BadCase{{"--lifetime", "86401"}, "86401"},
        BadCase{{"--lifetime", "5s"}, "5s"}, BadCase{{"--port-file", ""}, "--port-file"}));

}  // namespace
