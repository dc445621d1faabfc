#include "platform/desktop/desktop_backend.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <string>

#include "platform/desktop/desktop_dialogs.h"
#include "platform/desktop/desktop_sound.h"
#include "platform/desktop/desktop_tray.h"
#include "platform/desktop/desktop_web.h"
#include "platform/desktop/desktop_windows.h"
#include "platform/desktop/toolkit_text.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/env_setting.h"

namespace platform {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kDefaultDpi = 96;
// The connection-state flag of a LAN connection.
constexpr uint32_t kConnectionLan = 0x02;

ScreenInfo measureScreen() {
    ScreenInfo info;
    GdkDisplay* display = gdk_display_get_default();
    GdkScreen* screen = gdk_screen_get_default();
    double dpi = gdk_screen_get_resolution(screen);
    if (dpi <= 0) {
        dpi = kDefaultDpi;
    }
    info.twipsPerPixelX = info.twipsPerPixelY = static_cast<float>(kTwipsPerInch / dpi);
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    GdkRectangle whole{0, 0, 1024, 768};
    GdkRectangle work = whole;
    if (monitor != nullptr) {
        gdk_monitor_get_geometry(monitor, &whole);
        gdk_monitor_get_workarea(monitor, &work);
    }
    info.widthPx = whole.width;
    info.heightPx = whole.height;
    info.workLeft = work.x;
    info.workTop = work.y;
    info.workRight = work.x + work.width;
    info.workBottom = work.y + work.height;
    return info;
}

}  // namespace

DesktopConfig DesktopConfig::fromEnvironment() {
    DesktopConfig config;
    config.audioSink = envText("TARNIX_AUDIO_SINK").value_or("");
    return config;
}

std::unique_ptr<DesktopBackend> DesktopBackend::open(DesktopConfig config, std::string& why) {
    // Exact placement (override-redirect windows) and the XEmbed tray are X11's. Set once: the
    // toolkit keeps every setting made.
    static const bool x11Only = (gdk_set_allowed_backends("x11"), true);
    (void)x11Only;
    if (!gtk_init_check(nullptr, nullptr)) {
        why = "cannot open the display (DISPLAY is \"" +
              std::string(g_getenv("DISPLAY") != nullptr ? g_getenv("DISPLAY") : "") + "\")";
        return nullptr;
    }
    return std::unique_ptr<DesktopBackend>(new DesktopBackend(std::move(config)));
}

DesktopBackend::DesktopBackend(DesktopConfig config)
    : config_(std::move(config)),
      screen_(measureScreen()),
      web_(std::make_unique<DesktopWeb>(input_)),
      windows_(std::make_unique<DesktopWindows>(input_, screen_, *web_)),
      tray_(std::make_unique<DesktopTray>(input_)),
      dialogs_(std::make_unique<DesktopDialogs>(input_)),
      sound_(std::make_unique<DesktopSound>(config_.audioSink)) {}

DesktopBackend::~DesktopBackend() {
    for (unsigned source : signalSources_) {
        g_source_remove(source);
    }
    sound_.reset();
    dialogs_.reset();
    tray_.reset();
    windows_.reset();
    web_.reset();
    // What the teardown left for the toolkit to do (destroyed windows' last events).
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }
}

Features DesktopBackend::features() const {
    return {Feature::Windows,      Feature::Tray,        Feature::Balloons, Feature::Menus,
            Feature::MessageBoxes, Feature::FileDialogs, Feature::Sound,    Feature::NetworkState,
            Feature::OpenAddress,  Feature::WebView,     Feature::WebEngine};
}

void DesktopBackend::windowChanged(const WindowView& window, WindowChange change) {
    windows_->windowChanged(window, change);
}

void DesktopBackend::controlChanged(const ControlView& control, ControlChange change) {
    windows_->controlChanged(control, change);
}

void DesktopBackend::trayChanged(const TrayNotice& icon, TrayChange change) {
    tray_->trayChanged(icon, change);
}

void DesktopBackend::menuOpened(const MenuView& menu) {
    windows_->flush();
    tray_->menuOpened(menu);
}

std::optional<TextExtent> DesktopBackend::measureText(const TextMeasure& text) {
    PangoLayout* layout = labelLayout(text.text, text.fontSize, text.bold, text.wrapWidthPx);
    TextExtent extent;
    pango_layout_get_pixel_size(layout, &extent.widthPx, &extent.heightPx);
    g_object_unref(layout);
    return extent;
}

void DesktopBackend::navigatePage(const PageRequest& page) {
    web_->navigate(page);
}

void DesktopBackend::openMessageBox(const MessageBoxRequest& box) {
    dialogs_->openMessageBox(box);
}

void DesktopBackend::openFileDialog(const FileDialogRequest& dialog) {
    dialogs_->openFileDialog(dialog, windows_->windowWidget(dialog.hWnd));
}

void DesktopBackend::pumpEvents() {
    windows_->flush();
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }
}

std::vector<InputEvent> DesktopBackend::takeInput(int64_t /*nowMs*/) {
    pumpEvents();
    std::vector<InputEvent> events;
    for (auto& event : input_.take()) {
        events.push_back(std::move(event));
    }
    return events;
}

bool DesktopBackend::waitForInput(int64_t untilMs) {
    windows_->flush();
    if (!input_.empty()) {
        return true;
    }
    bool due = false;
    unsigned timer = 0;
    if (untilMs >= 0) {
        const int64_t left = untilMs - clock().nowMs();
        if (left <= 0) {
            return true;
        }
        timer = g_timeout_add_full(
            G_PRIORITY_HIGH, static_cast<guint>(left),
            [](gpointer flag) {
                *static_cast<bool*>(flag) = true;
                return G_SOURCE_REMOVE;
            },
            &due, nullptr);
    }
    // Whatever the toolkit runs meanwhile only queues input; the model gets it from takeInput.
    while (input_.empty() && !due) {
        g_main_context_iteration(nullptr, TRUE);
        windows_->flush();
    }
    if (timer != 0 && !due) {
        g_source_remove(timer);
    }
    return true;
}

void DesktopBackend::keepResponsive() {
    pumpEvents();
}

bool DesktopBackend::playSound(std::string_view path, int64_t fromMs, int64_t durationMs) {
    return sound_->play(path, fromMs, durationMs);
}

void DesktopBackend::stopSound(std::string_view path) {
    sound_->stop(path);
}

bool DesktopBackend::connectionState(uint32_t& flags) {
    const bool online = g_network_monitor_get_network_available(g_network_monitor_get_default());
    flags = online ? kConnectionLan : 0;
    return online;
}

bool DesktopBackend::openAddress(std::string_view address) {
    GError* error = nullptr;
    const bool opened =
        g_app_info_launch_default_for_uri(std::string(address).c_str(), nullptr, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    return opened;
}

void DesktopBackend::endSessionOnSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        signalSources_.push_back(g_unix_signal_add(
            signal,
            [](gpointer queue) -> gboolean {
                static_cast<UserInput*>(queue)->post(input::EndSession{});
                return G_SOURCE_CONTINUE;
            },
            &input_));
    }
}

}  // namespace platform
