#include "site/options.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using site::SiteMode;
using std::chrono::milliseconds;

using Args = std::vector<std::string_view>;

// By default the site answers on a free port for ten minutes; a tiny lifetime is still 1 ms.
TEST(SiteOptions, AreRead) {
    const site::SiteOptions none = site::parseOptions(Args{});
    EXPECT_EQ(none.port, 0);
    EXPECT_EQ(none.mode, SiteMode::Answer);
    EXPECT_EQ(none.portFile, "");
    EXPECT_EQ(none.lifetime, milliseconds(600'000));
    EXPECT_FALSE(none.help);
    const site::SiteOptions all = site::parseOptions(
        Args{"--port", "65535", "--mode", "hang", "--port-file", "/tmp/p", "--lifetime", "2.5",
             "--date-pattern", "dd.MM.yyyy", "--date", "2024-02-29", "--help"});
    EXPECT_EQ(all.port, 65535);
    EXPECT_EQ(all.mode, SiteMode::Hang);
    EXPECT_EQ(all.portFile, "/tmp/p");
    EXPECT_EQ(all.lifetime, milliseconds(2500));
    EXPECT_EQ(all.tokenRule.datePattern, "dd.MM.yyyy");
    EXPECT_EQ(all.tokenRule.dates, std::vector{std::chrono::year(2024) / 2 / 29});
    EXPECT_TRUE(all.help);
    EXPECT_EQ(site::parseOptions(Args{"--mode", "refuse"}).mode, SiteMode::Refuse);
    EXPECT_EQ(site::parseOptions(Args{"--lifetime", "0.0001"}).lifetime, milliseconds(1));
}

TEST(SiteOptions, AreRefusedWithAMessageNamingTheFault) {
    struct Case {
        Args args;
        std::string_view named;  // what the message must name
    };
    for (const Case& c :
         {Case{{"--porty", "1"}, "--porty"}, Case{{"8080"}, "8080"},
          Case{{"--port"}, "needs a value"}, Case{{"--port", "65536"}, "65536"},
          Case{{"--port", "80x"}, "80x"}, Case{{"--port", ""}, "--port"},
          Case{{"--mode", "Answer"}, "Answer"}, Case{{"--lifetime", "0"}, "--lifetime"},
          Case{{"--lifetime", "nan"}, "nan"}, Case{{"--lifetime", "86401"}, "86401"},
          Case{{"--lifetime", "5s"}, "5s"}, Case{{"--port-file", ""}, "--port-file"},
          Case{{"--date-pattern", ""}, "--date-pattern"},
          Case{{"--date", "2023-02-29"}, "2023-02-29"},
          Case{{"--date", "2026-1-02"}, "2026-1-02"}}) {
        try {
            site::parseOptions(c.args);
            ADD_FAILURE() << c.named << " accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
    }
}

}  // namespace
