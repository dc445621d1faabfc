#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/user_input.h"
#include "platform/runtime/backend.h"

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _JSCValue JSCValue;

namespace platform {

// The browser controls' pages in WebKitGTK web views.
//
// Every view is related to the first one, so all share one web process and one web context,
// whose cookies and site data persist in the user's data folder ($XDG_DATA_HOME/tarnix/web).
// Views whose control has gone wait in a pool for the next control: WebKit keeps a little of every
// view ever made, and pop-ups come and go all day.
//
// What reaches the model: the loaded page's markup and its frames' (PageLoaded), a click on an
// element with an id, preceded by the values of the page's fields (PageType then PageClick), the
// page asking to close its window (window.close, replaced at document start) and asking for a new
// one (PageNewWindow). The script that reports them lives in a world of its own, out of the
// page's reach. Only http, https and about: pages are shown; every load ends within a time limit.
class DesktopWeb {
  public:
    explicit DesktopWeb(UserInput& input);
    ~DesktopWeb();
    DesktopWeb(const DesktopWeb&) = delete;
    DesktopWeb& operator=(const DesktopWeb&) = delete;

    // A view for the control (from the pool when one waits there); owned here.
    GtkWidget* take(int32_t hWnd, int32_t controlId);
    // The control has gone: its view goes back to the pool (out of its window).
    void release(GtkWidget* view);
    void navigate(const PageRequest& page);

    // The longest a page may take to load before it counts as failed.
    static constexpr unsigned kLoadLimitMs = 30'000;

  private:
    struct View {
        DesktopWeb* owner = nullptr;
        WebKitWebView* view = nullptr;
        int32_t hWnd = 0;
        int32_t controlId = 0;
        uint64_t serial = 0;  // the navigation under way, 0 for one the page made itself
        bool failed = false;  // the load under way failed
        bool timedOut = false;
        bool gaveWay = false;     // the load under way gave way to another
        unsigned limit = 0;       // the load's time limit
        uint64_t generation = 0;  // bumped when the view changes hands
    };

    View& make();
    // The view showing the control, or null.
    WebKitWebView* viewOf(int32_t controlId) const;
    void loadFinished(View& view);
    void message(View& view, JSCValue* value);
    void stopLimit(View& view);

    UserInput& input_;
    WebKitWebContext* context_ = nullptr;
    WebKitWebView* first_ = nullptr;
    std::map<WebKitWebView*, View*> views_;
    std::vector<View*> pool_;
    // Expires with this object, for answers that come later.
    const std::shared_ptr<DesktopWeb* const> self_ = std::make_shared<DesktopWeb* const>(this);
};

}  // namespace platform
