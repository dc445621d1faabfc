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

constexpr int kUrlInvalid = static_cast<int>(0x80072EE5u);
constexpr int kUnspecified = static_cast<int>(0x80004005u);
constexpr int kInvalidArgument = static_cast<int>(0x80070057u);

// Each call goes to a fresh request object, opened first where the case says so.
TEST_F(XmlHttp, MisuseRaisesARunTimeError) {
    struct Case {
        bool opened;
        const char* member;
        std::vector<Variant> args;
        int error;
    };
    for (const Case& c :
         {Case{false, "Fetch", {}, 438}, Case{false, "Open", {"GET", "Error", false}, kUrlInvalid},
          Case{false, "Open", {"POST", "http://h/", false}, kInvalidArgument},
          Case{false, "Open", {"GET", "http://h/", true}, kInvalidArgument},
          Case{false, "Open", {"GET"}, 450},
          Case{false, "setRequestHeader", {"A", "b"}, kUnspecified},
          Case{true, "setRequestHeader", {"A", "b\r\nC: d"}, kInvalidArgument},
          Case{false, "send", {}, kUnspecified}, Case{true, "Status", {}, kUnspecified}}) {
        const auto fresh = win::CreateObject("Microsoft.XMLHTTP");
        if (c.opened) {
            CallByName(fresh, "Open", {"GET", "http://127.0.0.1:9/", false});
        }
        EXPECT_EQ(testsupport::errorNumberOf([&] { CallByName(fresh, c.member, c.args); }), c.error)
            << c.member;
    }
    // A failed Open forgets the one before it; Nothing has no members.
    CallByName(request, "Open", {"GET", "http://127.0.0.1:9/", false});
    EXPECT_EQ(testsupport::errorNumberOf([&] {
                  CallByName(request, "Open", {"GET", "", false});
              }),
              kUrlInvalid);
    EXPECT_EQ(testsupport::errorNumberOf([&] { CallByName(request, "send"); }), kUnspecified);
    EXPECT_EQ(testsupport::errorNumberOf([] { CallByName(nullptr, "send"); }), 91);
}

TEST(CreateObject, KnowsOnlyTheRequestComponent) {
    EXPECT_NE(win::CreateObject("microsoft.xmlhttp"), nullptr);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::CreateObject("Scripting.FileSystemObject"); }),
              429);
    EXPECT_EQ(testsupport::errorNumberOf([] { win::CreateObject(""); }), 429);
}

}  // namespace
