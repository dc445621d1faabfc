// The window model's contract on the desktop backend, in a desktop session of its own
// (scripts/desktop-session): the driver acts on the toolkit's widgets as a user does, so what it
// does goes through the same signals as a real click, and the model hears of it from the backend.
// The tray icon is the toolkit's status icon, which it marks deprecated.
#define GDK_DISABLE_DEPRECATION_WARNINGS
#include <gtk/gtk.h>

#include <csignal>

#include "backend_contract.h"
#include "platform/desktop/desktop_backend.h"
#include "platform/desktop/desktop_dialogs.h"
#include "platform/desktop/desktop_tray.h"
#include "platform/desktop/desktop_windows.h"
#include "platform/runtime/forwarding_backend.h"

namespace desktop_contract {

using namespace platform;

// A user who answers the next box or dialog when it opens.
class AnsweringUser final : public ForwardingBackend {
  public:
    AnsweringUser(std::unique_ptr<DesktopBackend> desktop, DesktopBackend& inner)
        : ForwardingBackend(std::move(desktop)), desktop_(inner) {}
    // A press still to come must not reach the next test's backend.
    ~AnsweringUser() override {
        for (const guint id : presses_) {
            if (GSource* pending = g_main_context_find_source_by_id(nullptr, id)) {
                g_source_destroy(pending);
            }
        }
    }

    void openMessageBox(const MessageBoxRequest& box) override {
        ForwardingBackend::openMessageBox(box);
        if (!boxAnswers.empty()) {
            const auto [answer, holdMs] = boxAnswers.front();
            boxAnswers.erase(boxAnswers.begin());
            pressLater(box.id, answer, holdMs);
        }
    }
    void openFileDialog(const FileDialogRequest& dialog) override {
        ForwardingBackend::openFileDialog(dialog);
        GtkWidget* shown = desktop_.dialogs().open().at(dialog.id);
        if (dialogAnswers.empty() || !dialogAnswers.front()) {
            pressLater(dialog.id, GTK_RESPONSE_CANCEL, 0);
        } else {
            // The chooser takes the file once it has read the folder.
            gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(shown), dialogAnswers.front()->c_str());
            pressLater(dialog.id, GTK_RESPONSE_ACCEPT, 200);
        }
        if (!dialogAnswers.empty()) {
            dialogAnswers.erase(dialogAnswers.begin());
        }
    }

    std::vector<std::pair<int, int64_t>> boxAnswers;
    std::vector<std::optional<std::string>> dialogAnswers;

  private:
    struct Press {
        AnsweringUser* user;
        int32_t id;
        int response;
    };
    void pressLater(int32_t id, int response, int64_t holdMs) {
        presses_.push_back(g_timeout_add_full(
            G_PRIORITY_DEFAULT, static_cast<guint>(holdMs),
            [](gpointer data) -> gboolean {
                const auto* press = static_cast<Press*>(data);
                const auto& open = press->user->desktop_.dialogs().open();
                if (const auto found = open.find(press->id); found != open.end()) {
                    gtk_dialog_response(GTK_DIALOG(found->second), press->response);
                }
                return G_SOURCE_REMOVE;
            },
            new Press{this, id, response},
            [](gpointer data) { delete static_cast<Press*>(data); }));
    }

    DesktopBackend& desktop_;
    std::vector<guint> presses_;
};

class DesktopDriver {
  public:
    std::unique_ptr<Clock> makeClock() { return std::make_unique<RealClock>(); }
    std::unique_ptr<Backend> makeBackend() {
        std::string why;
        auto desktop = DesktopBackend::open({}, why);
        if (!desktop) {
            throw std::runtime_error("no desktop for the contract: " + why);
        }
        desktop->endSessionOnSignals();
        desktop_ = desktop.get();
        auto user = std::make_unique<AnsweringUser>(std::move(desktop), *desktop_);
        user_ = user.get();
        return user;
    }

    void closeBox(int32_t hWnd) { gtk_window_close(GTK_WINDOW(windows().windowWidget(hWnd))); }
    void click(int32_t hWnd, int32_t id) {
        if (GtkWidget* widget = windows().controlWidget(id)) {
            // A user cannot press what is greyed out.
            if (gtk_widget_is_sensitive(widget)) {
                gtk_button_clicked(GTK_BUTTON(widget));
            }
            return;
        }
        const PixelRect rect = windows().controlRect(id);
        pressOn(windows().canvasWidget(hWnd), (rect.left + rect.right) / 2.0,
                (rect.top + rect.bottom) / 2.0);
    }
    void chooseMenu(int32_t /*hWnd*/, int32_t id) {
        GtkWidget* menu = desktop_->tray().openMenu();
        if (menu == nullptr || !gtk_widget_get_visible(menu)) {
            return;
        }
        if (GtkWidget* item = findItem(menu, id)) {
            gtk_menu_item_activate(GTK_MENU_ITEM(item));
            gtk_menu_popdown(GTK_MENU(menu));
        }
    }
    void select(int32_t /*hWnd*/, int32_t id, int32_t index) {
        auto* list = GTK_LIST_BOX(windows().controlWidget(id));
        gtk_list_box_select_row(list, gtk_list_box_get_row_at_index(list, index));
    }
    void type(int32_t /*hWnd*/, int32_t id, const std::string& text) {
        gtk_entry_set_text(GTK_ENTRY(windows().controlWidget(id)), text.c_str());
    }
    // The tray host hands the icon the button's press and release.
    void trayMessage(int32_t hWnd, uint32_t uID, uint32_t message) {
        GtkStatusIcon* icon = desktop_->tray().statusIcon(hWnd, uID);
        const bool up = message == 0x202 || message == 0x205 || message == 0x208;
        const unsigned button = message >= 0x207 ? 2 : message >= 0x204 ? 3 : 1;
        GdkEvent* event = gdk_event_new(up ? GDK_BUTTON_RELEASE : GDK_BUTTON_PRESS);
        event->button.button = button;
        event->button.window = GDK_WINDOW(g_object_ref(gdk_get_default_root_window()));
        gboolean handled = FALSE;
        g_signal_emit_by_name(icon, up ? "button-release-event" : "button-press-event", event,
                              &handled);
        gdk_event_free(event);
    }
    void endSession() { std::raise(SIGTERM); }
    void answerNextBox(int answer, int64_t holdMs) {
        user_->boxAnswers.emplace_back(answer, holdMs);
    }
    void answerNextDialog(std::optional<std::string> path) {
        user_->dialogAnswers.push_back(std::move(path));
    }
    void settle() { win::RunFor(50); }

    bool windowShown(int32_t hWnd) const {
        GtkWidget* window = desktop_->windows().windowWidget(hWnd);
        return window != nullptr && gtk_widget_get_visible(window);
    }
    bool trayIconShown(int32_t hWnd, uint32_t uID) const {
        GtkStatusIcon* icon = desktop_->tray().statusIcon(hWnd, uID);
        return icon != nullptr && gtk_status_icon_get_visible(icon);
    }
    std::vector<int32_t> menuShown(int32_t /*hWnd*/) const {
        std::vector<int32_t> ids;
        if (GtkWidget* menu = desktop_->tray().openMenu()) {
            collect(menu, ids);
        }
        return ids;
    }

  private:
    DesktopWindows& windows() const { return desktop_->windows(); }

    static void collect(GtkWidget* menu, std::vector<int32_t>& ids) {
        GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
        for (GList* item = items; item != nullptr; item = item->next) {
            ids.push_back(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item->data), "tarnix-item")));
            if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(item->data))) {
                collect(submenu, ids);
            }
        }
        g_list_free(items);
    }
    static GtkWidget* findItem(GtkWidget* menu, int32_t id) {
        GtkWidget* found = nullptr;
        GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
        for (GList* item = items; item != nullptr && found == nullptr; item = item->next) {
            if (GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item->data), "tarnix-item")) == id) {
                found = GTK_WIDGET(item->data);
            } else if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(item->data))) {
                found = findItem(submenu, id);
            }
        }
        g_list_free(items);
        return found;
    }
    // A left press and release at a point of the window's canvas, as the X server sends them.
    static void pressOn(GtkWidget* canvas, double x, double y) {
        for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(canvas)));
            event->button.button = 1;
            event->button.x = x;
            event->button.y = y;
            gboolean handled = FALSE;
            g_signal_emit_by_name(
                canvas, type == GDK_BUTTON_PRESS ? "button-press-event" : "button-release-event",
                event, &handled);
            gdk_event_free(event);
        }
    }

    DesktopBackend* desktop_ = nullptr;
    AnsweringUser* user_ = nullptr;
};

}  // namespace desktop_contract

namespace backend_contract {
INSTANTIATE_TYPED_TEST_SUITE_P(DesktopContract, BackendContract, desktop_contract::DesktopDriver);
}  // namespace backend_contract
