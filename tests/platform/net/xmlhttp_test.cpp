#include "platform/net/xmlhttp.h"

#include <gtest/gtest.h>

#include "platform/runtime/errors.h"
#include "support/headless_test.h"
#include "support/loopback_server.h"
#include "support/run_time_error.h"

namespace {

using win::CallByName;
using win::Variant;

class XmlHttp : public testsupport::HeadlessTest {
  protected:
    std::shared_ptr<win::Object> request = win::CreateObject("Microsoft.XMLHTTP");
    testsupport::LoopbackServer server;

    Variant get(const std::string& url) {
        CallByName(request, "Open", {"get", url, false});
        CallByName(request, "setRequestHeader", {"Content-Type", "text/html"});
        CallByName(request, "send");
        return CallByName(request, "Status");
    }
};

TEST_F(XmlHttp, StatusAndTextOfAnAnswer) {
    EXPECT_EQ(CallByName(request, "readyState"), Variant(0));
    EXPECT_EQ(get(server.url("/status/404")), Variant(404));
    EXPECT_EQ(CallByName(request, "responseText"), Variant("status 404"));
    EXPECT_EQ(CallByName(request, "readyState"), Variant(4));
    EXPECT_EQ(get(server.url("/header/Content-Type")), Variant(200));
    EXPECT_EQ(CallByName(request, "ResponseText"), Variant("text/html"));
}

TEST_F(XmlHttp, ATransferFailureIsReportedAsStatusAbove12000) {
    const int port = testsupport::closedLoopbackPort();
    EXPECT_EQ(get("http://127.0.0.1:" + std::to_string(port) + "/"), Variant(12029));
    EXPECT_EQ(CallByName(request, "responseText"), Variant(""));
}

struct MisuseCase {
    const char* name;
    std::function<void(const std::shared_ptr<win::Object>&)> call;
    int error;
};

void PrintTo(const MisuseCase& c, std::ostream* os) {
    *os << c.name;
}

class XmlHttpMisuse : public XmlHttp, public ::testing::WithParamInterface<MisuseCase> {};

TEST_P(XmlHttpMisuse, RaisesARunTimeError) {
    EXPECT_EQ(testsupport::errorNumberOf([&] { GetParam().call(request); }), GetParam().error);
}

constexpr int kUrlInvalid = static_cast<int>(0x80072EE5u);
constexpr int kUnspecified = static_cast<int>(0x80004005u);
constexpr int kInvalidArgument = static_cast<int>(0x80070057u);

void openGood(const std::shared_ptr<win::Object>& r) {
    CallByName(r, "Open", {"GET", "http://127.0.0.1:9/", false});
}

INSTANTIATE_TEST_SUITE_P(
    Calls, XmlHttpMisuse,
    ::testing::Values(
        MisuseCase{"UnknownMember", [](auto& r) { CallByName(r, "Fetch"); }, 438},
        MisuseCase{"OpenRegistryMiss",
                   [](auto& r) {
                       CallByName(r, "Open", {"GET", "Error", false});
                   },
                   kUrlInvalid},
        MisuseCase{"OpenPost",
                   [](auto& r) {
                       CallByName(r, "Open", {"POST", "http://h/", false});
                   },
                   kInvalidArgument},
        MisuseCase{"OpenAsync",
                   [](auto& r) {
                       CallByName(r, "Open", {"GET", "http://h/", true});
                   },
                   kInvalidArgument},
        MisuseCase{"OpenOneArgument", [](auto& r) { CallByName(r, "Open", {"GET"}); }, 450},
        MisuseCase{"HeaderBeforeOpen",
                   [](auto& r) {
                       CallByName(r, "setRequestHeader", {"A", "b"});
                   },
                   kUnspecified},
        MisuseCase{"HeaderWithLineBreak",
                   [](auto& r) {
                       openGood(r);
                       CallByName(r, "setRequestHeader", {"A", "b\r\nC: d"});
                   },
                   kInvalidArgument},
        MisuseCase{"SendBeforeOpen", [](auto& r) { CallByName(r, "send"); }, kUnspecified},
        MisuseCase{"StatusBeforeSend",
                   [](auto& r) {
                       openGood(r);
                       CallByName(r, "Status");
                   },
                   kUnspecified},
        MisuseCase{"SendAfterAFailedOpen",
                   [](auto& r) {
                       openGood(r);
                       testsupport::errorNumberOf([&] {
                           CallByName(r, "Open", {"GET", "Error", false});
                       });
                       CallByName(r, "send");
                   },
                   kUnspecified},
        MisuseCase{"NothingObject", [](auto&) { CallByName(nullptr, "send"); }, 91}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CreateObject, KnowsOnlyTheRequestComponent) {
    EXPECT_NE(win::CreateObject("microsoft.xmlhttp"), nullptr);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::CreateObject("Scripting.FileSystemObject"); }),
              429);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::CreateObject(""); }), 429);
}

}  // namespace
