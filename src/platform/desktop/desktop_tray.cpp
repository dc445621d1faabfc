// The status icon is the toolkit's XEmbed tray icon, marked deprecated in favour of
// StatusNotifier menus, which give no raw clicks: the model's tray path needs the clicks.
#define GDK_DISABLE_DEPRECATION_WARNINGS

#include "platform/desktop/desktop_tray.h"

#include <libnotify/notify.h>

#include <iostream>

#include "platform/desktop/toolkit_text.h"
#include "platform/ui/tray.h"

namespace platform {

namespace {

// The middle button's messages follow the right button's (WM_MBUTTONDOWN...).
constexpr uint32_t kMiddleDown = win::WM_RBUTTONDBLCLK + 1;
// Up and double-click follow each down message.
constexpr uint32_t kUp = win::WM_LBUTTONUP - win::WM_LBUTTONDOWN;
constexpr uint32_t kDouble = win::WM_LBUTTONDBLCLK - win::WM_LBUTTONDOWN;
// How long a tray host may take to embed a new icon before it is reported missing.
constexpr unsigned kEmbedGraceMs = 3000;
// NIIF_ERROR
constexpr uint32_t kBalloonError = 3;

GdkPixbuf* iconPixbuf(const std::vector<uint8_t>& file) {
    if (file.empty()) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GdkPixbuf* pixbuf = nullptr;
    if (gdk_pixbuf_loader_write(loader, file.data(), file.size(), nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        if (pixbuf != nullptr) {
            g_object_ref(pixbuf);
        }
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return pixbuf;
}

uint32_t messageOf(unsigned button, bool release, bool doubleClick) {
    const uint32_t down = button == 3   ? win::WM_RBUTTONDOWN
                          : button == 2 ? kMiddleDown
                                        : win::WM_LBUTTONDOWN;
    return down + (release ? kUp : doubleClick ? kDouble : 0);
}

}  // namespace

DesktopTray::DesktopTray(UserInput& input) : input_(input) {}

DesktopTray::~DesktopTray() {
    if (embedCheck_ != 0) {
        g_source_remove(embedCheck_);
    }
    if (menu_ != nullptr) {
        gtk_widget_destroy(menu_);
    }
    for (auto& [key, icon] : icons_) {
        drop(icon);
    }
    if (notifyReady_) {
        notify_uninit();
    }
}

GtkStatusIcon* DesktopTray::statusIcon(int32_t hWnd, uint32_t uID) const {
    const auto found = icons_.find({hWnd, uID});
    return found == icons_.end() ? nullptr : found->second.status;
}

void DesktopTray::press(int32_t hWnd, uint32_t uID, unsigned button, bool release,
                        bool doubleClick) {
    if (icons_.count({hWnd, uID}) != 0) {
        input_.post(input::TrayMouse{hWnd, uID, messageOf(button, release, doubleClick)});
    }
}

void DesktopTray::trayChanged(const TrayNotice& notice, TrayChange change) {
    const Key key{notice.hWnd, notice.uID};
    auto found = icons_.find(key);
    switch (change) {
        case TrayChange::Add: {
            if (found != icons_.end()) {
                return;
            }
            Icon& icon = icons_[key];
            icon.status = gtk_status_icon_new();
            g_object_set_data(G_OBJECT(icon.status), "tarnix-hwnd", GINT_TO_POINTER(notice.hWnd));
            g_object_set_data(G_OBJECT(icon.status), "tarnix-uid", GUINT_TO_POINTER(notice.uID));
            const auto button = +[](GtkStatusIcon* status, GdkEventButton* event, gpointer self) {
                auto* tray = static_cast<DesktopTray*>(self);
                tray->input_.rememberPress(reinterpret_cast<GdkEvent*>(event));
                const auto hWnd =
                    GPOINTER_TO_INT(g_object_get_data(G_OBJECT(status), "tarnix-hwnd"));
                const auto uID =
                    GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(status), "tarnix-uid"));
                if (event->type == GDK_3BUTTON_PRESS) {
                    return TRUE;
                }
                tray->press(hWnd, uID, event->button, event->type == GDK_BUTTON_RELEASE,
                            event->type == GDK_2BUTTON_PRESS);
                return TRUE;
            };
            g_signal_connect(icon.status, "button-press-event", G_CALLBACK(button), this);
            g_signal_connect(icon.status, "button-release-event", G_CALLBACK(button), this);
            update(icon, notice);
            gtk_status_icon_set_visible(icon.status, TRUE);
            if (embedCheck_ == 0 && !toldNoTray_) {
                embedCheck_ = g_timeout_add(
                    kEmbedGraceMs,
                    [](gpointer self) {
                        auto* tray = static_cast<DesktopTray*>(self);
                        tray->embedCheck_ = 0;
                        tray->checkEmbedded();
                        return G_SOURCE_REMOVE;
                    },
                    this);
            }
            break;
        }
        case TrayChange::Modify:
            if (found != icons_.end()) {
                update(found->second, notice);
            }
            break;
        case TrayChange::Balloon:
            if (found != icons_.end()) {
                showBalloon(found->second, notice);
            }
            break;
        case TrayChange::Delete:
            if (found != icons_.end()) {
                drop(found->second);
                icons_.erase(found);
            }
            break;
    }
}

void DesktopTray::drop(Icon& icon) {
    if (icon.balloon != nullptr) {
        notify_notification_close(icon.balloon, nullptr);
        g_object_unref(icon.balloon);
    }
    gtk_status_icon_set_visible(icon.status, FALSE);
    g_object_unref(icon.status);
}

void DesktopTray::update(Icon& icon, const TrayNotice& notice) {
    if (!notice.iconFile.empty() && notice.iconFile != icon.iconFile) {
        icon.iconFile = notice.iconFile;
        if (GdkPixbuf* pixbuf = iconPixbuf(icon.iconFile)) {
            gtk_status_icon_set_from_pixbuf(icon.status, pixbuf);
            g_object_unref(pixbuf);
        } else {
            gtk_status_icon_set_from_icon_name(icon.status, "image-missing");
        }
    }
    gtk_status_icon_set_tooltip_text(icon.status, toolkitText(notice.tip).c_str());
}

void DesktopTray::checkEmbedded() {
    for (const auto& [key, icon] : icons_) {
        if (!gtk_status_icon_is_embedded(icon.status) && !toldNoTray_) {
            toldNoTray_ = true;
            std::cerr << "tarnix: no system tray (XEmbed) on this desktop: the tray icon is not "
                         "shown\n";
        }
    }
}

void DesktopTray::showBalloon(Icon& icon, const TrayNotice& notice) {
    if (!notifyReady_) {
        notifyReady_ = notify_init("TarnixIM");
    }
    if (!notifyReady_) {
        return;
    }
    if (icon.balloon == nullptr) {
        icon.balloon = notify_notification_new("", nullptr, nullptr);
    }
    notify_notification_update(icon.balloon, toolkitText(notice.balloonTitle).c_str(),
                               toolkitText(notice.balloonText).c_str(), nullptr);
    if (GdkPixbuf* pixbuf = iconPixbuf(icon.iconFile)) {
        notify_notification_set_image_from_pixbuf(icon.balloon, pixbuf);
        g_object_unref(pixbuf);
    }
    notify_notification_set_timeout(icon.balloon, notice.balloonTimeoutMs > 0
                                                      ? static_cast<gint>(notice.balloonTimeoutMs)
                                                      : NOTIFY_EXPIRES_DEFAULT);
    notify_notification_set_urgency(icon.balloon, (notice.balloonFlags & 3) == kBalloonError
                                                      ? NOTIFY_URGENCY_CRITICAL
                                                      : NOTIFY_URGENCY_NORMAL);
    GError* error = nullptr;
    if (!notify_notification_show(icon.balloon, &error)) {
        if (!toldNoDaemon_) {
            toldNoDaemon_ = true;
            std::cerr << "tarnix: no notification daemon: balloons are not shown ("
                      << (error != nullptr ? error->message : "no answer") << ")\n";
        }
        if (error != nullptr) {
            g_error_free(error);
        }
    }
}

void DesktopTray::menuOpened(const MenuView& view) {
    if (menu_ != nullptr) {
        gtk_widget_destroy(menu_);
        menu_ = nullptr;
    }
    GtkWidget* root = gtk_menu_new();
    // The menus open at each depth: a deeper item goes into the submenu of the one before it.
    std::vector<GtkWidget*> menus{root};
    GtkWidget* previous = nullptr;
    for (const MenuItemView& item : view.items) {
        const auto depth = static_cast<size_t>(std::max(item.depth, 1));
        if (depth > menus.size() && previous != nullptr) {
            GtkWidget* submenu = gtk_menu_new();
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(previous), submenu);
            menus.push_back(submenu);
        }
        menus.resize(std::min(depth, menus.size()));
        GtkWidget* entry = nullptr;
        if (item.caption == "-") {
            entry = gtk_separator_menu_item_new();
        } else if (item.checked) {
            entry = gtk_check_menu_item_new_with_mnemonic(mnemonicText(item.caption).c_str());
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(entry), TRUE);
        } else {
            entry = gtk_menu_item_new_with_mnemonic(mnemonicText(item.caption).c_str());
        }
        gtk_widget_set_sensitive(entry, item.enabled);
        g_object_set_data(G_OBJECT(entry), "tarnix-hwnd", GINT_TO_POINTER(view.hWnd));
        g_object_set_data(G_OBJECT(entry), "tarnix-item", GINT_TO_POINTER(item.id));
        g_signal_connect(
            entry, "activate", G_CALLBACK(+[](GtkMenuItem* chosen, gpointer self) {
                // An item that opens a submenu is no choice.
                if (gtk_menu_item_get_submenu(chosen) != nullptr) {
                    return;
                }
                static_cast<DesktopTray*>(self)->input_.post(input::MenuChoice{
                    GPOINTER_TO_INT(g_object_get_data(G_OBJECT(chosen), "tarnix-hwnd")),
                    GPOINTER_TO_INT(g_object_get_data(G_OBJECT(chosen), "tarnix-item"))});
            }),
            this);
        gtk_menu_shell_append(GTK_MENU_SHELL(menus.back()), entry);
        previous = entry;
    }
    gtk_widget_show_all(root);
    menu_ = root;
    const GdkEvent* press = input_.lastPress();
    if (press != nullptr && press->any.window != nullptr &&
        !gdk_window_is_destroyed(press->any.window)) {
        gtk_menu_popup_at_pointer(GTK_MENU(root), press);
        return;
    }
    // Opened without a press (by a timer, say): at the pointer all the same.
    GdkWindow* screen = gdk_get_default_root_window();
    GdkRectangle at{0, 0, 1, 1};
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(screen));
    gdk_window_get_device_position(screen, gdk_seat_get_pointer(seat), &at.x, &at.y, nullptr);
    gtk_menu_popup_at_rect(GTK_MENU(root), screen, &at, GDK_GRAVITY_SOUTH_EAST,
                           GDK_GRAVITY_NORTH_WEST, nullptr);
}

}  // namespace platform
