#include "platform/browser/web_browser.h"

#include <type_traits>
#include <variant>

#include "platform/net/http.h"
#include "platform/net/url.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"

namespace win {

namespace {

constexpr int kObjectNotSet = 91;

[[noreturn]] void raiseNothing() {
    platform::raise(kObjectNotSet, "Object variable or With block variable not set");
}

// Page loads run on the platform's transfers beside the loop.
void joinTheLoop() {
    static const bool joined = [] {
        SetBackgroundWork({platform::net::transfersUnderWay, platform::net::progressTransfers});
        return true;
    }();
    (void)joined;
}

// Whether the backend's web engine loads and runs the pages (else the control loads them itself
// and runs no scripts).
bool engineShowsPages() {
    return platform::backend().features().has(platform::Feature::WebEngine);
}

// A page that could not be had: empty, at its address.
platform::web::HtmlDocument emptyPage(const std::string& url) {
    return platform::web::HtmlDocument("", url);
}

platform::web::HtmlDocument pageOf(const std::string& url, const std::string& bytes, bool failed) {
    if (!failed) {
        try {
            return platform::web::HtmlDocument(bytes, url);
        } catch (const platform::web::HtmlRefused&) {
        }
    }
    return emptyPage(url);
}

}  // namespace

std::string HTMLElement::Value() const {
    const auto& page = browser().shownPage(page_);
    return page.document->value(id_).value_or("");
}

void HTMLElement::setOnclick(std::shared_ptr<DispatchObject> handler) const {
    browser().shownPage(page_).onclick[id_] = std::move(handler);
}

WebBrowser& HTMLElement::browser() const {
    if (browser_ == nullptr) {
        raiseNothing();
    }
    return *browser_;
}

HTMLElement HTMLDocument::getElementById(const std::string& id) const {
    const auto& page = browser_->shownPage(page_);
    if (!page.document->elementById(id)) {
        return {};
    }
    return HTMLElement(browser_, page_, id);
}

WebBrowser::WebBrowser(Form* form, std::string name, Design design)
    : Control(form, std::move(name), std::move(design)),
      self_(std::make_shared<WebBrowser*>(this)) {}

WebBrowser::~WebBrowser() {
    *self_ = nullptr;
}

void WebBrowser::Navigate(const std::string& URL) {
    live();
    const uint64_t serial = nextSerial_++;
    loading_ = std::make_unique<Loading>();
    loading_->page.serial = serial;
    loading_->url = URL;
    trace("navigate url=" + platform::quoted(URL));
    if (engineShowsPages()) {
        platform::backend().navigatePage({Parent().hWnd(), Id(), serial, URL});
        return;
    }
    joinTheLoop();
    platform::net::startGet(
        URL, [alive = std::weak_ptr(self_), serial, URL](platform::net::HttpResult result) {
            const auto self = alive.lock();
            if (self && *self) {
                (*self)->pageArrived(serial, URL, std::move(result.body),
                                     result.error != platform::net::kTransferOk);
            }
        });
}

void WebBrowser::pageArrived(uint64_t serial, std::string url, std::string bytes, bool failed) {
    if (!loading_ || loading_->page.serial != serial) {
        return;  // a newer navigation took over
    }
    Page& page = loading_->page;
    page.document = pageOf(url, bytes, failed);
    const auto& frames = page.document->frames();
    page.frames.resize(frames.size());
    std::vector<std::pair<size_t, std::string>> fetches;
    for (size_t index = 0; index < frames.size(); ++index) {
        if (platform::net::isHttpUrl(frames[index].url)) {
            fetches.emplace_back(index, frames[index].url);
        } else {
            page.frames[index] = emptyPage(frames[index].url);
        }
    }
    loading_->framesLeft = fetches.size();
    if (fetches.empty()) {
        complete();
        return;
    }
    for (auto& [index, frameUrl] : fetches) {
        // Copied by name: clang cannot capture structured bindings.
        platform::net::startGet(frameUrl, [alive = std::weak_ptr(self_), serial, index = index,
                                           frameUrl = frameUrl](platform::net::HttpResult result) {
            const auto self = alive.lock();
            if (self && *self) {
                (*self)->frameArrived(serial, index, frameUrl, std::move(result.body),
                                      result.error != platform::net::kTransferOk);
            }
        });
    }
}

void WebBrowser::frameArrived(uint64_t serial, size_t index, std::string url, std::string bytes,
                              bool failed) {
    if (!loading_ || loading_->page.serial != serial) {
        return;
    }
    loading_->page.frames[index] = pageOf(url, bytes, failed);
    if (--loading_->framesLeft == 0) {
        complete();
    }
}

void WebBrowser::pageLoaded(const platform::input::PageLoaded& loaded) {
    if (loaded.serial == 0) {
        // The page went on by itself (a link, a form, a redirect of its own).
        loading_ = std::make_unique<Loading>();
        loading_->page.serial = nextSerial_++;
        loading_->url = loaded.url;
        trace("navigate url=" + platform::quoted(loaded.url) + " by=page");
    } else if (!loading_ || loading_->page.serial != loaded.serial) {
        return;  // a newer navigation took over
    }
    Page& page = loading_->page;
    page.document = pageOf(loaded.url, loaded.html, loaded.failed);
    const auto& frames = page.document->frames();
    page.frames.resize(frames.size());
    for (size_t index = 0; index < frames.size(); ++index) {
        const bool read = index < loaded.frames.size() && !loaded.frames[index].html.empty();
        page.frames[index] =
            read ? pageOf(loaded.frames[index].url, loaded.frames[index].html, false)
                 : emptyPage(frames[index].url);
    }
    complete();
}

// The page is shown, no longer busy; then its frames complete in page order, then the page.
void WebBrowser::complete() {
    const std::string url = loading_->url;
    shown_ = std::make_unique<Page>(std::move(loading_->page));
    loading_.reset();
    std::vector<std::string> frameUrls;
    for (const auto& frame : shown_->document->frames()) {
        frameUrls.push_back(frame.url);
    }
    for (size_t index = 0; index < frameUrls.size(); ++index) {
        trace("complete url=" + platform::quoted(frameUrls[index]) +
              " frame=" + std::to_string(index));
        if (onDocumentComplete) {
            onDocumentComplete(static_cast<int32_t>(index), frameUrls[index]);
        }
    }
    trace("complete url=" + platform::quoted(url) + " frame=page");
    if (onDocumentComplete) {
        onDocumentComplete(std::nullopt, url);
    }
}

HTMLDocument WebBrowser::Document() {
    live();
    if (!shown_) {
        raiseNothing();
    }
    return HTMLDocument(this, shown_->serial);
}

std::string WebBrowser::LocationURL() const {
    return shown_ ? shown_->document->url() : std::string();
}

WebBrowser::Page& WebBrowser::shownPage(uint64_t serial) {
    if (!shown_ || shown_->serial != serial) {
        raiseNothing();  // that page has gone
    }
    return *shown_;
}

bool WebBrowser::pageAction(const platform::InputEvent& event) {
    using namespace platform::input;
    return std::visit(
        [this](const auto& action) {
            using T = std::decay_t<decltype(action)>;
            if constexpr (std::is_same_v<T, PageType>) {
                if (shown_ && shown_->document->setValue(action.elementId, action.text)) {
                    trace("type id=" + platform::quoted(action.elementId));
                } else {
                    platform::trace("input", "ignored page-type: no such field");
                }
            } else if constexpr (std::is_same_v<T, PageClick>) {
                click(action.elementId);
            } else if constexpr (std::is_same_v<T, PageLink>) {
                const auto* links = shown_ ? &shown_->document->links() : nullptr;
                if (links && action.index >= 0 &&
                    static_cast<size_t>(action.index) < links->size()) {
                    follow((*links)[static_cast<size_t>(action.index)].url);
                } else {
                    platform::trace("input", "ignored page-link: no such link");
                }
            } else if constexpr (std::is_same_v<T, PageClose>) {
                askToClose();
            } else if constexpr (std::is_same_v<T, PageNewWindow>) {
                trace("new-window url=" + platform::quoted(action.url));
                bool cancel = false;
                if (onNewWindow2) {
                    onNewWindow2(cancel);
                }
                // A window the control does not make: a web page opens in the user's browser.
                if (!cancel && engineShowsPages() && platform::net::isHttpUrl(action.url)) {
                    platform::backend().openAddress(action.url);
                }
            } else if constexpr (std::is_same_v<T, PageLoaded>) {
                pageLoaded(action);
            } else {
                return false;
            }
            return true;
        },
        event);
}

void WebBrowser::click(const std::string& elementId) {
    if (!shown_ || !shown_->document->elementById(elementId)) {
        platform::trace("input", "ignored page-click: no such element");
        return;
    }
    trace("click id=" + platform::quoted(elementId));
    const uint64_t serial = shown_->serial;
    // Kept alive through the call: the handler may navigate away from the page that holds it.
    const auto found = shown_->onclick.find(elementId);
    if (found != shown_->onclick.end() && found->second) {
        const auto handler = found->second;
        handler->Invoke();
    }
    // A web engine follows the page's own links; without one the control does.
    if (!shown_ || shown_->serial != serial || engineShowsPages()) {
        return;
    }
    for (const auto& link : shown_->document->links()) {
        if (link.element.id() == elementId) {
            follow(link.url);
            return;
        }
    }
}

void WebBrowser::follow(const std::string& url) {
    if (url.rfind("javascript:", 0) == 0) {
        // No page script runs; the one that closes the window is the page asking to close it.
        if (url.find("window.close()") != std::string::npos) {
            askToClose();
        }
        return;
    }
    Navigate(url);
}

void WebBrowser::askToClose() {
    trace("closing");
    bool cancel = false;
    if (onWindowClosing) {
        onWindowClosing(false, cancel);
    }
}

void WebBrowser::formUnloaded() {
    // The page goes, and with it what it holds (the objects given as onclick).
    loading_.reset();
    shown_.reset();
}

void WebBrowser::trace(const std::string& detail) const {
    platform::trace("browser", "hwnd=" + std::to_string(Parent().view().hWnd) + " name=" + Name() +
                                   " " + detail);
}

}  // namespace win
