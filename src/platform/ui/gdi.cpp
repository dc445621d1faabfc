#include "platform/ui/gdi.h"

#include <algorithm>
#include <variant>

namespace win {

namespace {

struct BitmapObject {
    Bitmap bitmap;
    int32_t selectedInto = 0;  // the device context holding it, 0 when free
    bool stock = false;
};

struct DeviceContext {
    int32_t bitmap = 0;
    bool surface = false;  // a window's surface: owns its bitmap, nothing else can be selected
};

using Object = std::variant<std::monostate, Region, BitmapObject, DeviceContext>;

// The one table of drawing objects. It is never destroyed, so a picture released while the
// program ends still finds it.
class Table {
  public:
    template <typename Kind>
    Kind* find(int32_t handle) {
        if (handle < 1 || handle > static_cast<int32_t>(slots_.size())) {
            return nullptr;
        }
        return std::get_if<Kind>(&slots_[static_cast<size_t>(handle - 1)]);
    }

    int32_t add(Object object) {
        if (live_ >= kMaxGdiObjects) {
            return 0;
        }
        ++live_;
        if (!free_.empty()) {
            const int32_t handle = free_.back();
            free_.pop_back();
            slots_[static_cast<size_t>(handle - 1)] = std::move(object);
            return handle;
        }
        slots_.push_back(std::move(object));
        return static_cast<int32_t>(slots_.size());
    }

    void remove(int32_t handle) {
        slots_[static_cast<size_t>(handle - 1)] = std::monostate{};
        free_.push_back(handle);
        --live_;
    }

    int32_t live() const { return live_; }

    int32_t stockBitmap() {
        if (stock_ == 0) {
            stock_ = add(BitmapObject{
                {1, 1, std::make_shared<std::vector<uint32_t>>(1, 0), nullptr}, 0, true});
        }
        return stock_;
    }

  private:
    std::vector<Object> slots_;
    std::vector<int32_t> free_;
    int32_t live_ = 0;
    int32_t stock_ = 0;
};

Table& table() {
    static Table& instance = *new Table;
    return instance;
}

bool validSize(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxBitmapSide && height <= kMaxBitmapSide;
}

// The bitmap selected into hdc, or null.
BitmapObject* selectedBitmap(int32_t hdc) {
    const DeviceContext* dc = table().find<DeviceContext>(hdc);
    return dc ? table().find<BitmapObject>(dc->bitmap) : nullptr;
}

// One axis of BitBlt: shrinks [dest, dest + length) so that it and the matching source range
// lie inside [0, destSize) and [0, srcSize). False when nothing is left.
bool clipAxis(int64_t& dest, int64_t& src, int64_t& length, int64_t destSize, int64_t srcSize) {
    const int64_t skip = std::max({int64_t{0}, -dest, -src});
    dest += skip;
    src += skip;
    length = std::min({length - skip, destSize - dest, srcSize - src});
    return length > 0;
}

}  // namespace

int32_t CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return table().add(Region::rectangle(left, top, right, bottom));
}

int32_t CombineRgn(int32_t hrgnDest, int32_t hrgnSrc1, int32_t hrgnSrc2, int32_t iMode) {
    Region* dest = table().find<Region>(hrgnDest);
    const Region* first = table().find<Region>(hrgnSrc1);
    const Region* second = iMode == RGN_COPY ? first : table().find<Region>(hrgnSrc2);
    if (!dest || !first || !second || iMode < RGN_AND || iMode > RGN_COPY) {
        return ERROR;
    }
    if (iMode == RGN_COPY) {
        if (dest != first) {
            *dest = *first;
        }
    } else if (dest == first && first != second) {
        *dest = Region::combine(std::move(*dest), *second, iMode);
    } else {
        *dest = Region::combine(*first, *second, iMode);
    }
    return dest->complexity();
}

int32_t PtInRegion(int32_t hrgn, int32_t x, int32_t y) {
    const Region* region = table().find<Region>(hrgn);
    return region && region->contains(x, y) ? 1 : 0;
}

int32_t CreateCompatibleDC(int32_t hdc) {
    if (hdc != 0 && !table().find<DeviceContext>(hdc)) {
        return 0;
    }
    const int32_t stock = table().stockBitmap();
    return stock == 0 ? 0 : table().add(DeviceContext{stock, false});
}

int32_t CreateCompatibleBitmap(int32_t hdc, int32_t cx, int32_t cy) {
    if ((hdc != 0 && !table().find<DeviceContext>(hdc)) || !validSize(cx, cy)) {
        return 0;
    }
    const auto count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    return CreateBitmapOver(cx, cy, std::make_shared<std::vector<uint32_t>>(count, 0));
}

int32_t SelectObject(int32_t hdc, int32_t hgdiobj) {
    DeviceContext* dc = table().find<DeviceContext>(hdc);
    BitmapObject* wanted = table().find<BitmapObject>(hgdiobj);
    if (!dc || dc->surface || !wanted ||
        (!wanted->stock && wanted->selectedInto != 0 && wanted->selectedInto != hdc)) {
        return 0;
    }
    const int32_t previous = dc->bitmap;
    if (BitmapObject* old = table().find<BitmapObject>(previous); old && !old->stock) {
        old->selectedInto = 0;
    }
    if (!wanted->stock) {
        wanted->selectedInto = hdc;
    }
    dc->bitmap = hgdiobj;
    return previous;
}

int32_t GetCurrentObject(int32_t hdc, uint32_t uObjectType) {
    const DeviceContext* dc = table().find<DeviceContext>(hdc);
    return dc && uObjectType == OBJ_BITMAP ? dc->bitmap : 0;
}

uint32_t GetPixel(int32_t hdc, int32_t x, int32_t y) {
    const BitmapObject* object = selectedBitmap(hdc);
    if (!object) {
        return CLR_INVALID;
    }
    const Bitmap& bitmap = object->bitmap;
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) {
        return CLR_INVALID;
    }
    return (*bitmap.pixels)[static_cast<size_t>(y) * static_cast<size_t>(bitmap.width) +
                            static_cast<size_t>(x)];
}

int32_t BitBlt(int32_t hdcDest, int32_t nXDest, int32_t nYDest, int32_t nWidth, int32_t nHeight,
               int32_t hdcSrc, int32_t nXSrc, int32_t nYSrc, uint32_t dwRop) {
    BitmapObject* destObject = selectedBitmap(hdcDest);
    const BitmapObject* srcObject = selectedBitmap(hdcSrc);
    if (!destObject || !srcObject || dwRop != SRCCOPY) {
        return 0;
    }
    Bitmap& dest = destObject->bitmap;
    const Bitmap& src = srcObject->bitmap;
    int64_t dx = nXDest, sx = nXSrc, width = nWidth;
    int64_t dy = nYDest, sy = nYSrc, height = nHeight;
    if (!clipAxis(dx, sx, width, dest.width, src.width) ||
        !clipAxis(dy, sy, height, dest.height, src.height)) {
        return 1;
    }
    // Rows are copied whole with memmove semantics; going bottom-up when the block moves down
    // within one set of pixels keeps unread rows from being overwritten.
    const bool downwards = dest.pixels == src.pixels && dy > sy;
    for (int64_t i = 0; i < height; ++i) {
        const int64_t row = downwards ? height - 1 - i : i;
        const auto from = src.pixels->begin() + (sy + row) * src.width + sx;
        const auto to = dest.pixels->begin() + (dy + row) * dest.width + dx;
        if (dest.pixels == src.pixels && to > from) {
            std::copy_backward(from, from + width, to + width);
        } else {
            std::copy(from, from + width, to);
        }
    }
    return 1;
}

int32_t DeleteObject(int32_t hObject) {
    if (table().find<Region>(hObject)) {
        table().remove(hObject);
        return 1;
    }
    const BitmapObject* bitmap = table().find<BitmapObject>(hObject);
    if (!bitmap || bitmap->selectedInto != 0) {
        return 0;
    }
    if (!bitmap->stock) {
        table().remove(hObject);
    }
    return 1;
}

int32_t DeleteDC(int32_t hdc) {
    const DeviceContext* dc = table().find<DeviceContext>(hdc);
    if (!dc) {
        return 0;
    }
    const int32_t held = dc->bitmap;
    const bool surface = dc->surface;
    if (BitmapObject* bitmap = table().find<BitmapObject>(held); bitmap && !bitmap->stock) {
        bitmap->selectedInto = 0;
        if (surface) {
            table().remove(held);
        }
    }
    table().remove(hdc);
    return 1;
}

int32_t CreateBitmapOver(int32_t width, int32_t height, PixelBuffer pixels,
                         std::shared_ptr<const IconParts> icon) {
    if (!validSize(width, height) || !pixels ||
        pixels->size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return 0;
    }
    return table().add(BitmapObject{{width, height, std::move(pixels), std::move(icon)}, 0, false});
}

int32_t CreateSurfaceDC(int32_t width, int32_t height) {
    const int32_t bitmap = CreateCompatibleBitmap(0, width, height);
    if (bitmap == 0) {
        return 0;
    }
    const int32_t hdc = table().add(DeviceContext{bitmap, true});
    if (hdc == 0) {
        table().remove(bitmap);
        return 0;
    }
    table().find<BitmapObject>(bitmap)->selectedInto = hdc;
    return hdc;
}

const Region* FindRegion(int32_t hrgn) {
    return table().find<Region>(hrgn);
}

const Bitmap* FindBitmap(int32_t hbm) {
    const BitmapObject* object = table().find<BitmapObject>(hbm);
    return object ? &object->bitmap : nullptr;
}

int32_t GdiObjectCount() {
    return table().live();
}

}  // namespace win
