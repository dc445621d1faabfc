#include "platform/desktop/desktop_web.h"

#include <webkit2/webkit2.h>

#include <algorithm>
#include <string_view>

#include "platform/net/url.h"

namespace platform {

namespace {

// The world the reporting script lives in: the page's own scripts cannot see or call into it.
constexpr const char* kWorld = "tarnix";
constexpr const char* kHandler = "tarnix";
// What a page may hand the model at most.
constexpr size_t kMaxMarkup = 4u << 20;
constexpr size_t kMaxText = 64u << 10;
// The scripts below stop at the same counts, so a page cannot post more than is taken.
constexpr uint32_t kMaxFields = 256;
constexpr uint32_t kMaxFrames = 64;

// In the page's world: window.close() asks the program instead of being ignored by the engine.
constexpr const char* kCloseScript = R"(
window.close = function () { document.dispatchEvent(new CustomEvent('tarnix-close')); };
)";

// In the program's world: clicks on an element with an id (with the fields' values as they are
// at the click) and the page's wish to close.
constexpr const char* kReportScript = R"(
(function () {
  var post = function (message) { window.webkit.messageHandlers.tarnix.postMessage(message); };
  document.addEventListener('tarnix-close', function () { post({kind: 'close'}); });
  document.addEventListener('click', function (event) {
    var target = event.target;
    while (target && (target.nodeType !== 1 || !target.id)) { target = target.parentNode; }
    if (!target) { return; }
    var fields = {};
    var all = document.querySelectorAll('input[id],textarea[id]');
    var pressed = ['button', 'submit', 'reset', 'image', 'file'];
    for (var i = 0; i < all.length && i < 256; i++) {
      if (pressed.indexOf(all[i].type) < 0) { fields[all[i].id] = String(all[i].value); }
    }
    post({kind: 'click', id: target.id, fields: fields});
  }, true);
})();
)";

// The loaded page and its frames, in page order.
constexpr const char* kCollectScript = R"(
(function () {
  var markup = function (doc) {
    try { return doc && doc.documentElement ? doc.documentElement.outerHTML : ''; }
    catch (e) { return ''; }
  };
  var frames = [];
  var list = document.querySelectorAll('frame,iframe');
  for (var i = 0; i < list.length && i < 64; i++) {
    var url = list[i].src || '';
    var html = '';
    try { url = list[i].contentWindow.location.href; html = markup(list[i].contentDocument); }
    catch (e) {}
    frames.push({url: url, html: html});
  }
  return {url: location.href, html: markup(document), frames: frames};
})()
)";

bool shownScheme(std::string_view uri) {
    return uri.rfind("http://", 0) == 0 || uri.rfind("https://", 0) == 0 ||
           uri.rfind("about:", 0) == 0;
}

std::string textOf(JSCValue* object, const char* name, size_t limit) {
    JSCValue* value = jsc_value_object_get_property(object, name);
    std::string text;
    if (value != nullptr && jsc_value_is_string(value)) {
        gchar* chars = jsc_value_to_string(value);
        text.assign(chars, std::min(strlen(chars), limit + 1));
        g_free(chars);
    }
    if (value != nullptr) {
        g_object_unref(value);
    }
    // Longer than the limit: not taken at all.
    return text.size() > limit ? std::string() : text;
}

uint32_t lengthOf(JSCValue* array) {
    JSCValue* length = jsc_value_object_get_property(array, "length");
    const uint32_t count = length != nullptr && jsc_value_is_number(length)
                               ? static_cast<uint32_t>(std::max(0, jsc_value_to_int32(length)))
                               : 0;
    if (length != nullptr) {
        g_object_unref(length);
    }
    return count;
}

// A collection under way; its answer may come after the views are gone (the engine keeps a view
// alive for it), so it holds the owner only weakly.
struct Collecting {
    std::weak_ptr<DesktopWeb* const> web;
    WebKitWebView* view;
    uint64_t generation;
    uint64_t serial;
};

}  // namespace

DesktopWeb::DesktopWeb(UserInput& input) : input_(input) {
    const std::string data = std::string(g_get_user_data_dir()) + "/tarnix/web";
    const std::string cache = std::string(g_get_user_cache_dir()) + "/tarnix/web";
    WebKitWebsiteDataManager* manager = webkit_website_data_manager_new(
        "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr);
    context_ = webkit_web_context_new_with_website_data_manager(manager);
    webkit_cookie_manager_set_persistent_storage(
        webkit_website_data_manager_get_cookie_manager(manager), (data + "/cookies.sqlite").c_str(),
        WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    g_object_unref(manager);
}

DesktopWeb::~DesktopWeb() {
    for (auto& [widget, view] : views_) {
        stopLimit(*view);
        view->controlId = 0;
        // The engine may hold the view beyond this: nothing of it may reach the deleted record.
        g_signal_handlers_disconnect_by_data(widget, view);
        g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(widget),
                                             view);
        gtk_widget_destroy(GTK_WIDGET(widget));
        g_object_unref(widget);
        delete view;
    }
    g_object_unref(context_);
}

DesktopWeb::View& DesktopWeb::make() {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    WebKitUserScript* close =
        webkit_user_script_new(kCloseScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    WebKitUserScript* report = webkit_user_script_new_for_world(
        kReportScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kWorld, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, close);
    webkit_user_content_manager_add_script(content, report);
    webkit_user_script_unref(close);
    webkit_user_script_unref(report);

    auto* view = new View{this};
    // Related to the first view: one web process for all of them.
    GObject* made = first_ == nullptr
                        ? G_OBJECT(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context_,
                                                "user-content-manager", content, nullptr))
                        : G_OBJECT(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", first_,
                                                "settings", webkit_web_view_get_settings(first_),
                                                "user-content-manager", content, nullptr));
    view->view = WEBKIT_WEB_VIEW(g_object_ref_sink(made));
    g_object_unref(content);
    if (first_ == nullptr) {
        first_ = view->view;
        WebKitSettings* settings = webkit_web_view_get_settings(first_);
        // Software drawing: less memory, and no shared process lost to a GL fault.
        webkit_settings_set_hardware_acceleration_policy(settings,
                                                         WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
        webkit_settings_set_enable_developer_extras(settings, FALSE);
    }
    views_[view->view] = view;

    g_signal_connect(
        content, "script-message-received::tarnix",
        G_CALLBACK(+[](WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
            auto* each = static_cast<View*>(data);
            each->owner->message(*each, webkit_javascript_result_get_js_value(result));
        }),
        view);
    webkit_user_content_manager_register_script_message_handler_in_world(content, kHandler, kWorld);
    g_signal_connect(view->view, "load-changed",
                     G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer data) {
                         auto* each = static_cast<View*>(data);
                         if (event == WEBKIT_LOAD_FINISHED) {
                             each->owner->loadFinished(*each);
                         }
                     }),
                     view);
    g_signal_connect(
        view->view, "load-failed",
        G_CALLBACK(
            +[](WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer data) -> gboolean {
                auto* each = static_cast<View*>(data);
                // A load that gave way to another (or to a refused address) is no
                // failure: the other one reports.
                const bool gaveWay =
                    g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
                    g_error_matches(error, WEBKIT_POLICY_ERROR,
                                    WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
                if (gaveWay && !each->timedOut) {
                    each->gaveWay = true;
                } else {
                    each->failed = true;
                }
                return TRUE;  // no error page: the model shows an empty one
            }),
        view);
    g_signal_connect(view->view, "decide-policy",
                     G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer data) -> gboolean {
                         auto* each = static_cast<View*>(data);
                         if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
                             return FALSE;
                         }
                         WebKitNavigationAction* action =
                             webkit_navigation_policy_decision_get_navigation_action(
                                 WEBKIT_NAVIGATION_POLICY_DECISION(decision));
                         const std::string uri = webkit_uri_request_get_uri(
                             webkit_navigation_action_get_request(action));
                         if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
                             webkit_policy_decision_ignore(decision);
                             if (each->controlId != 0) {
                                 each->owner->input_.post(
                                     input::PageNewWindow{each->hWnd, each->controlId, uri});
                             }
                             return TRUE;
                         }
                         if (!shownScheme(uri)) {
                             webkit_policy_decision_ignore(decision);
                             return TRUE;
                         }
                         return FALSE;
                     }),
                     view);
    // A window the page opens by script without a policy decision: refused all the same.
    g_signal_connect(
        view->view, "create",
        G_CALLBACK(
            +[](WebKitWebView*, WebKitNavigationAction* action, gpointer data) -> GtkWidget* {
                auto* each = static_cast<View*>(data);
                if (each->controlId != 0) {
                    each->owner->input_.post(input::PageNewWindow{
                        each->hWnd, each->controlId,
                        webkit_uri_request_get_uri(webkit_navigation_action_get_request(action))});
                }
                return nullptr;
            }),
        view);
    g_signal_connect(view->view, "web-process-terminated",
                     G_CALLBACK(+[](WebKitWebView* widget, WebKitWebProcessTerminationReason,
                                    gpointer) { webkit_web_view_reload(widget); }),
                     nullptr);
    return *view;
}

GtkWidget* DesktopWeb::take(int32_t hWnd, int32_t controlId) {
    View* view = nullptr;
    if (pool_.empty()) {
        view = &make();
    } else {
        view = pool_.back();
        pool_.pop_back();
    }
    view->hWnd = hWnd;
    view->controlId = controlId;
    view->serial = 0;
    view->failed = view->timedOut = view->gaveWay = false;
    ++view->generation;
    return GTK_WIDGET(view->view);
}

void DesktopWeb::release(GtkWidget* widget) {
    const auto found = views_.find(WEBKIT_WEB_VIEW(widget));
    if (found == views_.end()) {
        return;
    }
    View& view = *found->second;
    stopLimit(view);
    view.controlId = 0;
    ++view.generation;
    if (GtkWidget* parent = gtk_widget_get_parent(widget)) {
        gtk_container_remove(GTK_CONTAINER(parent), widget);
    }
    webkit_web_view_load_uri(view.view, "about:blank");
    pool_.push_back(&view);
}

WebKitWebView* DesktopWeb::viewOf(int32_t controlId) const {
    for (const auto& [widget, view] : views_) {
        if (view->controlId == controlId && controlId != 0) {
            return widget;
        }
    }
    return nullptr;
}

void DesktopWeb::navigate(const PageRequest& page) {
    WebKitWebView* widget = viewOf(page.controlId);
    if (widget == nullptr) {
        // No view to show it in: the load fails at once, so a wait for Busy still ends.
        input_.post(
            input::PageLoaded{page.hWnd, page.controlId, page.serial, page.url, "", {}, true});
        return;
    }
    View& view = *views_.at(widget);
    if (!shownScheme(page.url)) {
        // Not shown at all: the load has failed at once.
        input_.post(
            input::PageLoaded{view.hWnd, view.controlId, page.serial, page.url, "", {}, true});
        return;
    }
    stopLimit(view);
    view.serial = page.serial;
    view.failed = view.timedOut = view.gaveWay = false;
    view.limit = g_timeout_add(
        kLoadLimitMs,
        [](gpointer data) -> gboolean {
            auto* each = static_cast<View*>(data);
            each->limit = 0;
            each->timedOut = true;
            webkit_web_view_stop_loading(each->view);
            return G_SOURCE_REMOVE;
        },
        &view);
    webkit_web_view_load_uri(widget, page.url.c_str());
}

void DesktopWeb::stopLimit(View& view) {
    if (view.limit != 0) {
        g_source_remove(view.limit);
        view.limit = 0;
    }
}

void DesktopWeb::loadFinished(View& view) {
    if (std::exchange(view.gaveWay, false) && !view.failed) {
        return;
    }
    stopLimit(view);
    if (view.controlId == 0) {
        return;
    }
    const char* uri = webkit_web_view_get_uri(view.view);
    const std::string url = uri != nullptr ? uri : "";
    if (view.serial == 0 && url == "about:blank") {
        return;  // the blank page a pooled view was cleared with, ending after it was taken
    }
    const uint64_t serial = std::exchange(view.serial, 0);
    if (view.failed || view.timedOut) {
        view.failed = view.timedOut = false;
        input_.post(input::PageLoaded{view.hWnd, view.controlId, serial, url, "", {}, true});
        return;
    }
    auto* collecting = new Collecting{self_, view.view, view.generation, serial};
    webkit_web_view_evaluate_javascript(
        view.view, kCollectScript, -1, kWorld, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* done = static_cast<Collecting*>(data);
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            const auto owner = done->web.lock();
            DesktopWeb* web = owner ? *owner : nullptr;
            const View* still = nullptr;  // the view, still showing the page collected
            if (web != nullptr) {
                const auto found = web->views_.find(done->view);
                if (found != web->views_.end() && found->second->generation == done->generation &&
                    found->second->controlId != 0) {
                    still = found->second;
                }
            }
            if (still != nullptr) {
                const View& each = *still;
                input::PageLoaded loaded{each.hWnd, each.controlId, done->serial};
                const char* uri = webkit_web_view_get_uri(done->view);
                loaded.url = uri != nullptr ? uri : "";
                if (value != nullptr && jsc_value_is_object(value)) {
                    loaded.html = textOf(value, "html", kMaxMarkup);
                    JSCValue* frames = jsc_value_object_get_property(value, "frames");
                    const uint32_t count = std::min(lengthOf(frames), kMaxFrames);
                    for (uint32_t index = 0; index < count; ++index) {
                        JSCValue* frame = jsc_value_object_get_property_at_index(frames, index);
                        loaded.frames.push_back(
                            {textOf(frame, "url", kMaxText), textOf(frame, "html", kMaxMarkup)});
                        g_object_unref(frame);
                    }
                    g_object_unref(frames);
                } else {
                    loaded.failed = true;
                }
                web->input_.post(std::move(loaded));
            }
            if (value != nullptr) {
                g_object_unref(value);
            }
            if (error != nullptr) {
                g_error_free(error);
            }
            delete done;
        },
        collecting);
}

void DesktopWeb::message(View& view, JSCValue* value) {
    const char* uri = webkit_web_view_get_uri(view.view);
    if (view.controlId == 0 || uri == nullptr || !net::isHttpUrl(uri) ||
        !jsc_value_is_object(value)) {
        return;
    }
    const std::string kind = textOf(value, "kind", 16);
    if (kind == "close") {
        input_.post(input::PageClose{view.hWnd, view.controlId});
        return;
    }
    if (kind != "click") {
        return;
    }
    const std::string id = textOf(value, "id", kMaxText);
    if (id.empty()) {
        return;
    }
    // The fields first: the click's handler reads them as they are now.
    JSCValue* fields = jsc_value_object_get_property(value, "fields");
    if (fields != nullptr && jsc_value_is_object(fields)) {
        gchar** names = jsc_value_object_enumerate_properties(fields);
        for (uint32_t index = 0; names != nullptr && names[index] != nullptr && index < kMaxFields;
             ++index) {
            input_.post(input::PageType{view.hWnd, view.controlId, names[index],
                                        textOf(fields, names[index], kMaxText)});
        }
        g_strfreev(names);
    }
    if (fields != nullptr) {
        g_object_unref(fields);
    }
    input_.post(input::PageClick{view.hWnd, view.controlId, id});
}

}  // namespace platform
