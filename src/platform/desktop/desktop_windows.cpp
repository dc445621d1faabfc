#include "platform/desktop/desktop_windows.h"

#include <algorithm>
#include <cmath>

#include "platform/desktop/toolkit_text.h"
#include "platform/ui/form.h"
#include "platform/ui/gdi.h"
#include "platform/ui/picture.h"

namespace platform {

namespace {

constexpr int16_t kMousePointerCustom = 99;

// Controls that are windows of their own: above the drawn ones, in creation order.
bool interactive(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::CheckBox ||
           kind == ControlKind::ListBox || kind == ControlKind::CommandButton ||
           kind == ControlKind::WebBrowser;
}

bool drawn(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Image ||
           kind == ControlKind::PictureBox || kind == ControlKind::Line ||
           kind == ControlKind::ProgressBar;
}

int pixels(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

DesktopWindows::DesktopWindows(UserInput& input, ScreenInfo screen, DesktopWeb& web)
    : input_(input), screen_(screen), web_(web) {}

DesktopWindows::~DesktopWindows() {
    for (auto& [id, control] : controls_) {
        dropWidget(control);
    }
    for (auto& [hWnd, window] : windows_) {
        gtk_widget_destroy(window.window);
    }
}

// Scale modes come from the model, which takes only those there are.
double DesktopWindows::toPixelsX(float value, int16_t scaleMode) const {
    return value * win::twipsPerUnit(scaleMode, screen_.twipsPerPixelX, true) /
           screen_.twipsPerPixelX;
}

double DesktopWindows::toPixelsY(float value, int16_t scaleMode) const {
    return value * win::twipsPerUnit(scaleMode, screen_.twipsPerPixelY, false) /
           screen_.twipsPerPixelY;
}

double DesktopWindows::originX(const Window& window) const {
    return window.exact ? window.view.frameWidthPx : 0;
}

double DesktopWindows::originY(const Window& window) const {
    return window.exact ? window.view.frameWidthPx + window.view.captionHeightPx : 0;
}

DesktopWindows::Box DesktopWindows::boxOf(const Control& control) const {
    const auto& state = control.state;
    const int16_t mode = control.containerScaleMode;
    Box box{toPixelsX(state.Left, mode), toPixelsY(state.Top, mode), toPixelsX(state.Width, mode),
            toPixelsY(state.Height, mode)};
    if (control.kind == ControlKind::Line) {
        const double x1 = toPixelsX(state.X1, mode);
        const double y1 = toPixelsY(state.Y1, mode);
        const double x2 = toPixelsX(state.X2, mode);
        const double y2 = toPixelsY(state.Y2, mode);
        box = {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1};
    }
    if (const auto container = controls_.find(control.container); container != controls_.end()) {
        const Box outer = boxOf(container->second);
        box.x += outer.x;
        box.y += outer.y;
    }
    return box;
}

bool DesktopWindows::shown(const Control& control) const {
    if (!control.state.Visible) {
        return false;
    }
    const auto container = controls_.find(control.container);
    return container == controls_.end() || shown(container->second);
}

void DesktopWindows::load(const WindowView& view) {
    Window& window = windows_[view.hWnd];
    window.view = view;
    // A window that stays out of the taskbar (pop-ups, the options and About windows) is placed
    // exactly; a window manager would move one that reaches below the work area.
    window.exact = !view.showInTaskbar || view.borderStyle == 0;
    window.window = gtk_window_new(window.exact ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    gtk_window_set_role(GTK_WINDOW(window.window), view.name.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window.window), FALSE);
    gtk_window_set_title(GTK_WINDOW(window.window), toolkitText(view.caption).c_str());
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window.window), !view.showInTaskbar);
    g_signal_connect(window.window, "delete-event", G_CALLBACK(onDelete), this);
    // A layout, unlike a fixed container, asks for no room for its children: the window keeps
    // the model's size whatever sticks out of it.
    window.area = gtk_layout_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(window.window), window.area);
    window.canvas = gtk_drawing_area_new();
    gtk_widget_add_events(
        window.canvas, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
    g_signal_connect(window.canvas, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(window.canvas, "button-press-event", G_CALLBACK(onPress), this);
    g_signal_connect(window.canvas, "button-release-event", G_CALLBACK(onRelease), this);
    g_signal_connect(window.canvas, "motion-notify-event", G_CALLBACK(onMotion), this);
    gtk_layout_put(GTK_LAYOUT(window.area), window.canvas, 0, 0);
    gtk_widget_show(window.area);
    gtk_widget_show(window.canvas);
    place(window);
}

void DesktopWindows::place(Window& window) {
    const WindowView& view = window.view;
    const int x = pixels(view.left / screen_.twipsPerPixelX);
    const int y = pixels(view.top / screen_.twipsPerPixelY);
    int width = std::max(pixels(view.width / screen_.twipsPerPixelX), 1);
    int height = std::max(pixels(view.height / screen_.twipsPerPixelY), 1);
    if (!window.exact) {
        // The manager frames it: the toolkit window is the model's client area.
        width = std::max(pixels(width - 2 * view.frameWidthPx), 1);
        height = std::max(pixels(height - 2 * view.frameWidthPx - view.captionHeightPx), 1);
    }
    gtk_widget_set_size_request(window.canvas, width, height);
    gtk_widget_set_size_request(window.window, width, height);
    gtk_window_resize(GTK_WINDOW(window.window), width, height);
    gtk_window_move(GTK_WINDOW(window.window), x, y);
}

void DesktopWindows::windowChanged(const WindowView& view, WindowChange change) {
    if (change == WindowChange::Loaded) {
        load(view);
        return;
    }
    const auto found = windows_.find(view.hWnd);
    if (found == windows_.end()) {
        return;
    }
    Window& window = found->second;
    window.view = view;
    window.dirty = true;
    GtkWindow* toplevel = GTK_WINDOW(window.window);
    const std::string title = toolkitText(view.caption);
    if (const char* now = gtk_window_get_title(toplevel); now == nullptr || title != now) {
        gtk_window_set_title(toplevel, title.c_str());
    }
    switch (change) {
        case WindowChange::Shown:
            place(window);
            gtk_window_set_keep_above(toplevel, view.topMost);
            gtk_widget_show(window.window);
            break;
        case WindowChange::Hidden:
            gtk_widget_hide(window.window);
            break;
        case WindowChange::Moved:
        case WindowChange::Resized:
        case WindowChange::BorderStyle:
            place(window);
            break;
        case WindowChange::TopMost:
            gtk_window_set_keep_above(toplevel, view.topMost);
            break;
        case WindowChange::ZOrder:
        case WindowChange::Foreground:
            if (gtk_widget_get_realized(window.window)) {
                gdk_window_raise(gtk_widget_get_window(window.window));
            }
            break;
        case WindowChange::Shape: {
            cairo_region_t* region = nullptr;
            if (!view.shape.empty()) {
                region = cairo_region_create();
                for (const PixelRect& rect : view.shape) {
                    const cairo_rectangle_int_t area{rect.left, rect.top, rect.right - rect.left,
                                                     rect.bottom - rect.top};
                    cairo_region_union_rectangle(region, &area);
                }
            }
            // Outside the shape the desktop shows and clicks go to what lies beneath.
            gtk_widget_shape_combine_region(window.window, region);
            gtk_widget_input_shape_combine_region(window.window, region);
            if (region != nullptr) {
                cairo_region_destroy(region);
            }
            break;
        }
        case WindowChange::Unloaded:
            for (int32_t id : window.controls) {
                dropWidget(controls_.at(id));
                controls_.erase(id);
            }
            gtk_widget_destroy(window.window);
            windows_.erase(found);
            break;
        case WindowChange::Loaded:
        case WindowChange::Caption:
        case WindowChange::Picture:
            break;
    }
}

void DesktopWindows::controlChanged(const ControlView& view, ControlChange change) {
    const auto window = windows_.find(view.hWnd);
    if (window == windows_.end()) {
        return;
    }
    window->second.dirty = true;
    if (window->second.pointerOver == view.id) {
        window->second.pointerOver.reset();  // its pointer may have changed
    }
    if (change == ControlChange::Destroyed) {
        if (const auto found = controls_.find(view.id); found != controls_.end()) {
            dropWidget(found->second);
            controls_.erase(found);
        }
        std::erase(window->second.controls, view.id);
        return;
    }
    if (change == ControlChange::Created) {
        if (!drawn(view.kind) && !interactive(view.kind)) {
            return;  // menus, timers and the other controls nobody sees
        }
        Control& control = controls_[view.id];
        control = Control{view.hWnd, view.id, view.kind, view.containerId, view.containerScaleMode,
                          view.state};
        window->second.controls.push_back(view.id);
        if (interactive(view.kind)) {
            createWidget(control);
            gtk_layout_put(GTK_LAYOUT(window->second.area), control.widget, 0, 0);
        }
        applyState(control);
        return;
    }
    const auto found = controls_.find(view.id);
    if (found == controls_.end()) {
        return;
    }
    found->second.state = view.state;
    found->second.container = view.containerId;
    found->second.containerScaleMode = view.containerScaleMode;
    applyState(found->second);
}

void DesktopWindows::flush() {
    for (auto& [hWnd, window] : windows_) {
        if (window.dirty) {
            window.dirty = false;
            layout(window);
        }
    }
}

void DesktopWindows::layout(Window& window) {
    const double dx = originX(window);
    const double dy = originY(window);
    for (int32_t id : window.controls) {
        const Control& control = controls_.at(id);
        if (control.widget == nullptr) {
            continue;
        }
        const Box box = boxOf(control);
        gtk_layout_move(GTK_LAYOUT(window.area), control.widget, pixels(box.x + dx),
                        pixels(box.y + dy));
        gtk_widget_set_size_request(control.widget, std::max(pixels(box.width), 1),
                                    std::max(pixels(box.height), 1));
        gtk_widget_set_visible(control.widget, shown(control));
    }
    gtk_widget_queue_draw(window.canvas);
}

GtkWidget* DesktopWindows::windowWidget(int32_t hWnd) const {
    const auto found = windows_.find(hWnd);
    return found == windows_.end() ? nullptr : found->second.window;
}

GtkWidget* DesktopWindows::canvasWidget(int32_t hWnd) const {
    const auto found = windows_.find(hWnd);
    return found == windows_.end() ? nullptr : found->second.canvas;
}

GtkWidget* DesktopWindows::controlWidget(int32_t controlId) const {
    const auto found = controls_.find(controlId);
    if (found == controls_.end()) {
        return nullptr;
    }
    return found->second.inner != nullptr ? found->second.inner : found->second.widget;
}

PixelRect DesktopWindows::controlRect(int32_t controlId) const {
    const auto found = controls_.find(controlId);
    if (found == controls_.end()) {
        return {};
    }
    const Window& window = windows_.at(found->second.hWnd);
    const Box box = boxOf(found->second);
    const int left = pixels(box.x + originX(window));
    const int top = pixels(box.y + originY(window));
    return {left, top, left + pixels(box.width), top + pixels(box.height)};
}

// ---- The toolkit's widgets for what the user types into or presses ----

void DesktopWindows::dropWidget(Control& control) {
    if (control.widget == nullptr) {
        return;
    }
    if (control.kind == ControlKind::WebBrowser) {
        web_.release(control.widget);
    } else {
        gtk_widget_destroy(control.widget);
    }
    control.widget = control.inner = nullptr;
}

void DesktopWindows::createWidget(Control& control) {
    const auto clicked = +[](GtkWidget* widget, gpointer self) {
        auto* windows = static_cast<DesktopWindows*>(self);
        if (const Control* found = windows->controlOfWidget(widget); found && !windows->applying_) {
            windows->input_.post(input::Click{found->hWnd, found->id});
        }
    };
    switch (control.kind) {
        case ControlKind::CommandButton:
            control.widget = gtk_button_new_with_mnemonic("");
            g_signal_connect(control.widget, "clicked", G_CALLBACK(clicked), this);
            break;
        case ControlKind::CheckBox:
            control.widget = gtk_check_button_new_with_mnemonic("");
            // The model decides the value: the click goes to it, the box shows the model's value
            // until the model answers.
            g_signal_connect(control.widget, "toggled",
                             G_CALLBACK(+[](GtkWidget* widget, gpointer self) {
                                 auto* windows = static_cast<DesktopWindows*>(self);
                                 Control* found = windows->controlOfWidget(widget);
                                 if (found != nullptr && !windows->applying_) {
                                     windows->input_.post(input::Click{found->hWnd, found->id});
                                     windows->applyState(*found);
                                 }
                             }),
                             this);
            break;
        case ControlKind::ListBox: {
            control.widget = gtk_scrolled_window_new(nullptr, nullptr);
            gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(control.widget), GTK_SHADOW_IN);
            control.inner = gtk_list_box_new();
            gtk_container_add(GTK_CONTAINER(control.widget), control.inner);
            const auto selected = +[](GtkListBox* list, GtkListBoxRow* row, gpointer self) {
                auto* windows = static_cast<DesktopWindows*>(self);
                const Control* found = windows->controlOfWidget(GTK_WIDGET(list));
                if (found && row && !windows->applying_) {
                    windows->input_.post(
                        input::ListSelect{found->hWnd, found->id, gtk_list_box_row_get_index(row)});
                }
            };
            g_signal_connect(control.inner, "row-selected", G_CALLBACK(selected), this);
            break;
        }
        case ControlKind::TextBox: {
            const auto edited = +[](GtkWidget* widget, gpointer self) {
                auto* windows = static_cast<DesktopWindows*>(self);
                const Control* found = windows->controlOfWidget(widget);
                if (found != nullptr && !windows->applying_) {
                    windows->input_.post(input::TextEdited{found->hWnd, found->id,
                                                           gtk_entry_get_text(GTK_ENTRY(widget))});
                }
            };
            const auto viewEdited = +[](GtkTextBuffer* buffer, gpointer self) {
                auto* windows = static_cast<DesktopWindows*>(self);
                auto* view =
                    static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(buffer), "tarnix-view"));
                const Control* found = windows->controlOfWidget(view);
                if (found == nullptr || windows->applying_) {
                    return;
                }
                GtkTextIter start;
                GtkTextIter end;
                gtk_text_buffer_get_bounds(buffer, &start, &end);
                gchar* all = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
                windows->input_.post(input::TextEdited{found->hWnd, found->id, all});
                g_free(all);
            };
            if (control.state.MultiLine) {
                control.widget = gtk_scrolled_window_new(nullptr, nullptr);
                gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(control.widget),
                                                    GTK_SHADOW_IN);
                control.inner = gtk_text_view_new();
                gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(control.inner), GTK_WRAP_WORD_CHAR);
                gtk_container_add(GTK_CONTAINER(control.widget), control.inner);
                GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(control.inner));
                g_object_set_data(G_OBJECT(buffer), "tarnix-view", control.inner);
                g_signal_connect(buffer, "changed", G_CALLBACK(viewEdited), this);
            } else {
                control.widget = gtk_entry_new();
                g_signal_connect(control.widget, "changed", G_CALLBACK(edited), this);
            }
            break;
        }
        case ControlKind::WebBrowser:
            control.widget = web_.take(control.hWnd, control.id);
            break;
        default:
            return;
    }
    g_object_set_data(G_OBJECT(control.widget), "tarnix-control", GINT_TO_POINTER(control.id));
    if (control.inner != nullptr) {
        g_object_set_data(G_OBJECT(control.inner), "tarnix-control", GINT_TO_POINTER(control.id));
        gtk_widget_show(control.inner);
    }
}

DesktopWindows::Control* DesktopWindows::controlOfWidget(GtkWidget* widget) {
    const int32_t id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "tarnix-control"));
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : &found->second;
}

DesktopWindows::Window* DesktopWindows::windowOfWidget(GtkWidget* widget) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    for (auto& [hWnd, window] : windows_) {
        if (window.window == toplevel) {
            return &window;
        }
    }
    return nullptr;
}

void DesktopWindows::applyState(Control& control) {
    if (control.widget == nullptr) {
        return;
    }
    applying_ = true;
    const win::Design& state = control.state;
    gtk_widget_set_sensitive(control.widget, state.Enabled);
    gtk_widget_set_tooltip_text(control.widget, state.ToolTipText.empty()
                                                    ? nullptr
                                                    : toolkitText(state.ToolTipText).c_str());
    switch (control.kind) {
        case ControlKind::CommandButton:
            gtk_button_set_label(GTK_BUTTON(control.widget), mnemonicText(state.Caption).c_str());
            break;
        case ControlKind::CheckBox: {
            gtk_button_set_label(GTK_BUTTON(control.widget), mnemonicText(state.Caption).c_str());
            auto* box = GTK_TOGGLE_BUTTON(control.widget);
            gtk_toggle_button_set_inconsistent(box, state.Value == 2);
            gtk_toggle_button_set_active(box, state.Value == 1);
            break;
        }
        case ControlKind::ListBox: {
            auto* list = GTK_LIST_BOX(control.inner);
            GList* rows = gtk_container_get_children(GTK_CONTAINER(list));
            std::vector<std::string> shownEntries;
            for (GList* row = rows; row != nullptr; row = row->next) {
                GtkWidget* label = gtk_bin_get_child(GTK_BIN(row->data));
                shownEntries.emplace_back(
                    static_cast<const char*>(g_object_get_data(G_OBJECT(label), "tarnix-entry")));
            }
            g_list_free(rows);
            if (shownEntries != state.List) {
                gtk_container_foreach(
                    GTK_CONTAINER(list), [](GtkWidget* row, gpointer) { gtk_widget_destroy(row); },
                    nullptr);
                for (const std::string& entry : state.List) {
                    GtkWidget* label = gtk_label_new(toolkitText(entry).c_str());
                    gtk_label_set_xalign(GTK_LABEL(label), 0);
                    g_object_set_data_full(G_OBJECT(label), "tarnix-entry", g_strdup(entry.c_str()),
                                           g_free);
                    gtk_widget_show(label);
                    gtk_list_box_insert(list, label, -1);
                }
            }
            GtkListBoxRow* selected = state.ListIndex >= 0
                                          ? gtk_list_box_get_row_at_index(list, state.ListIndex)
                                          : nullptr;
            if (selected != nullptr) {
                gtk_list_box_select_row(list, selected);
            } else {
                gtk_list_box_unselect_all(list);
            }
            break;
        }
        case ControlKind::TextBox: {
            const std::string text = toolkitText(state.Text);
            if (GTK_IS_ENTRY(control.widget)) {
                auto* entry = GTK_ENTRY(control.widget);
                if (text != gtk_entry_get_text(entry)) {
                    gtk_entry_set_text(entry, text.c_str());
                }
                gtk_editable_set_editable(GTK_EDITABLE(entry), !state.Locked);
            } else {
                GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(control.inner));
                GtkTextIter start;
                GtkTextIter end;
                gtk_text_buffer_get_bounds(buffer, &start, &end);
                gchar* all = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
                if (text != all) {
                    gtk_text_buffer_set_text(buffer, text.c_str(), -1);
                }
                g_free(all);
                gtk_text_view_set_editable(GTK_TEXT_VIEW(control.inner), !state.Locked);
            }
            break;
        }
        default:
            break;
    }
    applying_ = false;
}

// ---- The canvas: clicks on drawn controls, the window's mouse moves ----

gboolean DesktopWindows::onDelete(GtkWidget* widget, GdkEvent* /*event*/, gpointer self) {
    auto* windows = static_cast<DesktopWindows*>(self);
    if (const Window* window = windows->windowOfWidget(widget)) {
        windows->input_.post(input::CloseBox{window->view.hWnd});
    }
    return TRUE;  // the model decides whether it closes
}

gboolean DesktopWindows::onPress(GtkWidget* widget, GdkEventButton* event, gpointer self) {
    auto* windows = static_cast<DesktopWindows*>(self);
    windows->input_.rememberPress(reinterpret_cast<GdkEvent*>(event));
    Window* window = windows->windowOfWidget(widget);
    if (window == nullptr || event->button != 1 || event->type != GDK_BUTTON_PRESS) {
        return FALSE;
    }
    window->pressed = windows->onCloseBox(*window, event->x, event->y)
                          ? -2
                          : windows->hit(*window, 0, event->x - windows->originX(*window),
                                         event->y - windows->originY(*window));
    return TRUE;
}

gboolean DesktopWindows::onRelease(GtkWidget* widget, GdkEventButton* event, gpointer self) {
    auto* windows = static_cast<DesktopWindows*>(self);
    Window* window = windows->windowOfWidget(widget);
    if (window == nullptr || event->button != 1) {
        return FALSE;
    }
    const int32_t pressed = std::exchange(window->pressed, -1);
    if (pressed == -2) {
        if (windows->onCloseBox(*window, event->x, event->y)) {
            windows->input_.post(input::CloseBox{window->view.hWnd});
        }
        return TRUE;
    }
    const int32_t released = windows->hit(*window, 0, event->x - windows->originX(*window),
                                          event->y - windows->originY(*window));
    // A click is a press and a release on the same control.
    if (pressed > 0 && pressed == released) {
        windows->input_.post(input::Click{window->view.hWnd, released});
    }
    return TRUE;
}

gboolean DesktopWindows::onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self) {
    auto* windows = static_cast<DesktopWindows*>(self);
    Window* window = windows->windowOfWidget(widget);
    if (window == nullptr) {
        return FALSE;
    }
    const double x = event->x - windows->originX(*window);
    const double y = event->y - windows->originY(*window);
    const int32_t over = windows->hit(*window, 0, x, y);
    windows->updateCursor(*window, over);
    // Only the bare window has the window's mouse moves; controls keep theirs.
    if (x >= 0 && y >= 0 && over == 0) {
        int16_t button = 0;
        button |= (event->state & GDK_BUTTON1_MASK) ? 1 : 0;
        button |= (event->state & GDK_BUTTON3_MASK) ? 2 : 0;
        button |= (event->state & GDK_BUTTON2_MASK) ? 4 : 0;
        int16_t shift = 0;
        shift |= (event->state & GDK_SHIFT_MASK) ? 1 : 0;
        shift |= (event->state & GDK_CONTROL_MASK) ? 2 : 0;
        shift |= (event->state & GDK_MOD1_MASK) ? 4 : 0;
        windows->input_.post(input::MouseMove{window->view.hWnd, button, shift,
                                              static_cast<float>(x), static_cast<float>(y)});
    }
    return TRUE;
}

void DesktopWindows::updateCursor(Window& window, int32_t id) {
    // Set again only when the pointer reaches another control.
    if (std::exchange(window.pointerOver, id) == id) {
        return;
    }
    const auto found = controls_.find(id);
    GdkWindow* surface = gtk_widget_get_window(window.canvas);
    if (surface == nullptr) {
        return;
    }
    GdkCursor* cursor = nullptr;
    if (found != controls_.end() && found->second.state.MousePointer == kMousePointerCustom) {
        const int32_t icon = found->second.state.MouseIcon;
        const win::Bitmap* bitmap = win::FindBitmap(icon);
        if (cairo_surface_t* picture = pictures_.surface(icon)) {
            const bool hotSpot = bitmap->icon != nullptr;
            cursor =
                gdk_cursor_new_from_surface(gdk_window_get_display(surface), picture,
                                            hotSpot ? bitmap->icon->hotSpotX : bitmap->width / 2,
                                            hotSpot ? bitmap->icon->hotSpotY : bitmap->height / 2);
        }
    }
    gdk_window_set_cursor(surface, cursor);
    if (cursor != nullptr) {
        g_object_unref(cursor);
    }
}

}  // namespace platform
