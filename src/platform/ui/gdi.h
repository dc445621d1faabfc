#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/region.h"

// The drawing objects of the platform, by their platform names: regions, bitmaps and device
// contexts. Handles are small positive numbers in one table shared by all three kinds; a freed
// number is given out again. A handle that names no object of the kind an operation needs makes
// it fail the platform's way (0, ERROR or CLR_INVALID) and change nothing. At most
// kMaxGdiObjects objects live at once; creating one more fails with 0.
namespace win {

// Colours are 0x00BBGGRR: red in the lowest byte.
constexpr uint32_t CLR_INVALID = 0xFFFFFFFF;
constexpr uint32_t SRCCOPY = 0xCC0020;
constexpr uint32_t OBJ_BITMAP = 7;
constexpr int32_t kMaxGdiObjects = 10000;
// The largest bitmap side; larger bitmaps are refused.
constexpr int32_t kMaxBitmapSide = 16384;

// The pixels of a bitmap, row 0 at the top, each 0x00BBGGRR. Shared so that a picture and the
// bitmap made from it are one set of pixels.
using PixelBuffer = std::shared_ptr<std::vector<uint32_t>>;

// What an icon or cursor has beside its pixels: each pixel's opacity (0 clear to 255 opaque) and
// the pointer's hot spot.
struct IconParts {
    std::vector<uint8_t> alpha;
    int32_t hotSpotX = 0;
    int32_t hotSpotY = 0;
};

struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    PixelBuffer pixels;
    std::shared_ptr<const IconParts> icon;  // null: a bitmap, opaque
};

// The region [left, right) x [top, bottom), corners in either order. 0 when the table is full.
int32_t CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom);

// Sets hrgnDest to hrgnSrc1 combined with hrgnSrc2 by iMode (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF;
// RGN_COPY copies hrgnSrc1 and ignores hrgnSrc2). Any of the three may be the same region.
// Returns the kind of the new region, or ERROR (hrgnDest unchanged) for an unknown mode or a
// handle that names no region.
int32_t CombineRgn(int32_t hrgnDest, int32_t hrgnSrc1, int32_t hrgnSrc2, int32_t iMode);

// Non-zero when the pixel (x, y) lies in the region.
int32_t PtInRegion(int32_t hrgn, int32_t x, int32_t y);

// A memory device context with the stock 1 x 1 bitmap selected. hdc, when not 0, must name a
// device context. 0 on failure.
int32_t CreateCompatibleDC(int32_t hdc);

// A black bitmap of cx x cy pixels (1 to kMaxBitmapSide each way); 0 on failure. hdc as above.
int32_t CreateCompatibleBitmap(int32_t hdc, int32_t cx, int32_t cy);

// Selects the bitmap hgdiobj into the memory device context hdc and returns the bitmap it
// replaces. 0 on failure: hdc is no memory device context, hgdiobj no bitmap, or a bitmap
// already selected into another device context (the stock bitmap excepted). Only bitmaps can be
// selected.
int32_t SelectObject(int32_t hdc, int32_t hgdiobj);

// The object of kind uObjectType (OBJ_BITMAP) selected into hdc; 0 when hdc names no context.
int32_t GetCurrentObject(int32_t hdc, uint32_t uObjectType);

// The colour of pixel (x, y) of the bitmap selected into hdc; CLR_INVALID outside the bitmap or
// for a handle that names no device context.
uint32_t GetPixel(int32_t hdc, int32_t x, int32_t y);

// Copies the block of nWidth x nHeight pixels at (nXSrc, nYSrc) of hdcSrc's bitmap to (nXDest,
// nYDest) of hdcDest's bitmap, leaving out every pixel that lies outside either bitmap; source and
// destination may overlap. Only SRCCOPY is known. Non-zero on success (also when nothing lies
// inside both), 0 for another operation or a handle that names no device context.
int32_t BitBlt(int32_t hdcDest, int32_t nXDest, int32_t nYDest, int32_t nWidth, int32_t nHeight,
               int32_t hdcSrc, int32_t nXSrc, int32_t nYSrc, uint32_t dwRop);

// Deletes a region or a bitmap; non-zero on success. A bitmap still selected into a device context
// is not deleted (0). The stock bitmap is never deleted (non-zero, nothing happens). Device
// contexts go through DeleteDC.
int32_t DeleteObject(int32_t hObject);

// Deletes a device context: a memory context gives its selected bitmap free again, a surface
// context deletes its surface with it. Non-zero on success.
int32_t DeleteDC(int32_t hdc);

// A bitmap of width x height over pixels (not copied: the picture and the bitmap share them), with
// an icon's parts when it shows one. 0 when a side is outside 1 to kMaxBitmapSide, pixels does not
// hold width x height values, or the table is full.
int32_t CreateBitmapOver(int32_t width, int32_t height, PixelBuffer pixels,
                         std::shared_ptr<const IconParts> icon = nullptr);

// A device context over a window's surface: a black bitmap of the window's size in pixels, owned
// by the context and deleted with it. Nothing else can be selected into it. 0 on failure.
int32_t CreateSurfaceDC(int32_t width, int32_t height);

// Read access for whoever renders: null for a handle that names no object of that kind.
const Region* FindRegion(int32_t hrgn);
const Bitmap* FindBitmap(int32_t hbm);

// How many objects live now (the stock bitmap included once made).
int32_t GdiObjectCount();

}  // namespace win
