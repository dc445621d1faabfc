#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/desktop_web.h"
#include "platform/desktop/picture_cache.h"
#include "platform/desktop/user_input.h"
#include "platform/runtime/backend.h"

namespace platform {

// The model's windows as toolkit windows. Each loaded form is one window: a managed window when it
// shows in the taskbar, otherwise an override-redirect one placed exactly where the model puts it
// (pop-ups partly below the work area, sliding windows). What a window shows is one canvas drawn
// from the model (background picture, labels, images, picture boxes, lines, progress bars, the
// caption of a window the manager does not frame) with the toolkit's own widgets on top for what
// the user types into or presses (text boxes, check boxes, list boxes, buttons). The model owns
// every coordinate: nothing is read back.
class DesktopWindows {
  public:
    DesktopWindows(UserInput& input, ScreenInfo screen, DesktopWeb& web);
    ~DesktopWindows();
    DesktopWindows(const DesktopWindows&) = delete;
    DesktopWindows& operator=(const DesktopWindows&) = delete;

    void windowChanged(const WindowView& window, WindowChange change);
    void controlChanged(const ControlView& control, ControlChange change);
    // Places and draws what changed since the last call.
    void flush();

    // The toolkit window of a loaded form, and the widget of an interactive control (null for
    // drawn controls): for pop-up menus, dialogs' owners and tests.
    GtkWidget* windowWidget(int32_t hWnd) const;
    // The canvas the window's drawn controls are painted on (tests draw and press it).
    GtkWidget* canvasWidget(int32_t hWnd) const;
    GtkWidget* controlWidget(int32_t controlId) const;
    // The window-relative pixel rectangle a drawn control takes (tests click it); empty if none.
    PixelRect controlRect(int32_t controlId) const;

  private:
    struct Control {
        int32_t hWnd = 0;
        int32_t id = 0;
        ControlKind kind = ControlKind::Label;
        int32_t container = 0;
        int16_t containerScaleMode = win::vbTwips;
        win::Design state;
        GtkWidget* widget = nullptr;  // interactive controls only
        GtkWidget* inner = nullptr;   // the entry, list or text view inside a scrolled widget
    };
    struct Window {
        WindowView view;
        GtkWidget* window = nullptr;
        GtkWidget* area = nullptr;  // the layout holding the canvas and the widgets
        GtkWidget* canvas = nullptr;
        bool exact = false;  // override-redirect: placed exactly, framed by the canvas
        bool dirty = true;
        int32_t pressed = -1;  // the control a left press went down on (0: the window)
        std::optional<int32_t> pointerOver;  // the control whose pointer the window shows
        std::vector<int32_t> controls;       // ids in creation order
    };
    struct Box {
        double x = 0;
        double y = 0;
        double width = 0;
        double height = 0;
        bool contains(double px, double py) const {
            return px >= x && py >= y && px < x + width && py < y + height;
        }
    };

    void load(const WindowView& view);
    void place(Window& window);
    void createWidget(Control& control);
    void applyState(Control& control);
    void layout(Window& window);

    // The client area's origin inside the toolkit window.
    double originX(const Window& window) const;
    double originY(const Window& window) const;
    // The control's box in client pixels, and whether it and every container are visible.
    Box boxOf(const Control& control) const;
    bool shown(const Control& control) const;
    double toPixelsX(float value, int16_t scaleMode) const;
    double toPixelsY(float value, int16_t scaleMode) const;

    // Painting (desktop_paint.cpp).
    void paint(Window& window, cairo_t* cr);
    void paintFrame(const Window& window, cairo_t* cr);
    void paintChildren(const Window& window, int32_t container, cairo_t* cr);
    void paintControl(const Control& control, cairo_t* cr);
    // The topmost drawn control under a client point; 0 for the window itself.
    int32_t hit(const Window& window, int32_t container, double x, double y) const;
    bool onCloseBox(const Window& window, double x, double y) const;

    static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean onPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);

    Window* windowOfWidget(GtkWidget* widget);
    Control* controlOfWidget(GtkWidget* widget);
    // The pointer of the control the pointer is over (hit's answer).
    void updateCursor(Window& window, int32_t id);

    // Takes back a control's widget: a web view goes back to the pool, anything else is destroyed.
    void dropWidget(Control& control);

    UserInput& input_;
    ScreenInfo screen_;
    DesktopWeb& web_;
    std::map<int32_t, Window> windows_;
    std::map<int32_t, Control> controls_;
    // While the model's state is put into a widget its change signals are not the user's.
    bool applying_ = false;
    PictureCache pictures_;
};

}  // namespace platform
