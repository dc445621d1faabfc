#include "platform/shell/shell_execute.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/headless_test.h"

namespace {

class ShellExecute : public testsupport::HeadlessTest {};

// Only web addresses and bare host names reach the browser, each as it is; anything a shell could
// read more into, another verb or a text that is no address opens nothing.
TEST_F(ShellExecute, OpensWebAddressesOnlyAndNothingElse) {
    struct Case {
        std::optional<std::string_view> verb;
        std::string file;
        int32_t result;
        std::string opened;  // the address traced; empty when nothing opened
    };
    for (const Case& c : {
             Case{std::nullopt, "www.example.com", 42, "http://www.example.com"},
             Case{"open", "https://example.com/a?b=1&c", 42, "https://example.com/a?b=1&c"},
             Case{std::nullopt, "a b.example.com", win::SE_ERR_NOASSOC, ""},
             Case{std::nullopt, "$(rm -rf ~).example.com", win::SE_ERR_NOASSOC, ""},
             Case{std::nullopt, "x\";touch y;.example.com", win::SE_ERR_NOASSOC, ""},
             Case{std::nullopt, "localhost", win::SE_ERR_NOASSOC, ""},
             Case{std::nullopt, "http://example.com/\"a b", win::SE_ERR_NOASSOC, ""},
             Case{"print", "www.example.com", win::SE_ERR_NOASSOC, ""},
             Case{std::nullopt, "", win::SE_ERR_NOASSOC, ""},
         }) {
        clearTrace();
        EXPECT_EQ(
            win::ShellExecuteA(0, c.verb, c.file, std::nullopt, std::nullopt, win::SW_SHOWNORMAL),
            c.result)
            << c.file;
        EXPECT_EQ(traced("shell"),
                  c.opened.empty()
                      ? std::vector<std::string>{}
                      : std::vector<std::string>{"open address=\"" + c.opened + "\" ok=1"})
            << c.file;
    }
}

}  // namespace
