#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/ui/gdi.h"

// Pictures as the windows hold them: read from a picture file or from bytes stored with a window.
namespace win {

constexpr int kInvalidPicture = 481;
constexpr int16_t vbPicTypeNone = 0;
constexpr int16_t vbPicTypeBitmap = 1;
constexpr int16_t vbPicTypeIcon = 3;

// Larger files, pictures wider or higher than kMaxPictureSide, and pictures of more pixels than
// kMaxPicturePixels (4096 x 4096: 64 MiB of pixels) are refused as invalid pictures, the last two
// from the size a file's header claims, before anything that size is allocated.
constexpr size_t kMaxPictureFile = 32 * 1024 * 1024;
constexpr int32_t kMaxPictureSide = kMaxBitmapSide;
constexpr int64_t kMaxPicturePixels = int64_t{4096} * 4096;

// A picture keeps its size in HIMETRIC (0.01 mm) as whole numbers, worked out from its pixels at
// the screen's resolution on that axis (twipsPerPixel; 1440 twips and 2540 HIMETRIC an inch),
// halves to even: 460 pixels are 12171 at 15 twips per pixel (96 dots per inch), 9737 at 12.
int32_t HimetricFromPixels(int32_t pixels, float twipsPerPixel);
// A HIMETRIC size back in pixels at twipsPerPixel, in single precision as the screen's scaling
// gives it: 12171 is a little above 460 at 15 twips per pixel.
float PixelsFromHimetric(int32_t himetric, float twipsPerPixel);

// A loaded picture. Copies share one picture, as object references do: its bitmap handle stays
// valid while any copy lives and is deleted with the last one.
class StdPicture {
  public:
    // The empty picture: type vbPicTypeNone, no size, Handle 0.
    StdPicture() = default;

    int16_t Type() const;
    // Stored size in HIMETRIC.
    int32_t Width() const;
    int32_t Height() const;
    // A bitmap of the picture's pixels (an icon's colours without its mask), made on first use;
    // 0 for the empty picture or when no drawing object can be made. The bitmap and the picture
    // share their pixels.
    int32_t Handle() const;

    int32_t pixelWidth() const;
    int32_t pixelHeight() const;
    // Row 0 at the top, each 0x00BBGGRR.
    const std::vector<uint32_t>& pixels() const;
    // An icon's opacity per pixel (0 clear to 255 opaque); empty for a bitmap.
    const std::vector<uint8_t>& alpha() const;
    // The pixel a cursor points with (the centre of an icon); 0, 0 for a bitmap.
    int32_t hotSpotX() const;
    int32_t hotSpotY() const;

  private:
    struct State;
    explicit StdPicture(std::shared_ptr<State> state) : state_(std::move(state)) {}
    friend StdPicture LoadPictureFromBytes(std::span<const uint8_t> bytes);

    std::shared_ptr<State> state_;
};

// Reads a picture from bytes in a picture file's format (see detail::decodePicture: BMP, GIF,
// JPEG, PNG, icons and cursors). Run-time error 481 for bytes that are no such picture or are cut
// short, and for the limits above.
StdPicture LoadPictureFromBytes(std::span<const uint8_t> bytes);

// Reads the picture file at fileName; an empty name gives the empty picture. Run-time error 53 for
// a file that does not exist, 75 for one that is no ordinary file or cannot be read, 481 as above.
StdPicture LoadPicture(std::string_view fileName = {});

}  // namespace win
