#include "platform/ui/picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/convert.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put(Bytes& bytes, size_t at, uint32_t value, int size) {
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

// A device-independent bitmap: the info header (headerSize bytes) and the colour rows; an icon's
// image also counts and carries its mask rows, and its alpha bytes come from alphaAt when
// withAlpha.
Bytes dib(int w, int h, int bits, bool topDown, bool icon, bool withAlpha,
          uint32_t headerSize = 40) {
    const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
    const size_t maskStride = (static_cast<size_t>(w) + 31) / 32 * 4;
    Bytes out(headerSize + stride * h + (icon ? maskStride * h : 0), 0);
    put(out, 0, headerSize, 4);
    put(out, 4, w, 4);
    put(out, 8, static_cast<uint32_t>(icon ? 2 * h : topDown ? -h : h), 4);
    put(out, 12, 1, 2);
    put(out, 14, bits, 2);
    for (int y = 0; y < h; ++y) {
        const size_t row = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colourAt(x, y);
            const size_t p = headerSize + row * stride + x * (bits / 8);
            put(out, p, (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16, 3);
            if (bits == 32 && withAlpha) {
                out[p + 3] = alphaAt(x, y);
            }
            if (icon && maskedAt(x, y)) {
                out[headerSize + stride * h + row * maskStride + x / 8] |= 0x80 >> (x % 8);
            }
        }
    }
    return out;
}

Bytes bmp(int w, int h, int bits, bool topDown, uint32_t headerSize = 40) {
    Bytes out(14, 0);
    out[0] = 'B';
    out[1] = 'M';
    const Bytes info = dib(w, h, bits, topDown, false, false, headerSize);
    out.insert(out.end(), info.begin(), info.end());
    put(out, 2, static_cast<uint32_t>(out.size()), 4);
    put(out, 10, 14 + headerSize, 4);
    return out;
}

struct IconImage {
    int size;
    int bits;
    bool withAlpha;
};

// An icon (type 1) or cursor (type 2) file; a cursor's entries carry the hot spot (3, 4).
Bytes ico(const std::vector<IconImage>& images, uint32_t type = 1) {
    Bytes out(6 + 16 * images.size(), 0);
    put(out, 2, type, 2);
    put(out, 4, static_cast<uint32_t>(images.size()), 2);
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        const Bytes data = dib(image.size, image.size, image.bits, false, true, image.withAlpha);
        const size_t entry = 6 + 16 * i;
        out[entry] = out[entry + 1] = static_cast<uint8_t>(image.size);
        put(out, entry + 4, type == 2 ? 3 : 1, 2);
        put(out, entry + 6, type == 2 ? 4 : image.bits, 2);
        put(out, entry + 8, static_cast<uint32_t>(data.size()), 4);
        put(out, entry + 12, static_cast<uint32_t>(out.size()), 4);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

win::StdPicture load(const Bytes& bytes) {
    return win::LoadPictureFromBytes(bytes);
}

TEST(Picture, ReadsBitmapsIconsAndCursorsPixelForPixel) {
    struct Case {
        const char* what;
        Bytes bytes;
        int size;  // of the square pictures; 0 for the bitmaps' own sizes below
        int w, h;
        enum { kOpaque, kMask, kChannel } alpha;
        int hotX, hotY;
    };
    const Case cases[] = {
        {"24-bit 1 x 1", bmp(1, 1, 24, false), 0, 1, 1, Case::kOpaque, 0, 0},
        {"24-bit rows padded by 3", bmp(3, 2, 24, false), 0, 3, 2, Case::kOpaque, 0, 0},
        {"24-bit top-down", bmp(2, 3, 24, true), 0, 2, 3, Case::kOpaque, 0, 0},
        {"32-bit bottom-up", bmp(5, 2, 32, false), 0, 5, 2, Case::kOpaque, 0, 0},
        {"32-bit top-down", bmp(2, 2, 32, true), 0, 2, 2, Case::kOpaque, 0, 0},
        {"a 124-byte header", bmp(3, 3, 24, false, 124), 0, 3, 3, Case::kOpaque, 0, 0},
        {"24-bit icon with mask", ico({{16, 24, false}}), 16, 16, 16, Case::kMask, 8, 8},
        {"32-bit icon with alpha", ico({{32, 32, true}}), 32, 32, 32, Case::kChannel, 16, 16},
        {"32-bit icon, alpha all 0", ico({{8, 32, false}}), 8, 8, 8, Case::kMask, 4, 4},
        {"the image nearest 32", ico({{16, 24, false}, {48, 32, true}, {32, 24, false}}), 32, 32,
         32, Case::kMask, 16, 16},
        {"cursor", ico({{32, 32, true}}, 2), 32, 32, 32, Case::kChannel, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const win::StdPicture picture = load(c.bytes);
        ASSERT_EQ(picture.Type(),
                  c.alpha == Case::kOpaque ? win::vbPicTypeBitmap : win::vbPicTypeIcon);
        ASSERT_EQ(picture.pixelWidth(), c.w);
        ASSERT_EQ(picture.pixelHeight(), c.h);
        EXPECT_EQ(picture.alpha().empty(), c.alpha == Case::kOpaque);
        EXPECT_EQ(picture.hotSpotX(), c.hotX);
        EXPECT_EQ(picture.hotSpotY(), c.hotY);
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) {
                const size_t i = static_cast<size_t>(y) * c.w + x;
                ASSERT_EQ(picture.pixels()[i], colourAt(x, y)) << x << "," << y;
                if (c.alpha != Case::kOpaque) {
                    ASSERT_EQ(picture.alpha()[i], c.alpha == Case::kChannel ? alphaAt(x, y)
                                                  : maskedAt(x, y)          ? 0
                                                                            : 255)
                        << x << "," << y;
                }
            }
        }
    }
}

TEST(Picture, RefusesWhatIsNoPictureItReadsAsInvalidPicture) {
    auto changed = [](Bytes bytes, const std::function<void(Bytes&)>& change) {
        change(bytes);
        return bytes;
    };
    const Bytes good = bmp(4, 3, 24, false);
    const Bytes icon = ico({{16, 32, true}});
    const std::pair<const char*, Bytes> cases[] = {
        {"no bytes", {}},
        {"another format", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}},
        {"only a file header", Bytes(good.begin(), good.begin() + 14)},
        {"a 12-byte header", changed(good, [](Bytes& b) { put(b, 14, 12, 4); })},
        {"two planes", changed(good, [](Bytes& b) { put(b, 26, 2, 2); })},
        {"8 bits per pixel", changed(good, [](Bytes& b) { put(b, 28, 8, 2); })},
        {"compressed", changed(good, [](Bytes& b) { put(b, 30, 1, 4); })},
        {"width 0", changed(good, [](Bytes& b) { put(b, 18, 0, 4); })},
        {"negative width", changed(good, [](Bytes& b) { put(b, 18, 0xFFFFFFFF, 4); })},
        {"width above the limit", changed(good, [](Bytes& b) { put(b, 18, 16385, 4); })},
        {"height 0", changed(good, [](Bytes& b) { put(b, 22, 0, 4); })},
        {"height above the limit", changed(good, [](Bytes& b) { put(b, 22, 16385, 4); })},
        {"the lowest height", changed(good, [](Bytes& b) { put(b, 22, 0x80000000, 4); })},
        {"a wider picture than its data", changed(good, [](Bytes& b) { put(b, 18, 5, 4); })},
        {"pixels starting in the header", changed(good, [](Bytes& b) { put(b, 10, 20, 4); })},
        {"pixels starting past the end",
         changed(good, [](Bytes& b) { put(b, 10, 0xFFFFFFF0, 4); })},
        {"pixel data cut short", Bytes(good.begin(), good.end() - 1)},
        {"an icon directory of type 3", changed(icon, [](Bytes& b) { put(b, 2, 3, 2); })},
        {"an icon directory without images", changed(icon, [](Bytes& b) { put(b, 4, 0, 2); })},
        {"an icon entry past the end", changed(icon, [](Bytes& b) { put(b, 6 + 8, 0xFFFF, 4); })},
        {"an icon image of odd height", changed(icon, [](Bytes& b) { put(b, 22 + 8, 33, 4); })},
        {"an 8-bit icon image", changed(icon, [](Bytes& b) { put(b, 22 + 14, 8, 2); })},
        {"an icon with a huge palette",
         changed(icon, [](Bytes& b) { put(b, 22 + 32, 1u << 30, 4); })},
        {"an icon without its mask",
         changed(icon,
                 [](Bytes& b) { put(b, 6 + 8, static_cast<uint32_t>(b.size() - 22 - 64), 4); })},
        {"a compressed icon image",
         changed(icon, [](Bytes& b) { std::copy_n("\x89PNG\r\n\x1A\n", 8, b.begin() + 22); })},
        {"a file above the size limit",
         changed(good, [](Bytes& b) { b.resize(win::kMaxPictureFile + 1); })},
    };
    ASSERT_NO_THROW(load(good));
    ASSERT_NO_THROW(load(icon));
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { load(bytes); }), win::kInvalidPicture) << what;
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
        {dir.file("no folder\\missing.bmp"), 53},
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
    EXPECT_EQ(empty.Type(), win::vbPicTypeNone);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.Handle(), 0);
}

TEST(Picture, SizesAreWholeHimetricAt96DotsPerInch) {
    // Halves go to the even neighbour: 12 pixels are 317.5, 36 pixels 952.5.
    const std::pair<int32_t, int32_t> cases[] = {{0, 0},     {1, 26},     {12, 318},   {36, 952},
                                                 {97, 2566}, {355, 9393}, {460, 12171}};
    for (const auto& [pixels, himetric] : cases) {
        EXPECT_EQ(win::HimetricFromPixels(pixels), himetric) << pixels;
    }
    const win::StdPicture background = load(bmp(460, 355, 24, false));
    EXPECT_EQ(background.Width(), 12171);
    EXPECT_EQ(background.Height(), 9393);
    // Back in pixels, the width keeps a small fraction above 460 and the height rounds to 355.
    const float w = win::PixelsFromHimetric(background.Width(), 15);
    EXPECT_GT(w, 460.0f);
    EXPECT_LT(w, 460.01f);
    EXPECT_EQ(platform::CLng(win::PixelsFromHimetric(background.Height(), 15)), 355);
}

TEST(Picture, TheHandleIsABitmapOfThePicturesOwnPixelsThatGoesWithTheLastCopy) {
    int32_t handle = 0;
    {
        const win::StdPicture picture = load(bmp(3, 2, 24, false));
        const win::StdPicture copy = picture;
        handle = picture.Handle();
        ASSERT_NE(handle, 0);
        EXPECT_EQ(copy.Handle(), handle);
        const int32_t dc = win::CreateCompatibleDC(0);
        const int32_t stock = win::SelectObject(dc, handle);
        EXPECT_EQ(win::GetPixel(dc, 2, 1), colourAt(2, 1));
        EXPECT_EQ(win::GetPixel(dc, 3, 1), win::CLR_INVALID);
        // Drawing into the bitmap draws into the picture.
        const int32_t surface = win::CreateSurfaceDC(1, 1);
        win::BitBlt(dc, 0, 0, 1, 1, surface, 0, 0, win::SRCCOPY);
        EXPECT_EQ(copy.pixels()[0], 0u);
        win::SelectObject(dc, stock);
        win::DeleteDC(dc);
        win::DeleteDC(surface);
    }
    EXPECT_EQ(win::FindBitmap(handle), nullptr);
}

}  // namespace
