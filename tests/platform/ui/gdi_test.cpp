#include "platform/ui/gdi.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <tuple>
#include <vector>

namespace {

// Rectangles as left, top, right, bottom.
using Rects = std::vector<std::array<int32_t, 4>>;

Rects rectsOf(int32_t hrgn) {
    Rects out;
    for (const win::RECT& r : win::FindRegion(hrgn)->rects()) {
        out.push_back({r.Left, r.Top, r.Right, r.Bottom});
    }
    return out;
}

TEST(Gdi, CombineRgnGivesTheCanonicalBandsAndTheirKind) {
    struct Case {
        const char* what;
        std::array<int32_t, 4> a;
        std::array<int32_t, 4> b;
        int32_t mode;
        int32_t kind;
        Rects rects;
    };
    const Case cases[] = {
        {"XOR of an inner cell makes a hole",
         {0, 0, 4, 3},
         {1, 1, 2, 2},
         win::RGN_XOR,
         win::COMPLEXREGION,
         {{0, 0, 4, 1}, {0, 1, 1, 2}, {2, 1, 4, 2}, {0, 2, 4, 3}}},
        {"XOR of a cell outside adds it",
         {0, 0, 2, 2},
         {3, 0, 4, 1},
         win::RGN_XOR,
         win::COMPLEXREGION,
         {{0, 0, 2, 1}, {3, 0, 4, 1}, {0, 1, 2, 2}}},
        {"XOR with itself empties", {0, 0, 2, 2}, {0, 0, 2, 2}, win::RGN_XOR, win::NULLREGION, {}},
        {"AND of overlapping",
         {0, 0, 3, 3},
         {1, 1, 5, 5},
         win::RGN_AND,
         win::SIMPLEREGION,
         {{1, 1, 3, 3}}},
        {"AND of disjoint", {0, 0, 1, 1}, {2, 2, 3, 3}, win::RGN_AND, win::NULLREGION, {}},
        {"OR of side by side joins spans",
         {0, 0, 2, 2},
         {2, 0, 4, 2},
         win::RGN_OR,
         win::SIMPLEREGION,
         {{0, 0, 4, 2}}},
        {"OR of stacked joins bands",
         {0, 0, 2, 1},
         {0, 1, 2, 2},
         win::RGN_OR,
         win::SIMPLEREGION,
         {{0, 0, 2, 2}}},
        {"OR of overlapping",
         {0, 0, 2, 2},
         {1, 1, 3, 3},
         win::RGN_OR,
         win::COMPLEXREGION,
         {{0, 0, 2, 1}, {0, 1, 3, 2}, {1, 2, 3, 3}}},
        {"DIFF cuts the left half",
         {0, 0, 4, 4},
         {-1, -1, 2, 5},
         win::RGN_DIFF,
         win::SIMPLEREGION,
         {{2, 0, 4, 4}}},
        {"DIFF by a disjoint keeps all",
         {0, 0, 1, 1},
         {5, 5, 6, 6},
         win::RGN_DIFF,
         win::SIMPLEREGION,
         {{0, 0, 1, 1}}},
        {"COPY ignores the second",
         {3, 2, 0, 0},
         {9, 9, 9, 9},
         win::RGN_COPY,
         win::SIMPLEREGION,
         {{0, 0, 3, 2}}},
        {"an empty rectangle", {1, 1, 1, 5}, {0, 0, 0, 0}, win::RGN_OR, win::NULLREGION, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t a = win::CreateRectRgn(c.a[0], c.a[1], c.a[2], c.a[3]);
        const int32_t b = win::CreateRectRgn(c.b[0], c.b[1], c.b[2], c.b[3]);
        const int32_t dest = win::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(win::CombineRgn(dest, a, b, c.mode), c.kind);
        EXPECT_EQ(rectsOf(dest), c.rects);
        // The same with the destination as the first source, as the window shaping calls it.
        EXPECT_EQ(win::CombineRgn(a, a, b, c.mode), c.kind);
        EXPECT_EQ(rectsOf(a), c.rects);
        for (int32_t h : {a, b, dest}) {
            EXPECT_NE(win::DeleteObject(h), 0);
        }
    }
}

// Random rectangles combined by random modes, checked pixel by pixel against a plain grid, and
// for the canonical form a backend relies on.
TEST(Gdi, RandomCombinationsMatchAPixelGridAndStayCanonical) {
    constexpr int kSide = 12;
    using Grid = std::vector<bool>;
    std::mt19937 random(7);
    auto coordinate = [&] { return static_cast<int32_t>(random() % (kSide + 1)); };
    const int32_t region = win::CreateRectRgn(0, 0, 0, 0);
    Grid model(kSide * kSide, false);
    for (int step = 0; step < 400; ++step) {
        const int32_t l = coordinate(), t = coordinate(), r = coordinate(), b = coordinate();
        const auto mode = static_cast<int32_t>(random() % 4 + 1);
        const int32_t other = win::CreateRectRgn(l, t, r, b);
        const bool otherFirst = random() % 2 == 0 && mode != win::RGN_DIFF;
        win::CombineRgn(region, otherFirst ? other : region, otherFirst ? region : other, mode);
        win::DeleteObject(other);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const bool inB = x >= std::min(l, r) && x < std::max(l, r) && y >= std::min(t, b) &&
                                 y < std::max(t, b);
                const bool inA = model[y * kSide + x];
                const bool keep[] = {inA && inB, inA || inB, inA != inB, inA && !inB};
                model[y * kSide + x] = keep[mode - 1];
                ASSERT_EQ(win::PtInRegion(region, x, y) != 0, model[y * kSide + x])
                    << "step " << step << " pixel " << x << "," << y;
            }
        }
        const auto& bands = win::FindRegion(region)->bands();
        for (size_t i = 0; i < bands.size(); ++i) {
            ASSERT_LT(bands[i].top, bands[i].bottom);
            ASSERT_FALSE(bands[i].spans.empty());
            if (i > 0) {
                ASSERT_LE(bands[i - 1].bottom, bands[i].top);
                ASSERT_FALSE(bands[i - 1].bottom == bands[i].top &&
                             bands[i - 1].spans == bands[i].spans)
                    << "touching bands with the same spans, step " << step;
            }
            for (size_t j = 0; j < bands[i].spans.size(); ++j) {
                ASSERT_LT(bands[i].spans[j].left, bands[i].spans[j].right);
                ASSERT_TRUE(j == 0 || bands[i].spans[j - 1].right < bands[i].spans[j].left);
            }
        }
    }
    win::DeleteObject(region);
}

TEST(Gdi, UnknownModesAndHandlesFailWithoutChangingTheDestination) {
    const int32_t dest = win::CreateRectRgn(0, 0, 2, 2);
    const int32_t dc = win::CreateCompatibleDC(0);
    // Freed numbers are given out again, so nothing is made between the deletion and the checks.
    const int32_t gone = win::CreateRectRgn(0, 0, 1, 1);
    ASSERT_NE(win::DeleteObject(gone), 0);
    for (auto [src1, src2, mode] :
         {std::tuple{dest, dest, 0}, std::tuple{dest, dest, 6}, std::tuple{gone, dest, win::RGN_OR},
          std::tuple{dest, gone, win::RGN_AND}, std::tuple{dest, dc, win::RGN_OR},
          std::tuple{gone, 0, win::RGN_COPY}}) {
        EXPECT_EQ(win::CombineRgn(dest, src1, src2, mode), win::ERROR);
        EXPECT_EQ(rectsOf(dest), (Rects{{0, 0, 2, 2}}));
    }
    EXPECT_EQ(win::CombineRgn(gone, dest, dest, win::RGN_OR), win::ERROR);
    EXPECT_EQ(win::DeleteObject(gone), 0);
    EXPECT_EQ(win::DeleteObject(dc), 0) << "a device context goes through DeleteDC";
    EXPECT_EQ(win::PtInRegion(gone, 0, 0), 0);
    EXPECT_EQ(win::FindRegion(dc), nullptr);
    EXPECT_NE(win::DeleteDC(dc), 0);
    EXPECT_EQ(win::DeleteDC(dc), 0);
    EXPECT_NE(win::DeleteObject(dest), 0);
}

TEST(Gdi, SelectObjectSwapsBitmapsAndGetPixelIsInvalidOutsideTheSelectedOne) {
    auto pixels = std::make_shared<std::vector<uint32_t>>(std::vector<uint32_t>{1, 2, 3, 4, 5, 6});
    const int32_t bitmap = win::CreateBitmapOver(3, 2, pixels);
    const int32_t dc = win::CreateCompatibleDC(0);
    const int32_t other = win::CreateCompatibleDC(dc);
    ASSERT_NE(bitmap, 0);
    ASSERT_NE(other, 0);
    EXPECT_EQ(win::CreateCompatibleDC(bitmap), 0);
    EXPECT_EQ(win::CreateBitmapOver(2, 2, pixels), 0) << "six pixels are no 2 x 2 bitmap";

    // A new memory context holds the 1 x 1 stock bitmap.
    const int32_t stock = win::GetCurrentObject(dc, win::OBJ_BITMAP);
    EXPECT_EQ(win::GetPixel(dc, 1, 0), win::CLR_INVALID);
    EXPECT_EQ(win::SelectObject(dc, bitmap), stock);
    EXPECT_EQ(win::SelectObject(other, bitmap), 0) << "already selected elsewhere";
    EXPECT_EQ(win::DeleteObject(bitmap), 0) << "still selected";
    const int32_t region = win::CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(win::SelectObject(dc, region), 0);
    EXPECT_EQ(win::SelectObject(dc, bitmap), bitmap);
    struct Read {
        int32_t x, y;
        uint32_t colour;
    };
    for (const Read& r : {Read{0, 0, 1}, Read{2, 0, 3}, Read{0, 1, 4}, Read{2, 1, 6},
                          Read{3, 0, win::CLR_INVALID}, Read{0, 2, win::CLR_INVALID},
                          Read{-1, 0, win::CLR_INVALID}, Read{0, -1, win::CLR_INVALID}}) {
        EXPECT_EQ(win::GetPixel(dc, r.x, r.y), r.colour) << r.x << "," << r.y;
    }
    EXPECT_EQ(win::SelectObject(dc, stock), bitmap);
    EXPECT_EQ(win::SelectObject(other, bitmap), stock);
    EXPECT_NE(win::DeleteDC(other), 0);
    EXPECT_EQ(win::GetPixel(other, 0, 0), win::CLR_INVALID);
    EXPECT_NE(win::DeleteObject(bitmap), 0) << "free again once its context is gone";
    EXPECT_EQ(win::FindBitmap(bitmap), nullptr);
    EXPECT_NE(win::DeleteObject(stock), 0);
    EXPECT_NE(win::FindBitmap(stock), nullptr) << "the stock bitmap stays";
    win::DeleteObject(region);
    win::DeleteDC(dc);
}

// A source of 4 x 3 pixels numbered 1..12, copied onto a 5 x 4 destination of zeros.
TEST(Gdi, BitBltCopiesOnlyWhatLiesInsideBothBitmaps) {
    struct Case {
        int32_t x, y, w, h, sx, sy;
    };
    const int32_t src = win::CreateSurfaceDC(4, 3);
    const int32_t dest = win::CreateSurfaceDC(5, 4);
    auto& srcPixels = *win::FindBitmap(win::GetCurrentObject(src, win::OBJ_BITMAP))->pixels;
    for (uint32_t i = 0; i < srcPixels.size(); ++i) {
        srcPixels[i] = i + 1;
    }
    auto& destPixels = *win::FindBitmap(win::GetCurrentObject(dest, win::OBJ_BITMAP))->pixels;
    for (const Case& c :
         {Case{0, 0, 100, 100, 0, 0}, Case{2, 1, 4, 3, 0, 0}, Case{-1, -1, 3, 3, 0, 0},
          Case{0, 0, 3, 3, -2, 1}, Case{1, 1, 2, 2, 3, 2}, Case{0, 0, -2, 2, 0, 0},
          Case{INT32_MAX, 0, 5, 5, 0, 0}, Case{0, 0, INT32_MAX, 9, INT32_MIN, 0}}) {
        std::fill(destPixels.begin(), destPixels.end(), 0);
        ASSERT_NE(win::BitBlt(dest, c.x, c.y, c.w, c.h, src, c.sx, c.sy, win::SRCCOPY), 0);
        for (int64_t y = 0; y < 4; ++y) {
            for (int64_t x = 0; x < 5; ++x) {
                const int64_t sx = x - c.x + c.sx, sy = y - c.y + c.sy;
                const bool copied = x >= c.x && x < int64_t{c.x} + c.w && y >= c.y &&
                                    y < int64_t{c.y} + c.h && sx >= 0 && sx < 4 && sy >= 0 &&
                                    sy < 3;
                EXPECT_EQ(destPixels[y * 5 + x], copied ? sy * 4 + sx + 1 : 0)
                    << "case " << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.sx
                    << "," << c.sy << " at " << x << "," << y;
            }
        }
    }
    // Within one bitmap the block moves as a whole, whichever way it overlaps.
    ASSERT_NE(win::BitBlt(src, 1, 1, 3, 2, src, 0, 0, win::SRCCOPY), 0);
    EXPECT_EQ(srcPixels, (std::vector<uint32_t>{1, 2, 3, 4, 5, 1, 2, 3, 9, 5, 6, 7}));
    ASSERT_NE(win::BitBlt(src, 0, 0, 3, 2, src, 1, 1, win::SRCCOPY), 0);
    EXPECT_EQ(srcPixels, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 3, 9, 5, 6, 7}));
    EXPECT_EQ(win::BitBlt(dest, 0, 0, 1, 1, src, 0, 0, 0x00EE0086), 0) << "only SRCCOPY";
    EXPECT_EQ(win::BitBlt(dest, 0, 0, 1, 1, 0, 0, 0, win::SRCCOPY), 0);
    const int32_t spare = win::CreateCompatibleBitmap(0, 1, 1);
    EXPECT_EQ(win::SelectObject(dest, spare), 0) << "a surface keeps its bitmap";
    win::DeleteObject(spare);
    win::DeleteDC(src);
    win::DeleteDC(dest);
}

TEST(Gdi, TheTableRefusesObjectsPastItsQuotaAndGivesFreedNumbersAgain) {
    std::vector<int32_t> made;
    for (int32_t h; (h = win::CreateRectRgn(0, 0, 1, 1)) != 0;) {
        made.push_back(h);
    }
    EXPECT_EQ(win::GdiObjectCount(), win::kMaxGdiObjects);
    EXPECT_EQ(win::CreateSurfaceDC(1, 1), 0);
    const int32_t freed = made[made.size() / 2];
    win::DeleteObject(freed);
    EXPECT_EQ(win::CreateCompatibleBitmap(0, 1, 1), freed);
    EXPECT_EQ(win::CreateRectRgn(0, 0, 1, 1), 0);
    win::DeleteObject(freed);
    for (int32_t h : made) {
        win::DeleteObject(h);
    }
    EXPECT_LT(win::GdiObjectCount(), 10);
}

}  // namespace
