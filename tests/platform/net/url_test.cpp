#include "platform/net/url.h"

#include <gtest/gtest.h>

namespace {

using platform::net::wireUrl;

struct UrlCase {
    const char* name;
    std::string url;
    std::optional<std::string> wire;
};

void PrintTo(const UrlCase& c, std::ostream* os) {
    *os << c.name;
}

class WireUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(WireUrl, LetsOnlyWellFormedHttpAddressesThrough) {
    EXPECT_EQ(wireUrl(GetParam().url), GetParam().wire);
}

const std::string kLong = "http://h/" + std::string(platform::net::kMaxUrlLength, 'a');
const std::string kLongest = "http://h/" + std::string(platform::net::kMaxUrlLength - 9, 'a');
// As long as kLongest before encoding; the blank's two extra characters take it over.
const std::string kLongestWithBlank = kLongest.substr(0, kLongest.size() - 1) + " ";

INSTANTIATE_TEST_SUITE_P(
    Urls, WireUrl,
    ::testing::Values(
        UrlCase{"Http", "http://example.org/x.php?a=1&b=2", "http://example.org/x.php?a=1&b=2"},
        UrlCase{"HttpsUpperCase", "HTTPS://Example.org", "HTTPS://Example.org"},
        UrlCase{"HostOnly", "http://h", "http://h"},
        UrlCase{"Utf8IsEncoded", "http://h/?m=caf\xc3\xa9", "http://h/?m=caf%C3%A9"},
        UrlCase{"Utf8HostIsKept", "http://h\xc3\xa4st/\xc3\xa4", "http://h\xc3\xa4st/%C3%A4"},
        UrlCase{"RegistryMiss", "Error", std::nullopt}, UrlCase{"NoHost", "http://", std::nullopt},
        UrlCase{"NoHostBeforePath", "http:///x", std::nullopt},
        UrlCase{"OtherScheme", "ftp://h/x", std::nullopt},

        UrlCase{"BlankInPathIsEncoded", "http://h/a b", "http://h/a%20b"},

        UrlCase{"BlankInHost", "http://h h/", std::nullopt},
        UrlCase{"BlankInHostOnly", "http://h ", std::nullopt},
        // What the transport's own parser refuses.
        UrlCase{"PortOutOfRange", "http://127.0.0.1:99999/", std::nullopt},
        UrlCase{"HostWithAngleBracket", "http://a<b/", std::nullopt},

        UrlCase{"HeaderInjection", "http://h/\r\nX-Evil: 1", std::nullopt},

        UrlCase{"Nul", std::string("http://h/\0x", 11), std::nullopt},
        UrlCase{"Delete", "http://h/\x7f", std::nullopt}, UrlCase{"TooLong", kLong, std::nullopt},
        UrlCase{"LongestThatFits", kLongest, kLongest},
        UrlCase{"TooLongOnceEncoded", kLongestWithBlank, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
