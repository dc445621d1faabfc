#include "platform/desktop/toolkit_text.h"

#include <gtk/gtk.h>

namespace platform {

namespace {

// The family of the desktop's UI font; the model's font names are those of another system.
const std::string& uiFontFamily() {
    static const std::string family = [] {
        std::string name = "Sans";
        gchar* setting = nullptr;
        if (GtkSettings* settings = gtk_settings_get_default()) {
            g_object_get(settings, "gtk-font-name", &setting, nullptr);
        }
        if (setting != nullptr) {
            PangoFontDescription* font = pango_font_description_from_string(setting);
            if (const char* family = pango_font_description_get_family(font)) {
                name = family;
            }
            pango_font_description_free(font);
            g_free(setting);
        }
        return name;
    }();
    return family;
}

}  // namespace

std::string toolkitText(std::string_view text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        return std::string(text);
    }
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result = valid;
    g_free(valid);
    return result;
}

std::string mnemonicText(std::string_view caption) {
    std::string result;
    for (size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '&' && i + 1 < caption.size() && caption[i + 1] == '&') {
            result += '&';
            ++i;
        } else if (c == '&') {
            result += '_';
        } else if (c == '_') {
            result += "__";
        } else {
            result += c;
        }
    }
    return toolkitText(result);
}

PangoLayout* labelLayout(std::string_view text, float size, bool bold, int widthPx) {
    // One for the process: the screen's, kept while the display is.
    static PangoContext* const context = gdk_pango_context_get();
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, uiFontFamily().c_str());
    pango_font_description_set_size(font, static_cast<gint>(size * PANGO_SCALE));
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    const std::string shown = toolkitText(text);
    pango_layout_set_text(layout, shown.c_str(), -1);
    if (widthPx > 0) {
        // Broken between words only, as a label breaks: a word wider than the label runs past
        // its edge and is cut there, without a hyphen.
        pango_layout_set_width(layout, widthPx * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    return layout;
}

}  // namespace platform
