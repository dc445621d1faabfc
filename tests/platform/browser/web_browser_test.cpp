#include "platform/browser/web_browser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/loop.h"
#include "support/headless_test.h"
#include "support/loopback_server.h"
#include "support/run_time_error.h"

namespace {

class frmPage : public win::Form {
  public:
    frmPage() : Form("frmPage") {
        wb.onDocumentComplete = [this](std::optional<int32_t> frame, const std::string& url) {
            completed.push_back((frame ? std::to_string(*frame) : std::string("page")) + " " + url +
                                (wb.Busy() ? " busy" : ""));
        };
        wb.onWindowClosing = [this](bool, bool&) { ++closing; };
        wb.onNewWindow2 = [this](bool&) { ++newWindows; };
    }
    win::WebBrowser wb{this, "wb"};
    std::vector<std::string> completed;
    int closing = 0;
    int newWindows = 0;
};

struct Counter : win::DispatchObject {
    int calls = 0;
    void Invoke() override { ++calls; }
};

class WebBrowserTest : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        form = &win::Default<frmPage>();
        form->Show();
    }
    // Navigates and yields until the page is in, as the sign-in step does.
    void load(const std::string& url) {
        form->wb.Navigate(url);
        while (form->wb.Busy()) {
            win::DoEvents();
        }
    }
    void act(const std::string& words) {
        headless().loadScript(std::to_string(clock().nowMs()) + " " + words);
        win::DoEvents();
    }
    testsupport::LoopbackServer site;
    frmPage* form = nullptr;
};

// Frames complete in page order before the page; the loop runs meanwhile and the virtual clock
// stands still; a failed load still ends with an empty page.
TEST_F(WebBrowserTest, APageCompletesAfterItsFramesWithoutMovingTheClock) {
    site.setPage("inner", "<p id=deep>x</p>");
    site.setPage("outer",
                 "<iframe src=inner></iframe><iframe></iframe><iframe "
                 "src=\"http://127.0.0.1:1/\"></iframe><p id=top>t</p>");
    const int64_t before = clock().nowMs();
    load(site.url("/page/outer"));
    EXPECT_EQ(clock().nowMs(), before);
    EXPECT_EQ(form->completed, (std::vector<std::string>{"0 " + site.url("/page/inner"),
                                                         "1 about:blank", "2 http://127.0.0.1:1/",
                                                         "page " + site.url("/page/outer")}));
    EXPECT_FALSE(form->wb.Document().getElementById("top").IsNothing());
    EXPECT_TRUE(form->wb.Document().getElementById("deep").IsNothing()) << "frames are apart";

    form->completed.clear();
    load("http://127.0.0.1:" + std::to_string(testsupport::closedLoopbackPort()) + "/");
    ASSERT_EQ(form->completed.size(), 1u);
    EXPECT_TRUE(form->wb.Document().getElementById("top").IsNothing());
}

// Typed text reads back through Value; Nothing and an element of a page that has gone raise 91.
TEST_F(WebBrowserTest, ElementsReadTheFieldsAsTypedAndBelongToTheirPage) {
    site.setPage("signin", "<input id=membername value=old><a id=login href=next>go</a>");
    site.setPage("next", "<p>next</p>");
    EXPECT_EQ(testsupport::errorNumberOf([&] { form->wb.Document(); }), 91);
    load(site.url("/page/signin"));
    const win::HTMLElement field = form->wb.Document().getElementById("membername");
    EXPECT_EQ(field.Value(), "old");
    act("page-type frmPage wb membername \"new name\"");
    EXPECT_EQ(field.Value(), "new name");
    EXPECT_EQ(
        testsupport::errorNumberOf([&] { form->wb.Document().getElementById("nothing").Value(); }),
        91);
    load(site.url("/page/next"));
    EXPECT_EQ(testsupport::errorNumberOf([&] { field.Value(); }), 91);
}

// The onclick object runs once per click and lives as long as the page; a link is followed after
// it, a closing link or the page's own request asks to close, a new window is only announced.
TEST_F(WebBrowserTest, ClicksCallTheirObjectAndFollowLinks) {
    site.setPage("signin",
                 "<a id=login href=next>go</a><b id=plain>b</b>"
                 "<a id=bye href=\"javascript:window.close()\">x</a>");
    site.setPage("next", "<p>next</p>");
    load(site.url("/page/signin"));
    auto counter = std::make_shared<Counter>();
    form->wb.Document().getElementById("plain").setOnclick(counter);
    const std::weak_ptr<Counter> held = counter;
    counter.reset();
    act("page-click frmPage wb plain");
    act("page-click frmPage wb plain");
    ASSERT_FALSE(held.expired());
    EXPECT_EQ(held.lock()->calls, 2);
    act("page-click frmPage wb bye");
    act("page-close frmPage wb");
    EXPECT_EQ(form->closing, 2);
    act("page-new-window frmPage wb http://elsewhere/");
    EXPECT_EQ(form->newWindows, 1);
    EXPECT_FALSE(form->wb.Busy());
    act("page-click frmPage wb login");
    while (form->wb.Busy()) {
        win::DoEvents();
    }
    EXPECT_EQ(form->wb.LocationURL(), site.url("/page/next"));
    EXPECT_TRUE(held.expired()) << "the page that held it has gone";
}

// A newer navigation abandons the older one: only the last page completes.
TEST_F(WebBrowserTest, ANewerNavigationTakesOver) {
    site.setPage("a", "<p id=a>a</p>");
    site.setPage("b", "<p id=b>b</p>");
    form->wb.Navigate(site.url("/page/a"));
    load(site.url("/page/b"));
    for (int i = 0; i < 20; ++i) {
        win::DoEvents();
    }
    EXPECT_EQ(form->completed, std::vector<std::string>{"page " + site.url("/page/b")});
    EXPECT_FALSE(form->wb.Document().getElementById("b").IsNothing());
}

}  // namespace
