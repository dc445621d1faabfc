#include <algorithm>
#include <cmath>

#include "platform/desktop/desktop_windows.h"
#include "platform/desktop/toolkit_text.h"

// How the canvas of a window draws the model: the frame of a window the manager does not frame,
// the background picture, then every drawn control in creation order, each picture box's
// children clipped to it.
namespace platform {

namespace {

constexpr uint32_t kSystemColour = 0x80000000;
constexpr uint32_t kButtonFace = 0xF0F0F0;
constexpr double kCloseBoxWidth = 16;

// The colours the system names by index (0x800000nn), as 0x00BBGGRR.
uint32_t systemColour(uint32_t index) {
    switch (index) {
        case 0x05:  // window
        case 0x14:  // button highlight
            return 0xFFFFFF;
        case 0x08:  // window text
        case 0x12:  // button text
            return 0x000000;
        case 0x10:  // button shadow
            return 0xA0A0A0;
        case 0x0D:  // highlight
            return 0xD77800;
        default:
            return kButtonFace;
    }
}

void setColour(cairo_t* cr, uint32_t colour) {
    if ((colour & kSystemColour) != 0) {
        colour = systemColour(colour & 0xFF);
    }
    cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         ((colour >> 16) & 0xFF) / 255.0);
}

void sunkenEdge(cairo_t* cr, double x, double y, double width, double height) {
    cairo_set_line_width(cr, 1);
    setColour(cr, 0xA0A0A0);
    cairo_move_to(cr, x + 0.5, y + height - 0.5);
    cairo_line_to(cr, x + 0.5, y + 0.5);
    cairo_line_to(cr, x + width - 0.5, y + 0.5);
    cairo_stroke(cr);
    setColour(cr, 0xFFFFFF);
    cairo_move_to(cr, x + width - 0.5, y + 0.5);
    cairo_line_to(cr, x + width - 0.5, y + height - 0.5);
    cairo_line_to(cr, x + 0.5, y + height - 0.5);
    cairo_stroke(cr);
}

}  // namespace

gboolean DesktopWindows::onDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
    auto* windows = static_cast<DesktopWindows*>(self);
    if (Window* window = windows->windowOfWidget(widget)) {
        windows->paint(*window, cr);
    }
    return TRUE;
}

void DesktopWindows::paint(Window& window, cairo_t* cr) {
    setColour(cr, kButtonFace);
    cairo_paint(cr);
    paintFrame(window, cr);
    cairo_translate(cr, originX(window), originY(window));
    if (cairo_surface_t* picture = pictures_.surface(window.view.picture)) {
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_paint(cr);
    }
    paintChildren(window, 0, cr);
}

void DesktopWindows::paintFrame(const Window& window, cairo_t* cr) {
    const WindowView& view = window.view;
    if (!window.exact || view.borderStyle == 0) {
        return;
    }
    const double width = view.width / screen_.twipsPerPixelX;
    const double height = view.height / screen_.twipsPerPixelY;
    const double frame = view.frameWidthPx;
    cairo_set_line_width(cr, 1);
    setColour(cr, 0x404040);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    cairo_stroke(cr);
    if (view.captionHeightPx <= 0) {
        return;
    }
    cairo_pattern_t* bar = cairo_pattern_create_linear(frame, 0, width - frame, 0);
    cairo_pattern_add_color_stop_rgb(bar, 0, 0, 0, 0.5);
    cairo_pattern_add_color_stop_rgb(bar, 1, 0.06, 0.52, 0.82);
    cairo_rectangle(cr, frame, frame, width - 2 * frame, view.captionHeightPx);
    cairo_set_source(cr, bar);
    cairo_fill(cr);
    cairo_pattern_destroy(bar);

    PangoLayout* caption = labelLayout(view.caption, 8, true, 0);
    setColour(cr, 0xFFFFFF);
    int textWidth = 0;
    int textHeight = 0;
    pango_layout_get_pixel_size(caption, &textWidth, &textHeight);
    cairo_save(cr);
    cairo_rectangle(cr, frame, frame, width - 2 * frame - kCloseBoxWidth - 4, view.captionHeightPx);
    cairo_clip(cr);
    cairo_move_to(cr, frame + 3, frame + (view.captionHeightPx - textHeight) / 2);
    pango_cairo_show_layout(cr, caption);
    cairo_restore(cr);
    g_object_unref(caption);

    // The close box.
    const double boxX = width - frame - kCloseBoxWidth - 2;
    const double boxY = frame + 2;
    const double boxH = view.captionHeightPx - 4;
    setColour(cr, kButtonFace);
    cairo_rectangle(cr, boxX, boxY, kCloseBoxWidth, boxH);
    cairo_fill(cr);
    setColour(cr, 0x000000);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, boxX + 4, boxY + 3);
    cairo_line_to(cr, boxX + kCloseBoxWidth - 4, boxY + boxH - 3);
    cairo_move_to(cr, boxX + kCloseBoxWidth - 4, boxY + 3);
    cairo_line_to(cr, boxX + 4, boxY + boxH - 3);
    cairo_stroke(cr);
}

bool DesktopWindows::onCloseBox(const Window& window, double x, double y) const {
    const WindowView& view = window.view;
    if (!window.exact || view.borderStyle == 0 || view.captionHeightPx <= 0) {
        return false;
    }
    const double width = view.width / screen_.twipsPerPixelX;
    const double boxX = width - view.frameWidthPx - kCloseBoxWidth - 2;
    const double boxY = view.frameWidthPx + 2;
    return x >= boxX && x < boxX + kCloseBoxWidth && y >= boxY &&
           y < boxY + view.captionHeightPx - 4;
}

void DesktopWindows::paintChildren(const Window& window, int32_t container, cairo_t* cr) {
    for (int32_t id : window.controls) {
        const Control& control = controls_.at(id);
        if (control.container != container || !control.state.Visible || control.widget) {
            continue;
        }
        paintControl(control, cr);
        if (control.kind == ControlKind::PictureBox) {
            const Box box = boxOf(control);
            cairo_save(cr);
            cairo_rectangle(cr, box.x, box.y, box.width, box.height);
            cairo_clip(cr);
            paintChildren(window, id, cr);
            cairo_restore(cr);
        }
    }
}

void DesktopWindows::paintControl(const Control& control, cairo_t* cr) {
    const win::Design& state = control.state;
    const Box box = boxOf(control);
    cairo_save(cr);
    switch (control.kind) {
        case ControlKind::Label: {
            cairo_rectangle(cr, box.x, box.y, box.width, box.height);
            cairo_clip(cr);
            if (state.BackStyle != 0) {
                setColour(cr, state.BackColor);
                cairo_paint(cr);
            }
            PangoLayout* layout = labelLayout(state.Caption, state.FontSize, state.FontBold,
                                              std::max(1, int(box.width)));
            pango_layout_set_alignment(layout, state.Alignment == 1   ? PANGO_ALIGN_RIGHT
                                               : state.Alignment == 2 ? PANGO_ALIGN_CENTER
                                                                      : PANGO_ALIGN_LEFT);
            setColour(cr, state.Enabled ? 0x000000 : 0xA0A0A0);
            cairo_move_to(cr, box.x, box.y);
            pango_cairo_show_layout(cr, layout);
            g_object_unref(layout);
            break;
        }
        case ControlKind::Image:
            if (cairo_surface_t* picture = pictures_.surface(state.Picture)) {
                cairo_rectangle(cr, box.x, box.y, box.width, box.height);
                cairo_clip(cr);
                cairo_translate(cr, box.x, box.y);
                const int width = cairo_image_surface_get_width(picture);
                const int height = cairo_image_surface_get_height(picture);
                if (state.Stretch && width > 0 && height > 0) {
                    cairo_scale(cr, box.width / width, box.height / height);
                }
                cairo_set_source_surface(cr, picture, 0, 0);
                cairo_paint(cr);
            }
            break;
        case ControlKind::PictureBox:
            cairo_rectangle(cr, box.x, box.y, box.width, box.height);
            cairo_clip(cr);
            setColour(cr, state.BackColor);
            cairo_paint(cr);
            if (cairo_surface_t* picture = pictures_.surface(state.Picture)) {
                cairo_set_source_surface(cr, picture, box.x, box.y);
                cairo_paint(cr);
            }
            if (state.BorderStyle != 0) {
                sunkenEdge(cr, box.x, box.y, box.width, box.height);
            }
            break;
        case ControlKind::Line: {
            // The ends are in the container's units, from its origin.
            const int16_t mode = control.containerScaleMode;
            double x0 = 0;
            double y0 = 0;
            if (const auto inside = controls_.find(control.container); inside != controls_.end()) {
                const Box outer = boxOf(inside->second);
                x0 = outer.x;
                y0 = outer.y;
            }
            setColour(cr, 0x000000);
            cairo_set_line_width(cr, 1);
            cairo_move_to(cr, x0 + toPixelsX(state.X1, mode) + 0.5,
                          y0 + toPixelsY(state.Y1, mode) + 0.5);
            cairo_line_to(cr, x0 + toPixelsX(state.X2, mode) + 0.5,
                          y0 + toPixelsY(state.Y2, mode) + 0.5);
            cairo_stroke(cr);
            break;
        }
        case ControlKind::ProgressBar: {
            sunkenEdge(cr, box.x, box.y, box.width, box.height);
            const double range = state.Max - state.Min;
            const double part =
                range > 0 ? std::clamp((state.Value - state.Min) / range, 0.0, 1.0) : 0;
            setColour(cr, 0xD77800);
            cairo_rectangle(cr, box.x + 2, box.y + 2, (box.width - 4) * part, box.height - 4);
            cairo_fill(cr);
            break;
        }
        default:
            break;
    }
    cairo_restore(cr);
}

int32_t DesktopWindows::hit(const Window& window, int32_t container, double x, double y) const {
    for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it) {
        const Control& control = controls_.at(*it);
        if (control.container != container || !control.state.Visible || control.widget ||
            control.kind == ControlKind::Line || !boxOf(control).contains(x, y)) {
            continue;
        }
        if (control.kind == ControlKind::PictureBox) {
            if (const int32_t inner = hit(window, control.id, x, y); inner != 0) {
                return inner;
            }
        }
        // A disabled control takes the press and does nothing with it.
        return control.state.Enabled ? control.id : -1;
    }
    return 0;
}

}  // namespace platform
