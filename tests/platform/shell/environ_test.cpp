#include "platform/shell/environ.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

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

// Puts the user and computer names of the environment back as they were.
class EnvironNames : public ::testing::Test {
  protected:
    void SetUp() override {
        for (auto& [name, value] : saved_) {
            const char* now = std::getenv(name);
            value = now ? std::optional<std::string>(now) : std::nullopt;
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }

  private:
    std::array<std::pair<const char*, std::optional<std::string>>, 2> saved_{
        {{"USERNAME", std::nullopt}, {"COMPUTERNAME", std::nullopt}}};
};

TEST_F(EnvironNames, UserAndComputerNamesFallBackToTheLoginAndHostNames) {
    ::unsetenv("USERNAME");
    ::unsetenv("COMPUTERNAME");
    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(win::Environ("computername"), host);
    EXPECT_FALSE(win::Environ("username").empty());
    ::setenv("USERNAME", "", 1);  // set, even if empty: taken as it is
    EXPECT_EQ(win::Environ("username"), "");
}

}  // namespace
