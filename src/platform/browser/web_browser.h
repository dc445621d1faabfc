#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/web/html_document.h"

namespace win {

// An object a page can call: its default member, the one a caller invokes without naming one.
class DispatchObject {
  public:
    virtual ~DispatchObject() = default;
    virtual void Invoke() = 0;
};

class WebBrowser;

// An element of the page a browser shows, or Nothing (getElementById found none). Any use of
// Nothing raises run-time error 91. The element belongs to the page: once the browser shows
// another page, using it raises 91 too.
class HTMLElement {
  public:
    HTMLElement() = default;
    bool IsNothing() const { return browser_ == nullptr; }
    // The text of an input or a textarea as the member left it ("" for another element).
    std::string Value() const;
    // The object whose default member the page calls at each click on the element; the page holds
    // it until the page goes.
    void setOnclick(std::shared_ptr<DispatchObject> handler) const;

  private:
    friend class WebBrowser;
    friend class HTMLDocument;
    HTMLElement(WebBrowser* browser, uint64_t page, std::string id)
        : browser_(browser), page_(page), id_(std::move(id)) {}
    WebBrowser& browser() const;

    WebBrowser* browser_ = nullptr;
    uint64_t page_ = 0;
    std::string id_;
};

// The page's document.
class HTMLDocument {
  public:
    // The first element with that id in the page itself (not in its frames); Nothing when none.
    HTMLElement getElementById(const std::string& id) const;

  private:
    friend class WebBrowser;
    HTMLDocument(WebBrowser* browser, uint64_t page) : browser_(browser), page_(page) {}

    WebBrowser* browser_;
    uint64_t page_;
};

// The embedded browser control. Navigate loads a page beside the message loop (the loop goes on
// meanwhile; on the virtual clock time stands still until it has loaded), with its frames and
// iframes, one level deep; it runs no page scripts. When everything has loaded, Busy turns false
// and DocumentComplete is raised for each frame in page order and then for the page itself. A
// navigation that fails (no answer, a page that cannot be parsed) shows an empty page at that
// address and ends the same way, so a wait for Busy always ends. A newer Navigate abandons an
// older one. The member's actions come as page input: typing into a field, clicking an element
// (its onclick object runs; a link is followed; a link to "javascript:window.close()" asks to
// close the window), following a link, the page asking to close its window (WindowClosing) or to
// open a new one (NewWindow2, after which nothing is shown).
//
// With a backend whose web engine shows pages (Feature::WebEngine) the engine loads the page,
// runs its scripts and follows its links; it hands the control the loaded markup of the page and
// its frames (PageLoaded), from which the document, DocumentComplete and Busy come as above, and
// reports typing, clicks and the page's wishes as page input. A new window a page asks for and
// NewWindow2 does not cancel opens in the user's browser.
class WebBrowser : public Control {
  public:
    WebBrowser(Form* form, std::string name, Design design = {});
    ~WebBrowser() override;

    platform::ControlKind Kind() const override { return platform::ControlKind::WebBrowser; }

    void Navigate(const std::string& URL);
    bool Busy() const { return loading_ != nullptr; }
    // The page shown; run-time error 91 before the first page has loaded.
    HTMLDocument Document();
    // The address of the page shown ("" before the first).
    std::string LocationURL() const;

    // pDisp tells the frame (its index in page order) from the page itself (nothing).
    std::function<void(std::optional<int32_t> pDisp, const std::string& URL)> onDocumentComplete;
    std::function<void(bool& Cancel)> onNewWindow2;
    std::function<void(bool IsChildWindow, bool& Cancel)> onWindowClosing;

    bool pageAction(const platform::InputEvent& event) override;

  protected:
    void formUnloaded() override;

  private:
    friend class HTMLElement;
    friend class HTMLDocument;

    struct Page {
        uint64_t serial = 0;
        std::optional<platform::web::HtmlDocument> document;
        std::vector<std::optional<platform::web::HtmlDocument>> frames;
        std::map<std::string, std::shared_ptr<DispatchObject>, std::less<>> onclick;
    };
    // A page on its way: the page and the frames still to come.
    struct Loading {
        Page page;
        std::string url;
        size_t framesLeft = 0;
    };

    void pageArrived(uint64_t serial, std::string url, std::string bytes, bool failed);
    void frameArrived(uint64_t serial, size_t index, std::string url, std::string bytes,
                      bool failed);
    void pageLoaded(const platform::input::PageLoaded& loaded);
    void complete();
    Page& shownPage(uint64_t serial);
    void click(const std::string& elementId);
    void follow(const std::string& url);
    void askToClose();
    void trace(const std::string& detail) const;

    // Shared with the transfers under way, which find it gone when the control has gone.
    std::shared_ptr<WebBrowser*> self_;
    uint64_t nextSerial_ = 1;
    std::unique_ptr<Loading> loading_;
    std::unique_ptr<Page> shown_;
};

}  // namespace win
