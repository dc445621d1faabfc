#include "platform/shell/environ.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

namespace {

TEST(Environ, NamesMatchWithoutRegardToCase) {
    ::setenv("TARNIX_TEST_VALUE", "v1", 1);
    EXPECT_EQ(win::Environ("tarnix_test_value"), "v1");
    EXPECT_EQ(win::Environ("Tarnix_Test_Value"), "v1");
    ::setenv("tarnix_test_value", "v2", 1);
    EXPECT_EQ(win::Environ("tarnix_test_value"), "v2");  // the exact match wins
    EXPECT_EQ(win::Environ("TARNIX_TEST_VALUE"), "v1");
    ::unsetenv("TARNIX_TEST_VALUE");
    ::unsetenv("tarnix_test_value");
    EXPECT_EQ(win::Environ("TARNIX_TEST_VALUE"), "");
    EXPECT_EQ(win::Environ(""), "");
}

TEST(Environ, UserAndComputerNamesFallBackToTheLoginAndHostNames) {
    ::unsetenv("USERNAME");
    ::unsetenv("COMPUTERNAME");
    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(win::Environ("computername"), host);
    EXPECT_FALSE(win::Environ("username").empty());
    ::setenv("USERNAME", "", 1);  // set, even if empty: taken as it is
    EXPECT_EQ(win::Environ("username"), "");
    ::unsetenv("USERNAME");
}

}  // namespace
