// Writes the program's icon as PNG pictures for the desktop's icon theme:
//   tarnix-icongen <icon-file> <size> <png-file> [<size> <png-file>]...
// The icon is pixel art: at a whole multiple of its size every pixel becomes a square block, so
// the edges stay as sharp as in the tray; other sizes are scaled smoothly.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace {

struct Unref {
    void operator()(GdkPixbuf* picture) const { g_object_unref(picture); }
};
using Picture = std::unique_ptr<GdkPixbuf, Unref>;

// The reason of a failed call, freed.
std::string reasonOf(GError* error) {
    std::string reason = error ? error->message : "unknown error";
    g_clear_error(&error);
    return reason;
}

int usage() {
    std::cerr << "usage: tarnix-icongen <icon-file> <size> <png-file> [<size> <png-file>]...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        return usage();
    }
    GError* error = nullptr;
    const Picture icon(gdk_pixbuf_new_from_file(argv[1], &error));
    if (!icon) {
        std::cerr << "tarnix-icongen: cannot read " << argv[1] << ": " << reasonOf(error) << '\n';
        return 1;
    }
    const int width = gdk_pixbuf_get_width(icon.get());
    const int height = gdk_pixbuf_get_height(icon.get());
    for (int i = 2; i < argc; i += 2) {
        const std::string_view text = argv[i];
        int size = 0;
        const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), size);
        if (failure != std::errc() || end != text.data() + text.size() || size < 1 || size > 1024) {
            std::cerr << "tarnix-icongen: size \"" << text
                      << "\" must be a whole number, 1 to 1024\n";
            return 2;
        }
        const bool blocks = width == height && size % width == 0;
        const Picture scaled(gdk_pixbuf_scale_simple(
            icon.get(), size, size, blocks ? GDK_INTERP_NEAREST : GDK_INTERP_HYPER));
        const std::filesystem::path file = argv[i + 1];
        std::error_code folderError;
        if (file.has_parent_path()) {
            std::filesystem::create_directories(file.parent_path(), folderError);
        }
        if (!scaled || folderError ||
            !gdk_pixbuf_save(scaled.get(), file.c_str(), "png", &error, nullptr)) {
            const std::string reason = folderError ? folderError.message() : reasonOf(error);
            std::cerr << "tarnix-icongen: cannot write " << file.string() << ": " << reason << '\n';
            return 1;
        }
    }
    return 0;
}
