#include "platform/ui/gdi.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace win;

// A region's rectangles as "left,top,right,bottom", blank-separated.
std::string rectsOf(int32_t hrgn) {
    std::string out;
    for (const RECT& r : FindRegion(hrgn)->rects()) {
        if (!out.empty()) {
            out += ' ';
        }
        out += std::to_string(r.Left) + ',' + std::to_string(r.Top) + ',' +
               std::to_string(r.Right) + ',' + std::to_string(r.Bottom);
    }
    return out;
}

TEST(Gdi, CombineRgnGivesTheCanonicalBandsAndTheirKind) {
    struct Case {
        std::array<int32_t, 4> a, b;
        int32_t mode, kind;
        const char* rects;
    };
    const Case cases[] = {
        {{0, 0, 4, 3}, {1, 1, 2, 2}, RGN_XOR, COMPLEXREGION, "0,0,4,1 0,1,1,2 2,1,4,2 0,2,4,3"},
        {{0, 0, 2, 2}, {3, 0, 4, 1}, RGN_XOR, COMPLEXREGION, "0,0,2,1 3,0,4,1 0,1,2,2"},
        {{0, 0, 3, 3}, {1, 1, 5, 5}, RGN_AND, SIMPLEREGION, "1,1,3,3"},
        {{0, 0, 2, 2}, {2, 0, 4, 2}, RGN_OR, SIMPLEREGION, "0,0,4,2"},  // spans join
        {{0, 0, 2, 1}, {0, 1, 2, 2}, RGN_OR, SIMPLEREGION, "0,0,2,2"},  // bands join
        {{0, 0, 2, 2}, {1, 1, 3, 3}, RGN_OR, COMPLEXREGION, "0,0,2,1 0,1,3,2 1,2,3,3"},
        {{0, 0, 4, 4}, {-1, -1, 2, 5}, RGN_DIFF, SIMPLEREGION, "2,0,4,4"},
        {{3, 2, 0, 0}, {9, 9, 9, 9}, RGN_COPY, SIMPLEREGION, "0,0,3,2"},  // corners swapped
        {{1, 1, 1, 5}, {0, 0, 0, 0}, RGN_OR, NULLREGION, ""},             // no width
    };
    for (const Case& c : cases) {
        const int32_t a = CreateRectRgn(c.a[0], c.a[1], c.a[2], c.a[3]);
        const int32_t b = CreateRectRgn(c.b[0], c.b[1], c.b[2], c.b[3]);
        const int32_t dest = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(dest, a, b, c.mode), c.kind) << c.rects;
        EXPECT_EQ(rectsOf(dest), c.rects);
        // Again into the first source, as the window shaping calls it.
        EXPECT_EQ(CombineRgn(a, a, b, c.mode), c.kind) << c.rects;
        EXPECT_EQ(rectsOf(a), c.rects);
        EXPECT_TRUE(DeleteObject(a) && DeleteObject(b) && DeleteObject(dest));
    }
}

// Random rectangles combined by random modes, either way round, checked pixel by pixel against
// a plain grid, and for the canonical form a backend relies on.
TEST(Gdi, RandomCombinationsMatchAPixelGridAndStayCanonical) {
    constexpr int kSide = 12;
    std::mt19937 random(7);
    auto coordinate = [&] { return static_cast<int32_t>(random() % (kSide + 1)); };
    const int32_t region = CreateRectRgn(0, 0, 0, 0);
    std::vector<bool> model(kSide * kSide, false);
    for (int step = 0; step < 400; ++step) {
        const std::array<int32_t, 4> r{coordinate(), coordinate(), coordinate(), coordinate()};
        const auto mode = static_cast<int32_t>(random() % 4 + 1);
        const int32_t other = CreateRectRgn(r[0], r[1], r[2], r[3]);
        const bool swapped = mode != RGN_DIFF && random() % 2 == 0;
        CombineRgn(region, swapped ? other : region, swapped ? region : other, mode);
        DeleteObject(other);
        for (int i = 0; i < kSide * kSide; ++i) {
            const int x = i % kSide, y = i / kSide;
            const bool inB = x >= std::min(r[0], r[2]) && x < std::max(r[0], r[2]) &&
                             y >= std::min(r[1], r[3]) && y < std::max(r[1], r[3]);
            const bool keep[] = {model[i] && inB, model[i] || inB, model[i] != inB,
                                 model[i] && !inB};
            model[i] = keep[mode - 1];
            ASSERT_EQ(PtInRegion(region, x, y) != 0, model[i]) << "step " << step;
        }
        const auto& bands = FindRegion(region)->bands();
        for (size_t i = 0; i < bands.size(); ++i) {
            ASSERT_TRUE(bands[i].top < bands[i].bottom && !bands[i].spans.empty());
            ASSERT_TRUE(
                i == 0 || bands[i - 1].bottom < bands[i].top ||
                (bands[i - 1].bottom == bands[i].top && bands[i - 1].spans != bands[i].spans))
                << "step " << step;
            for (size_t j = 0; j < bands[i].spans.size(); ++j) {
                ASSERT_LT(bands[i].spans[j].left, bands[i].spans[j].right);
                ASSERT_TRUE(j == 0 || bands[i].spans[j - 1].right < bands[i].spans[j].left);
            }
        }
    }
    DeleteObject(region);
}

TEST(Gdi, UnknownModesAndDeletedHandlesFailWithoutChangingAnything) {
    const int32_t dest = CreateRectRgn(0, 0, 2, 2);
    const int32_t dc = CreateCompatibleDC(0);
    // Freed numbers are given out again: nothing is made between the deletion and the checks.
    const int32_t gone = CreateRectRgn(0, 0, 1, 1);
    ASSERT_NE(DeleteObject(gone), 0);
    for (auto [src1, src2, mode] : {std::array{dest, dest, 0}, std::array{dest, dest, 6},
                                    std::array{gone, dest, RGN_OR}, std::array{dest, gone, RGN_AND},
                                    std::array{dest, dc, RGN_OR}, std::array{gone, 0, RGN_COPY}}) {
        EXPECT_EQ(CombineRgn(dest, src1, src2, mode), ERROR);
        EXPECT_EQ(rectsOf(dest), "0,0,2,2");
    }
    EXPECT_EQ(CombineRgn(gone, dest, dest, RGN_OR), ERROR);
    EXPECT_EQ(DeleteObject(gone) + PtInRegion(gone, 0, 0) + SelectObject(dc, gone), 0);
    // A device context goes through DeleteDC only; a region is no device context nor bitmap.
    EXPECT_EQ(DeleteObject(dc) + CreateCompatibleDC(dest) + SelectObject(dc, dest), 0);
    EXPECT_TRUE(DeleteDC(dc) && DeleteObject(dest) && !DeleteDC(dc));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
}

TEST(Gdi, SelectObjectSwapsBitmapsAndGetPixelIsInvalidOutsideTheSelectedOne) {
    auto pixels = std::make_shared<std::vector<uint32_t>>(std::vector<uint32_t>{1, 2, 3, 4, 5, 6});
    const int32_t bitmap = CreateBitmapOver(3, 2, pixels);
    EXPECT_EQ(CreateBitmapOver(2, 2, pixels), 0) << "six pixels are no 2 x 2 bitmap";
    const int32_t dc = CreateCompatibleDC(0);
    const int32_t other = CreateCompatibleDC(dc);
    // A new memory context holds the 1 x 1 stock bitmap.
    const int32_t stock = GetCurrentObject(dc, OBJ_BITMAP);
    EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
    EXPECT_EQ(GetPixel(dc, 1, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(dc, bitmap), stock);
    EXPECT_EQ(SelectObject(other, bitmap), 0) << "already selected elsewhere";
    EXPECT_EQ(DeleteObject(bitmap), 0) << "still selected";
    EXPECT_EQ(SelectObject(dc, bitmap), bitmap);
    for (auto [x, y, colour] : {std::array{0, 0, 1}, std::array{2, 0, 3}, std::array{0, 1, 4},
                                std::array{2, 1, 6}, std::array{3, 0, -1}, std::array{0, 2, -1},
                                std::array{-1, 0, -1}, std::array{0, -1, -1}}) {
        EXPECT_EQ(GetPixel(dc, x, y), static_cast<uint32_t>(colour)) << x << "," << y;
    }
    EXPECT_EQ(SelectObject(dc, stock), bitmap);
    EXPECT_EQ(SelectObject(other, bitmap), stock);
    EXPECT_TRUE(DeleteDC(other) && DeleteObject(bitmap)) << "free again once its context is gone";
    EXPECT_TRUE(DeleteObject(stock) && FindBitmap(stock)) << "the stock bitmap stays";
    DeleteDC(dc);
}

// A source of 4 x 3 pixels numbered 1..12 copied onto a 5 x 4 destination of zeros.
TEST(Gdi, BitBltCopiesOnlyWhatLiesInsideBothBitmaps) {
    const int32_t src = CreateSurfaceDC(4, 3);
    const int32_t dest = CreateSurfaceDC(5, 4);
    auto& from = *FindBitmap(GetCurrentObject(src, OBJ_BITMAP))->pixels;
    auto& to = *FindBitmap(GetCurrentObject(dest, OBJ_BITMAP))->pixels;
    for (uint32_t i = 0; i < from.size(); ++i) {
        from[i] = i + 1;
    }
    for (auto [x, y, w, h, sx, sy] :
         {std::array{0, 0, 100, 100, 0, 0}, std::array{2, 1, 4, 3, 0, 0},
          std::array{-1, -1, 3, 3, 0, 0}, std::array{0, 0, 3, 3, -2, 1},
          std::array{0, 0, -2, 2, 0, 0}, std::array{INT32_MAX, 0, 5, 5, 0, 0},
          std::array{0, 0, INT32_MAX, 9, INT32_MIN, 0}}) {
        std::fill(to.begin(), to.end(), 0);
        ASSERT_NE(BitBlt(dest, x, y, w, h, src, sx, sy, SRCCOPY), 0);
        for (int64_t i = 0; i < 20; ++i) {
            const int64_t dx = i % 5, dy = i / 5, fx = dx - x + sx, fy = dy - y + sy;
            const bool copied = dx >= x && dx < int64_t{x} + w && dy >= y && dy < int64_t{y} + h &&
                                fx >= 0 && fx < 4 && fy >= 0 && fy < 3;
            EXPECT_EQ(to[i], copied ? fy * 4 + fx + 1 : 0) << x << "," << y << " pixel " << i;
        }
    }
    // Within one bitmap the block moves as a whole, whichever way it overlaps.
    BitBlt(src, 1, 1, 3, 2, src, 0, 0, SRCCOPY);
    EXPECT_EQ(from, (std::vector<uint32_t>{1, 2, 3, 4, 5, 1, 2, 3, 9, 5, 6, 7}));
    BitBlt(src, 0, 0, 3, 2, src, 1, 1, SRCCOPY);
    EXPECT_EQ(from, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 3, 9, 5, 6, 7}));
    EXPECT_EQ(BitBlt(dest, 0, 0, 1, 1, src, 0, 0, 0x00EE0086), 0) << "only SRCCOPY";
    EXPECT_EQ(BitBlt(dest, 0, 0, 1, 1, 0, 0, 0, SRCCOPY), 0);
    const int32_t spare = CreateCompatibleBitmap(0, 1, 1);
    EXPECT_EQ(SelectObject(dest, spare), 0) << "a surface keeps its bitmap";
    EXPECT_TRUE(DeleteObject(spare) && DeleteDC(src) && DeleteDC(dest));
}

TEST(Gdi, TheTableRefusesObjectsPastItsQuotaAndGivesFreedNumbersAgain) {
    std::vector<int32_t> made;
    for (int32_t h; (h = CreateRectRgn(0, 0, 1, 1)) != 0;) {
        made.push_back(h);
    }
    EXPECT_EQ(GdiObjectCount(), kMaxGdiObjects);
    EXPECT_EQ(CreateSurfaceDC(1, 1), 0);
    const int32_t freed = made[made.size() / 2];
    DeleteObject(freed);
    EXPECT_EQ(CreateCompatibleBitmap(0, 1, 1), freed);
    EXPECT_EQ(CreateRectRgn(0, 0, 1, 1), 0);
    for (int32_t h : made) {
        DeleteObject(h);
    }
    EXPECT_LT(GdiObjectCount(), 10);
}

}  // namespace
