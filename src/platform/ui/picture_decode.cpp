#include "platform/ui/picture_decode.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/ui/icon_file.h"

namespace win::detail {

namespace {

constexpr int32_t kSystemIconSize = 32;
constexpr size_t kIconDirectorySize = 6 + 16;
constexpr size_t kInfoHeaderSize = 40;

struct LoaderUnref {
    void operator()(GdkPixbufLoader* loader) const { g_object_unref(loader); }
};

// What the loader reported while reading. A picture whose header claims more than the limits is
// refused before its pixels are allocated: the loader is told to scale it to one pixel, and that
// pixel is dropped. Rows the loader never decoded mean the data was cut short: the BMP, PNG and
// ICO loaders fill such rows in silently.
struct Progress {
    int32_t maxSide;
    int64_t maxPixels;
    bool refused = false;
    std::vector<bool> rowsDecoded{};
};

void onSizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer data) {
    auto* progress = static_cast<Progress*>(data);
    if (width < 1 || height < 1 || width > progress->maxSide || height > progress->maxSide ||
        int64_t{width} * height > progress->maxPixels) {
        progress->refused = true;
        gdk_pixbuf_loader_set_size(loader, 1, 1);
        return;
    }
    progress->rowsDecoded.assign(static_cast<size_t>(height), false);
}

void onAreaUpdated(GdkPixbufLoader* /*loader*/, gint /*x*/, gint y, gint /*width*/, gint height,
                   gpointer data) {
    auto& rows = static_cast<Progress*>(data)->rowsDecoded;
    const auto first = static_cast<size_t>(std::max(y, 0));
    const auto end = std::min(static_cast<size_t>(std::max(y + height, 0)), rows.size());
    for (size_t row = first; row < end; ++row) {
        rows[row] = true;
    }
}

// Whether the whole picture was decoded. A GIF's first frame may cover only part of its canvas,
// and its loader reports data cut short itself.
bool whole(const Progress& progress, GdkPixbufLoader* loader) {
    GdkPixbufFormat* format = gdk_pixbuf_loader_get_format(loader);
    gchar* name = format ? gdk_pixbuf_format_get_name(format) : nullptr;  // ours to free
    const bool gif = name != nullptr && std::string_view(name) == "gif";
    g_free(name);
    return gif || std::ranges::all_of(progress.rowsDecoded, [](bool decoded) { return decoded; });
}

// Any picture file the library reads, whole: pixels as 0x00BBGGRR, and the opacity of each pixel
// (255 where the file has none).
std::optional<DecodedPicture> decodeWithLibrary(std::span<const uint8_t> bytes, int32_t maxSide,
                                                int64_t maxPixels) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    std::unique_ptr<GdkPixbufLoader, LoaderUnref> loader(gdk_pixbuf_loader_new());
    Progress progress{maxSide, maxPixels};
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(onSizePrepared), &progress);
    g_signal_connect(loader.get(), "area-updated", G_CALLBACK(onAreaUpdated), &progress);
    GError* error = nullptr;
    const bool written = gdk_pixbuf_loader_write(loader.get(), bytes.data(), bytes.size(), &error);
    g_clear_error(&error);
    // Closed whatever happened, so that the loader lets go of what it holds.
    const bool closed = gdk_pixbuf_loader_close(loader.get(), &error);
    g_clear_error(&error);
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!written || !closed || progress.refused || pixbuf == nullptr ||
        !whole(progress, loader.get()) || gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8) {
        return std::nullopt;
    }
    DecodedPicture picture;
    picture.width = gdk_pixbuf_get_width(pixbuf);
    picture.height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool hasAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guint8* rows = gdk_pixbuf_read_pixels(pixbuf);
    const auto count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    picture.pixels.reserve(count);
    picture.alpha.reserve(count);
    for (int32_t y = 0; y < picture.height; ++y) {
        const guint8* pixel = rows + static_cast<ptrdiff_t>(y) * stride;
        for (int32_t x = 0; x < picture.width; ++x, pixel += channels) {
            picture.pixels.push_back(uint32_t{pixel[0]} | (uint32_t{pixel[1]} << 8) |
                                     (uint32_t{pixel[2]} << 16));
            picture.alpha.push_back(hasAlpha ? pixel[3] : 255);
        }
    }
    return picture;
}

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// An icon file holding only the chosen image, so that the library reads that one.
std::vector<uint8_t> singleImageIcon(std::span<const uint8_t> image, const IconEntry& entry) {
    std::vector<uint8_t> file;
    file.reserve(kIconDirectorySize + image.size());
    putLe(file, 0, 2);
    putLe(file, 1, 2);  // an icon: the hot spot is taken from the entry, not from the library
    putLe(file, 1, 2);
    file.push_back(static_cast<uint8_t>(entry.width % 256));
    file.push_back(static_cast<uint8_t>(entry.height % 256));
    putLe(file, 0, 2);
    putLe(file, 1, 2);
    putLe(file, entry.png ? 32 : readLe16(image, 14), 2);
    putLe(file, static_cast<uint32_t>(image.size()), 4);
    putLe(file, static_cast<uint32_t>(kIconDirectorySize), 4);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// A 32-bit image whose alpha bytes are all 0 has no alpha channel: its mask alone shapes it, as
// the system draws such icons. The library takes the zeros as clear, so the mask is read here.
bool applyMask(std::span<const uint8_t> image, DecodedPicture& picture) {
    const auto width = static_cast<size_t>(picture.width);
    const auto height = static_cast<size_t>(picture.height);
    const size_t colours = readLe32(image, 32);
    const size_t maskAt = kInfoHeaderSize + colours * 4 + width * 4 * height;
    const size_t maskStride = (width + 31) / 32 * 4;
    if (maskAt > image.size() || image.size() - maskAt < maskStride * height) {
        return false;
    }
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* row = image.data() + maskAt + (height - 1 - y) * maskStride;
        for (size_t x = 0; x < width; ++x) {
            const bool clear = (row[x / 8] & (0x80 >> (x % 8))) != 0;
            picture.alpha[y * width + x] = clear ? 0 : 255;
        }
    }
    return true;
}

std::optional<DecodedPicture> decodeIconFile(std::span<const uint8_t> bytes, int32_t maxSide,
                                             int64_t maxPixels) {
    const auto entry = chooseIconEntry(bytes, kSystemIconSize, kSystemIconSize);
    if (!entry) {
        return std::nullopt;
    }
    const auto image = bytes.subspan(entry->offset, entry->size);
    auto picture = decodeWithLibrary(singleImageIcon(image, *entry), maxSide, maxPixels);
    if (!picture) {
        return std::nullopt;
    }
    const bool noAlpha = std::ranges::all_of(picture->alpha, [](uint8_t a) { return a == 0; });
    if (!entry->png && readLe16(image, 14) == 32 && noAlpha && !applyMask(image, *picture)) {
        return std::nullopt;
    }
    picture->icon = true;
    picture->hotSpotX = std::min(entry->hotSpotX, picture->width - 1);
    picture->hotSpotY = std::min(entry->hotSpotY, picture->height - 1);
    return picture;
}

}  // namespace

std::optional<DecodedPicture> decodePicture(std::span<const uint8_t> bytes, int32_t maxSide,
                                            int64_t maxPixels) {
    // Icons and cursors: the image nearest the system's icon size, as the system picks it.
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
        bytes[3] == 0) {
        return decodeIconFile(bytes, maxSide, maxPixels);
    }
    auto picture = decodeWithLibrary(bytes, maxSide, maxPixels);
    if (picture) {
        picture->alpha.clear();  // a bitmap is opaque
    }
    return picture;
}

}  // namespace win::detail
