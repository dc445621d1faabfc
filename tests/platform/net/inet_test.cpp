#include "platform/net/inet.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <thread>

#include "platform/net/http.h"
#include "platform/net/object.h"
#include "platform/ui/form.h"
#include "support/headless_test.h"
#include "support/loopback_server.h"
#include "support/run_time_error.h"

namespace {

class frmPoll : public win::Form {
  public:
    frmPoll() : Form("frmPoll") {}
    win::Inet inetRequest{this, "inetRequest"};
    win::NamedMethods methods{this, {{"HTML_ClickEvent", [this] { ++clicks; }}}};
    int clicks = 0;
};

class InetTest : public testsupport::HeadlessTest {
  protected:
    void TearDown() override {
        form->Unload();
        platform::net::setTransferLimits(saved_);
        HeadlessTest::TearDown();
    }
    std::string open(const std::string& url) {
        form->inetRequest.setURL(url);
        return form->inetRequest.OpenURL();
    }

    std::shared_ptr<frmPoll> form = win::New<frmPoll>();
    testsupport::LoopbackServer server;
    const platform::net::TransferLimits saved_ = platform::net::transferLimits();
};

TEST_F(InetTest, EveryStatusIsAnAnswer) {
    for (const std::string code : {"200", "404", "500"}) {
        EXPECT_EQ(open(server.url("/status/" + code)), "status " + code);
    }
}

TEST_F(InetTest, TheBodyIsReadThroughTheAnsiCodePage) {
    httplib::Server latin;
    latin.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("caf\xE9", "text/plain");
    });
    const int port = latin.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { latin.listen_after_bind(); });
    while (!latin.is_running()) {
        std::this_thread::yield();
    }
    EXPECT_EQ(open("http://127.0.0.1:" + std::to_string(port) + "/"), "café");
    latin.stop();
    thread.join();
}

// The error names the transfer's failure; the control stays usable.
TEST_F(InetTest, AFetchWithoutAnAnswerRaisesTheTransferError) {
    platform::net::setTransferLimits({.connectTimeout = std::chrono::milliseconds(300),
                                      .totalTimeout = std::chrono::milliseconds(300)});
    const testsupport::SilentServer silent;
    const std::string closed =
        "http://127.0.0.1:" + std::to_string(testsupport::closedLoopbackPort()) + "/";
    for (const auto& [url, code] : {std::pair{closed, "12029"}, {silent.url(), "12002"}}) {
        try {
            open(url);
            ADD_FAILURE() << url;
        } catch (const platform::RuntimeError& error) {
            EXPECT_EQ(error.number(), win::kInetRequestFailed);
            EXPECT_NE(error.description().find(code), std::string::npos) << error.description();
        }
        EXPECT_FALSE(form->inetRequest.StillExecuting());
        EXPECT_EQ(form->inetRequest.URL(), url);
        EXPECT_EQ(open(server.url("/status/200")), "status 200");
    }
}

// A reference to the control loads its window, but Cancel has nothing to end.
TEST_F(InetTest, TheUrlLastsWhileTheWindowIsLoaded) {
    form->inetRequest.Cancel();
    EXPECT_FALSE(form->IsLoaded());
    form->inetRequest.setURL("http://example.test/poll");
    EXPECT_TRUE(form->IsLoaded());
    form->inetRequest.Cancel();
    EXPECT_EQ(form->inetRequest.URL(), "http://example.test/poll");
    form->Unload();
    EXPECT_EQ(form->inetRequest.URL(), "");
}

// Only the window's own live table answers, without regard to case.
TEST_F(InetTest, CallByNameCallsAMethodTheWindowLists) {
    win::CallByName(*form, "HTML_ClickEvent");
    win::CallByName(*form, "html_clickevent");
    EXPECT_EQ(form->clicks, 2);
    const auto other = win::New<frmPoll>();
    auto extra = std::make_unique<win::NamedMethods>(
        other.get(), std::vector<win::NamedMethods::Entry>{{"Refresh", [] {}}});
    for (const auto* name : {"Refresh", "HTML_Click", ""}) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { win::CallByName(*form, name); }), 438) << name;
    }
    win::CallByName(*other, "Refresh");
    extra.reset();
    EXPECT_EQ(testsupport::errorNumberOf([&] { win::CallByName(*other, "Refresh"); }), 438);
}

}  // namespace
