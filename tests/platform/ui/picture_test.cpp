#include "platform/ui/picture.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/runtime/convert.h"
#include "platform/ui/gdi.h"
#include "platform/ui/picture_decode.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put(Bytes& bytes, size_t at, uint32_t value, int size) {
    bytes.resize(std::max(bytes.size(), at + size));
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The colour every test picture has at (x, y), as 0x00BBGGRR; and an alpha value that varies.
uint32_t colourAt(int x, int y) {
    return ((x * 37 + 5) & 0xFF) | ((y * 53 + 7) & 0xFF) << 8 | ((x * y + 11) & 0xFF) << 16;
}
uint8_t alphaAt(int x, int y) {
    return static_cast<uint8_t>(x * 50 + y);
}
bool maskedAt(int x, int y) {
    return (x + y) % 3 == 0;
}

// A device-independent bitmap: the info header and the colour rows; an icon's image counts and
// carries its mask rows too, and takes its alpha bytes from alphaAt when withAlpha.
Bytes dib(int w, int h, int bits, bool topDown, bool icon, bool withAlpha, uint32_t header = 40) {
    const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
    const size_t maskAt = header + stride * h;
    const size_t maskStride = (static_cast<size_t>(w) + 31) / 32 * 4;
    Bytes out(icon ? maskAt + maskStride * h : maskAt, 0);
    put(out, 0, header, 4);
    put(out, 4, w, 4);
    put(out, 8, static_cast<uint32_t>(icon ? 2 * h : topDown ? -h : h), 4);
    put(out, 12, 1, 2);
    put(out, 14, bits, 2);
    for (int y = 0; y < h; ++y) {
        const size_t row = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colourAt(x, y);
            const size_t p = header + row * stride + x * (bits / 8);
            put(out, p, (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16, 3);
            if (bits == 32 && withAlpha) {
                out[p + 3] = alphaAt(x, y);
            }
            if (icon && maskedAt(x, y)) {
                out[maskAt + row * maskStride + x / 8] |= 0x80 >> (x % 8);
            }
        }
    }
    return out;
}

Bytes bmp(int w, int h, int bits, bool topDown, uint32_t header = 40) {
    Bytes out{'B', 'M'};
    put(out, 10, 14 + header, 4);
    const Bytes info = dib(w, h, bits, topDown, false, false, header);
    out.insert(out.end(), info.begin(), info.end());
    put(out, 2, static_cast<uint32_t>(out.size()), 4);
    return out;
}

// An icon (type 1) or cursor (type 2) file of square images {size, bits, withAlpha}; a cursor's
// entries carry the hot spot (3, 4).
Bytes ico(const std::vector<std::array<int, 3>>& images, uint32_t type = 1) {
    Bytes out;
    put(out, 2, type, 2);
    put(out, 4, static_cast<uint32_t>(images.size()), 2);
    size_t at = 6 + 16 * images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        const auto [size, bits, withAlpha] = images[i];
        const Bytes data = dib(size, size, bits, false, true, withAlpha);
        put(out, 6 + 16 * i, size * 0x101, 2);
        put(out, 6 + 16 * i + 4, type == 2 ? 0x40003 : bits << 16 | 1, 4);
        put(out, 6 + 16 * i + 8, static_cast<uint32_t>(data.size()), 4);
        put(out, 6 + 16 * i + 12, static_cast<uint32_t>(at), 4);
        out.resize(at);
        out.insert(out.end(), data.begin(), data.end());
        at += data.size();
    }
    return out;
}

TEST(Picture, ReadsBitmapsIconsAndCursorsPixelForPixel) {
    enum Alpha { kNone, kMask, kChannel };
    struct Case {
        const char* what;
        Bytes bytes;
        int w, h;
        Alpha alpha;
        int hotX, hotY;
    };
    const Case cases[] = {
        {"24-bit rows padded by 3", bmp(3, 2, 24, false), 3, 2, kNone, 0, 0},
        {"24-bit top-down", bmp(2, 3, 24, true), 2, 3, kNone, 0, 0},
        {"32-bit", bmp(5, 2, 32, false), 5, 2, kNone, 0, 0},
        {"as wide as the limit", bmp(16384, 1, 24, false), 16384, 1, kNone, 0, 0},
        {"a 124-byte header", bmp(3, 3, 24, false, 124), 3, 3, kNone, 0, 0},
        {"24-bit icon with mask", ico({{16, 24, 0}}), 16, 16, kMask, 8, 8},
        {"32-bit icon with alpha", ico({{32, 32, 1}}), 32, 32, kChannel, 16, 16},
        {"32-bit icon, alpha all 0", ico({{8, 32, 0}}), 8, 8, kMask, 4, 4},
        {"the image nearest 32", ico({{16, 24, 0}, {48, 32, 1}, {32, 24, 0}}), 32, 32, kMask, 16,
         16},
        {"cursor", ico({{32, 32, 1}}, 2), 32, 32, kChannel, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const win::StdPicture picture = win::LoadPictureFromBytes(c.bytes);
        ASSERT_EQ(picture.Type(), c.alpha == kNone ? win::vbPicTypeBitmap : win::vbPicTypeIcon);
        ASSERT_EQ(picture.pixelWidth(), c.w);
        ASSERT_EQ(picture.pixelHeight(), c.h);
        ASSERT_EQ(picture.alpha().size(), c.alpha == kNone ? 0u : picture.pixels().size());
        EXPECT_EQ(picture.hotSpotX(), c.hotX);
        EXPECT_EQ(picture.hotSpotY(), c.hotY);
        // The handle's bitmap carries what a renderer needs of an icon: opacity and hot spot.
        const win::Bitmap* bitmap = win::FindBitmap(picture.Handle());
        ASSERT_NE(bitmap, nullptr);
        ASSERT_EQ(bitmap->icon != nullptr, c.alpha != kNone);
        if (bitmap->icon) {
            EXPECT_EQ(bitmap->icon->alpha, picture.alpha());
            EXPECT_EQ(bitmap->icon->hotSpotX, c.hotX);
            EXPECT_EQ(bitmap->icon->hotSpotY, c.hotY);
        }
        for (int i = 0; i < c.w * c.h; ++i) {
            const int x = i % c.w, y = i / c.w;
            ASSERT_EQ(picture.pixels()[i], colourAt(x, y)) << x << "," << y;
            if (c.alpha != kNone) {
                const int opaque = c.alpha == kChannel ? alphaAt(x, y) : maskedAt(x, y) ? 0 : 255;
                ASSERT_EQ(picture.alpha()[i], opaque) << x << "," << y;
            }
        }
    }
}

Bytes patched(Bytes bytes, size_t at, uint32_t value, int size) {
    put(bytes, at, value, size);
    return bytes;
}

TEST(Picture, RefusesWhatIsNoPictureItReadsAsInvalidPicture) {
    const Bytes good = bmp(4, 3, 24, false);
    const Bytes icon = ico({{16, 32, true}});  // its image's header starts at 22
    const uint32_t iconSize = static_cast<uint32_t>(icon.size());
    const std::pair<const char*, Bytes> cases[] = {
        {"no bytes", {}},
        {"another format", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}},
        {"only a file header", Bytes(good.begin(), good.begin() + 14)},
        {"a 12-byte header", patched(good, 14, 12, 4)},
        {"8 bits per pixel", patched(good, 28, 8, 2)},
        {"compressed", patched(good, 30, 1, 4)},
        {"negative width", patched(good, 18, 0xFFFFFFFF, 4)},
        {"width 0", patched(good, 18, 0, 4)},
        {"wider than the limit", bmp(16385, 1, 24, false)},
        {"higher than the limit", bmp(1, 16385, 24, false)},
        {"height 0", patched(good, 22, 0, 4)},
        {"the lowest height", patched(good, 22, 0x80000000, 4)},
        {"wider than its data", patched(good, 18, 5, 4)},
        {"pixels starting past the end", patched(good, 10, 0xFFFFFFF0, 4)},
        {"pixel data cut short", Bytes(good.begin(), good.end() - 1)},
        {"a directory of type 3", patched(icon, 2, 3, 2)},
        {"an entry past the end", patched(icon, 14, iconSize, 4)},
        {"an 8-bit icon image", patched(icon, 22 + 14, 8, 2)},
        {"a compressed icon image", patched(patched(icon, 22, 0x474E5089, 4), 26, 0x0A1A0A0D, 4)},
        {"above the size limit", patched(good, win::kMaxPictureFile, 0, 1)},
    };
    ASSERT_NO_THROW(win::LoadPictureFromBytes(good));
    ASSERT_NO_THROW(win::LoadPictureFromBytes(icon));
    // Fields the picture library does not need are not checked: these read as pictures.
    for (const auto& [lenient, width] :
         {std::pair(patched(good, 26, 2, 2), 4), std::pair(patched(good, 10, 20, 4), 4),
          std::pair(patched(icon, 22 + 8, 33, 4), 16),
          std::pair(patched(icon, 22 + 32, 1u << 30, 4), 16),
          std::pair(patched(icon, 14, iconSize - 22 - 64, 4), 16)}) {
        EXPECT_EQ(win::LoadPictureFromBytes(lenient).pixelWidth(), width);
    }
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { win::LoadPictureFromBytes(bytes); }),
                  win::kInvalidPicture)
            << what;
    }
}

// A 40 x 30 picture of four flat quarters, as 0x00BBGGRR: what each generated file shows.
uint32_t quarterAt(int x, int y) {
    static const uint32_t quarters[] = {0x0000C0, 0x00C000, 0xC00000, 0x40C0C0};
    return quarters[(x < 20 ? 0 : 1) + (y < 15 ? 0 : 2)];
}

// The quarters saved by the picture library in one of its formats.
Bytes saved(const char* format) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 40, 30);
    guint8* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            guint8* p = pixels + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 3;
            const uint32_t c = quarterAt(x, y);
            p[0] = c & 0xFF, p[1] = c >> 8 & 0xFF, p[2] = c >> 16 & 0xFF;
        }
    }
    gchar* buffer = nullptr;
    gsize size = 0;
    const bool done =
        gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, format, nullptr, nullptr) != FALSE;
    g_object_unref(pixbuf);
    Bytes bytes(buffer, buffer + (done ? size : 0));
    g_free(buffer);
    return bytes;
}

// A 2 x 2 palettised bitmap, indexes 0 1 / 1 0 over blue and yellow; RLE8-compressed when rle.
Bytes paletteBitmap(bool rle) {
    Bytes out{'B', 'M'};
    const Bytes rows = rle ? Bytes{1, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1}  // runs, line ends
                           : Bytes{1, 0, 0, 0, 0, 1, 0, 0};                   // bottom row first
    put(out, 10, 14 + 40 + 8, 4);
    put(out, 14, 40, 4);
    put(out, 18, 2, 4);
    put(out, 22, 2, 4);
    put(out, 26, 1, 2);
    put(out, 28, 8, 2);
    put(out, 30, rle ? 1 : 0, 4);
    put(out, 34, static_cast<uint32_t>(rows.size()), 4);
    put(out, 46, 2, 4);
    put(out, 54, 0x0000FF, 4);  // index 0: blue, stored B G R 0
    put(out, 58, 0xFFFF00, 4);  // index 1: yellow
    out.insert(out.end(), rows.begin(), rows.end());
    put(out, 2, static_cast<uint32_t>(out.size()), 4);
    return out;
}

// A 1 x 1 GIF of one red pixel; the logical screen's size at 6.
const Bytes kGif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0,  0,
                    0,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 'D',  1, 0, ';'};

// The JPEG with its frame header claiming width x height.
Bytes claiming(Bytes jpeg, uint16_t width, uint16_t height) {
    for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = height >> 8, jpeg[i + 6] = height & 0xFF;
            jpeg[i + 7] = width >> 8, jpeg[i + 8] = width & 0xFF;
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(Picture, ReadsEveryFormatALogoComesInAndRefusesItCutShortOrClaimingTooMuch) {
    struct Case {
        const char* what;
        Bytes bytes;
        int w, h;
        int x, y;
        uint32_t colour;
        int tolerance;  // per channel: JPEG is lossy
    };
    const Case cases[] = {
        {"PNG", saved("png"), 40, 30, 30, 22, quarterAt(30, 22), 0},
        {"JPEG", saved("jpeg"), 40, 30, 30, 22, quarterAt(30, 22), 8},
        {"BMP from the library", saved("bmp"), 40, 30, 10, 7, quarterAt(10, 7), 0},
        {"palettised BMP", paletteBitmap(false), 2, 2, 1, 0, 0x00FFFF, 0},
        {"RLE8 BMP", paletteBitmap(true), 2, 2, 0, 0, 0xFF0000, 0},
        {"GIF", kGif, 1, 1, 0, 0, 0x0000FF, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_GT(c.bytes.size(), 8u);
        const win::StdPicture picture = win::LoadPictureFromBytes(c.bytes);
        ASSERT_EQ(picture.Type(), win::vbPicTypeBitmap);
        ASSERT_EQ(std::pair(picture.pixelWidth(), picture.pixelHeight()), std::pair(c.w, c.h));
        const uint32_t got = picture.pixels()[c.y * c.w + c.x];
        for (int shift : {0, 8, 16}) {
            EXPECT_NEAR(got >> shift & 0xFF, c.colour >> shift & 0xFF, c.tolerance) << shift;
        }
        const Bytes half(c.bytes.begin(), c.bytes.begin() + c.bytes.size() / 2);
        EXPECT_EQ(testsupport::errorNumberOf([&] { win::LoadPictureFromBytes(half); }),
                  win::kInvalidPicture);
    }
    // The limits hold at the size the header claims, whatever the data.
    const Bytes png = saved("png");
    for (const auto& [maxSide, maxPixels, read] :
         {std::tuple(40, int64_t{1200}, true), std::tuple(40, int64_t{1199}, false),
          std::tuple(39, int64_t{1200}, false)}) {
        EXPECT_EQ(win::detail::decodePicture(png, maxSide, maxPixels).has_value(), read)
            << maxSide << " " << maxPixels;
    }
    Bytes hugeGif = kGif;
    put(hugeGif, 6, 0x1388, 2);  // 5000 x 5000: sides within the limit, pixels not
    put(hugeGif, 8, 0x1388, 2);
    for (const Bytes& claims :
         {claiming(saved("jpeg"), 5000, 5000), hugeGif, claiming(saved("jpeg"), 16385, 1)}) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { win::LoadPictureFromBytes(claims); }),
                  win::kInvalidPicture);
    }
}

TEST(Picture, LoadPictureReportsMissingAndUnreadableFiles) {
    testsupport::TempDir dir;
    const Bytes good = bmp(2, 2, 24, false);
    testsupport::writeFile(dir.path() / "good.bmp", std::string(good.begin(), good.end()));
    testsupport::writeFile(dir.path() / "text.bmp", "not a picture");
    testsupport::writeFile(dir.path() / "huge.bmp", "BM");
    std::filesystem::resize_file(dir.path() / "huge.bmp", win::kMaxPictureFile + 1);
    const std::pair<std::string, int> cases[] = {
        {dir.file("missing.bmp"), 53},
        {dir.path().string(), 75},
        {dir.file("text.bmp"), win::kInvalidPicture},
        {dir.file("huge.bmp"), win::kInvalidPicture},
        {dir.file("good.bmp"), 0},
    };
    for (const auto& [path, error] : cases) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { win::LoadPicture(path); }), error) << path;
    }
    EXPECT_EQ(win::LoadPicture(dir.file("good.bmp")).pixels()[3], colourAt(1, 1));
    const win::StdPicture empty = win::LoadPicture("");
    EXPECT_TRUE(empty.Type() == win::vbPicTypeNone && empty.Width() == 0 && empty.Handle() == 0);
}

TEST(Picture, SizesAreWholeHimetricAtTheScreensResolutionAndComeBackAsPixels) {
    // Halves go to the even neighbour: 12 pixels are 317.5, 36 pixels 952.5 at 15 twips a pixel.
    EXPECT_EQ(std::pair(win::HimetricFromPixels(12, 15), win::HimetricFromPixels(36, 15)),
              std::pair(318, 952));
    const auto background = win::LoadPictureFromBytes(bmp(460, 355, 24, false));
    // Without a screen, 96 dots per inch.
    EXPECT_EQ(std::pair(background.Width(), background.Height()), std::pair(12171, 9393));
    for (const float tpp : {15.0f, 12.0f, 1.0f, 7.5f, 1440.0f}) {
        // Both come back to their pixels, the width within half a HIMETRIC unit of 460.
        const float w = win::PixelsFromHimetric(win::HimetricFromPixels(460, tpp), tpp);
        EXPECT_NEAR(w, 460.0f, 0.5f * 1440 / 2540 / tpp) << tpp;
        EXPECT_EQ(platform::CLng(w), 460) << tpp;
        const float h = win::PixelsFromHimetric(win::HimetricFromPixels(355, tpp), tpp);
        EXPECT_EQ(platform::CLng(h), 355) << tpp;
    }
}

TEST(Picture, TheHandleIsABitmapOfThePicturesPixelsThatGoesWithTheLastCopy) {
    int32_t handle = 0;
    {
        const win::StdPicture picture = win::LoadPictureFromBytes(bmp(3, 2, 24, false));
        const win::StdPicture copy = picture;
        handle = picture.Handle();
        EXPECT_EQ(copy.Handle(), handle);
        const int32_t dc = win::CreateCompatibleDC(0);
        const int32_t stock = win::SelectObject(dc, handle);
        EXPECT_EQ(win::GetPixel(dc, 2, 1), colourAt(2, 1));
        // The bitmap is the picture's own pixels: drawing into it draws into the picture.
        const int32_t black = win::CreateSurfaceDC(1, 1);
        win::BitBlt(dc, 0, 0, 1, 1, black, 0, 0, win::SRCCOPY);
        EXPECT_EQ(copy.pixels()[0], 0u);
        EXPECT_TRUE(win::SelectObject(dc, stock) && win::DeleteDC(dc) && win::DeleteDC(black));
    }
    EXPECT_NE(handle, 0);
    EXPECT_EQ(win::FindBitmap(handle), nullptr);
}

}  // namespace
