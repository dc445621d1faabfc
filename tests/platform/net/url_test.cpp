#include "platform/net/url.h"

#include <gtest/gtest.h>

#include "platform/runtime/text.h"

namespace {

using platform::net::kMaxUrlLength;
using platform::net::wireUrl;

TEST(WireUrl, LetsOnlyWellFormedHttpAddressesThrough) {
    const std::string longest = "http://h/" + std::string(kMaxUrlLength - 9, 'a');
    const std::optional<std::string> refused;
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"http://example.org/x.php?a=1&b=2", "http://example.org/x.php?a=1&b=2"},
        {"HTTPS://Example.org", "HTTPS://Example.org"},
        {"http://h", "http://h"},
        // UTF-8 and blanks are encoded past the host; a host keeps its UTF-8.
        {"http://h/?m=caf\xc3\xa9", "http://h/?m=caf%C3%A9"},
        {"http://h\xc3\xa4st/\xc3\xa4", "http://h\xc3\xa4st/%C3%A4"},
        {"http://h/a b", "http://h/a%20b"},
        // No http(s) scheme, no host, a blank in the host.
        {"Error", refused},
        {"ftp://h/x", refused},
        {"http://", refused},
        {"http:///x", refused},
        {"http://h h/", refused},
        {"http://h ", refused},
        // What the transport's own parser refuses.
        {"http://127.0.0.1:99999/", refused},
        {"http://a<b/", refused},
        // Control characters.
        {"http://h/\r\nX-Evil: 1", refused},
        {std::string("http://h/\0x", 11), refused},
        {"http://h/\x7f", refused},
        // The length limit, before and after encoding (the blank's two extra characters).
        {longest, longest},
        {longest + "a", refused},
        {longest.substr(0, longest.size() - 2) + " ", refused}};
    for (const auto& [url, wire] : cases) {
        EXPECT_EQ(wireUrl(url), wire) << platform::quoted(url.substr(0, 40));
    }
}

}  // namespace
