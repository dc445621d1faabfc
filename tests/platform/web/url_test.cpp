#include "platform/web/url.h"

#include <gtest/gtest.h>

namespace {

// A host that came in escaped goes out escaped: the parser's decoding never lets a blank, a
// control, a byte above 127 or a stray "%" through, and the result resolves to itself.
TEST(ResolveUrl, WhatAHostCarriesStaysEscapedAndResolvesToItself) {
    const std::string base = "http://site.example/dir/page.php";
    const std::pair<std::string, std::string> cases[] = {
        {"other.html", "http://site.example/dir/other.html"},
        {"  //o th ", "http://o%20th/"},
        {std::string("//o\x10x/p", 7), "http://o%10x/p"},
        {"//host%zz/p", "http://host%25zz/p"},
    };
    for (const auto& [reference, resolved] : cases) {
        EXPECT_EQ(platform::web::resolveUrl(reference, base), resolved) << reference;
        EXPECT_EQ(platform::web::resolveUrl(resolved, base), resolved) << reference;
    }
}

}  // namespace
