// The browser control when the backend's web engine loads and runs the pages: the control asks
// for a page and builds its document, events and Busy from what the engine reports.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/browser/web_browser.h"
#include "platform/headless/headless_backend.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/forwarding_backend.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"

namespace {

using namespace platform;

// A web engine in name: it notes what it is asked to show and to open.
class EngineStandIn final : public ForwardingBackend {
  public:
    EngineStandIn() : ForwardingBackend(std::make_unique<HeadlessBackend>()) {}
    Features features() const override {
        return {Feature::Windows, Feature::WebView, Feature::WebEngine, Feature::OpenAddress};
    }
    void navigatePage(const PageRequest& page) override { requests.push_back(page); }
    bool openAddress(std::string_view address) override {
        opened.emplace_back(address);
        return true;
    }
    std::vector<PageRequest> requests;
    std::vector<std::string> opened;
};

class frmEngine : public win::Form {
  public:
    frmEngine() : Form("frmEngine") {
        wb.onDocumentComplete = [this](std::optional<int32_t> frame, const std::string& url) {
            completed.push_back((frame ? std::to_string(*frame) : std::string("page")) + " " + url);
        };
        wb.onNewWindow2 = [this](bool& cancel) { cancel = cancelNewWindows; };
    }
    win::WebBrowser wb{this, "wb"};
    std::vector<std::string> completed;
    bool cancelNewWindows = false;
};

struct ReadsField : win::DispatchObject {
    explicit ReadsField(win::HTMLElement field) : field(std::move(field)) {}
    void Invoke() override { seen.push_back(field.Value()); }
    win::HTMLElement field;
    std::vector<std::string> seen;
};

constexpr const char* kSignIn =
    "<html><body><input id='name' value=''><input type='button' id='go' value='Go'>"
    "<a id='away' href='/elsewhere'>away</a><iframe src='/a'></iframe><iframe src='/b'></iframe>"
    "</body></html>";

class WebEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousClock_ = installClock(std::make_unique<VirtualClock>());
        auto engine = std::make_unique<EngineStandIn>();
        engine_ = engine.get();
        previousBackend_ = installBackend(std::move(engine));
        form = &win::Default<frmEngine>();
        form->Show();
    }
    void TearDown() override {
        installBackend(std::move(previousBackend_));
        installClock(std::move(previousClock_));
    }
    void loaded(uint64_t serial, const std::string& url, const std::string& html,
                std::vector<input::PageFrame> frames = {}, bool failed = false) {
        win::detail::dispatchInput(input::PageLoaded{form->hWnd(), form->wb.Id(), serial, url, html,
                                                     std::move(frames), failed});
    }
    void page(InputEvent event) { win::detail::dispatchInput(event); }

    EngineStandIn* engine_ = nullptr;
    frmEngine* form = nullptr;

  private:
    std::unique_ptr<Clock> previousClock_;
    std::unique_ptr<Backend> previousBackend_;
};

TEST_F(WebEngineTest, ThePageIsTheEnginesAndCompletesWithItsFramesOnlyForTheLatestNavigation) {
    form->wb.Navigate("http://site/first");
    form->wb.Navigate("http://site/login");
    ASSERT_EQ(engine_->requests.size(), 2u);
    EXPECT_EQ(engine_->requests[1].url, "http://site/login");
    EXPECT_EQ(engine_->requests[1].controlId, form->wb.Id());
    EXPECT_NE(engine_->requests[0].serial, engine_->requests[1].serial);
    // The first navigation's page arrives late: it changes nothing.
    loaded(engine_->requests[0].serial, "http://site/first", "<p id='old'></p>");
    EXPECT_TRUE(form->wb.Busy());
    EXPECT_TRUE(form->completed.empty());
    loaded(engine_->requests[1].serial, "http://site/login", kSignIn,
           {{"http://site/a", "<p id='in-a'></p>"}, {"http://site/b", ""}});
    EXPECT_FALSE(form->wb.Busy());
    EXPECT_EQ(form->completed, (std::vector<std::string>{"0 http://site/a", "1 http://site/b",
                                                         "page http://site/login"}));
    EXPECT_FALSE(form->wb.Document().getElementById("name").IsNothing());
    EXPECT_TRUE(form->wb.Document().getElementById("old").IsNothing());
}

TEST_F(WebEngineTest, APageTheEngineWentToByItselfCompletesAndAFailedOneIsEmpty) {
    loaded(0, "http://site/after-link", "<p id='here'></p>");
    EXPECT_EQ(form->completed, (std::vector<std::string>{"page http://site/after-link"}));
    EXPECT_FALSE(form->wb.Document().getElementById("here").IsNothing());
    form->wb.Navigate("http://site/gone");
    loaded(engine_->requests.back().serial, "http://site/gone", "<p id='x'></p>", {}, true);
    EXPECT_FALSE(form->wb.Busy());
    EXPECT_TRUE(form->wb.Document().getElementById("x").IsNothing());
}

TEST_F(WebEngineTest, AClickReadsTheFieldsAsTypedAndLeavesLinksToTheEngine) {
    form->wb.Navigate("http://site/login");
    loaded(engine_->requests.back().serial, "http://site/login", kSignIn);
    auto handler = std::make_shared<ReadsField>(form->wb.Document().getElementById("name"));
    form->wb.Document().getElementById("go").setOnclick(handler);
    form->wb.Document().getElementById("away").setOnclick(handler);
    const int32_t h = form->hWnd();
    const int32_t id = form->wb.Id();
    page(input::PageType{h, id, "name", "ann"});
    page(input::PageClick{h, id, "go"});
    page(input::PageClick{h, id, "away"});
    EXPECT_EQ(handler->seen, (std::vector<std::string>{"ann", "ann"}));
    // The link's page is for the engine to load: the control asked for nothing more.
    EXPECT_EQ(engine_->requests.size(), 1u);
}

TEST_F(WebEngineTest, ANewWindowNotCancelledOpensInTheUsersBrowser) {
    const int32_t h = form->hWnd();
    const int32_t id = form->wb.Id();
    page(input::PageNewWindow{h, id, "https://example.com/news"});
    form->cancelNewWindows = true;
    page(input::PageNewWindow{h, id, "https://example.com/other"});
    form->cancelNewWindows = false;
    page(input::PageNewWindow{h, id, "file:///etc/passwd"});
    EXPECT_EQ(engine_->opened, (std::vector<std::string>{"https://example.com/news"}));
}

}  // namespace
