#include "platform/shell/environ.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/headless_test.h"

namespace {

TEST(Environ, NamesMatchWithoutRegardToCaseAndTheExactMatchWins) {
    testsupport::ScopedEnvironment environment({{"TARNIX_TEST_VALUE", "v1"}});
    EXPECT_EQ(win::Environ("Tarnix_Test_Value"), "v1");
    environment.set("tarnix_test_value", "v2");
    EXPECT_EQ(win::Environ("tarnix_test_value"), "v2");
    EXPECT_EQ(win::Environ("TARNIX_TEST_VALUE"), "v1");
    environment.set("TARNIX_TEST_VALUE", nullptr);
    environment.set("tarnix_test_value", nullptr);
    EXPECT_EQ(win::Environ("TARNIX_TEST_VALUE"), "");
    EXPECT_EQ(win::Environ(""), "");
}

TEST(Environ, UserAndComputerNamesFallBackToTheLoginAndHostNames) {
    testsupport::ScopedEnvironment environment({{"USERNAME", nullptr}, {"COMPUTERNAME", nullptr}});
    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(win::Environ("computername"), host);
    EXPECT_FALSE(win::Environ("username").empty());
    environment.set("USERNAME", "");  // set, even if empty: taken as it is
    EXPECT_EQ(win::Environ("username"), "");
}

}  // namespace
