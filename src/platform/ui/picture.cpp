#include "platform/ui/picture.h"

#include <cmath>

#include "platform/files/paths.h"
#include "platform/files/regular_file.h"
#include "platform/runtime/backend.h"
#include "platform/runtime/errors.h"
#include "platform/ui/picture_decode.h"

namespace win {

namespace {

constexpr double kHimetricPerInch = 2540;
constexpr double kTwipsPerInch = 1440;
constexpr float kDefaultTwipsPerPixel = 15;
constexpr float kTwipsPerHimetric = 1440.0f / 2540.0f;

const std::vector<uint32_t> kNoPixels;
const std::vector<uint8_t> kNoAlpha;

[[noreturn]] void raiseInvalidPicture() {
    platform::raise(kInvalidPicture, "Invalid picture");
}

}  // namespace

struct StdPicture::State {
    // The decoded picture less its pixels, which moved into the buffer the bitmap shares.
    detail::DecodedPicture picture;
    PixelBuffer pixels;
    mutable int32_t handle = 0;

    ~State() {
        if (handle != 0) {
            DeleteObject(handle);
        }
    }
};

int32_t HimetricFromPixels(int32_t pixels, float twipsPerPixel) {
    // Exact in double for every whole pixel count and twips value in range; nearbyint rounds
    // halves to even.
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(pixels) * twipsPerPixel *
                                               kHimetricPerInch / kTwipsPerInch));
}

// The screen's twips per pixel; without a backend (plain data use), 15: 96 dots per inch.
static float screenTwipsPerPixel(bool horizontal) {
    platform::Backend* installed = platform::installedBackend();
    if (installed == nullptr) {
        return kDefaultTwipsPerPixel;
    }
    const auto screen = installed->screen();
    return horizontal ? screen.twipsPerPixelX : screen.twipsPerPixelY;
}

float PixelsFromHimetric(int32_t himetric, float twipsPerPixel) {
    return static_cast<float>(himetric) * kTwipsPerHimetric / twipsPerPixel;
}

int16_t StdPicture::Type() const {
    if (!state_) {
        return vbPicTypeNone;
    }
    return state_->picture.icon ? vbPicTypeIcon : vbPicTypeBitmap;
}

int32_t StdPicture::Width() const {
    return HimetricFromPixels(pixelWidth(), screenTwipsPerPixel(true));
}

int32_t StdPicture::Height() const {
    return HimetricFromPixels(pixelHeight(), screenTwipsPerPixel(false));
}

int32_t StdPicture::Handle() const {
    if (state_ && state_->handle == 0) {
        const detail::DecodedPicture& picture = state_->picture;
        state_->handle =
            CreateBitmapOver(pixelWidth(), pixelHeight(), state_->pixels,
                             picture.icon ? std::make_shared<const IconParts>(IconParts{
                                                picture.alpha, picture.hotSpotX, picture.hotSpotY})
                                          : nullptr);
    }
    return state_ ? state_->handle : 0;
}

int32_t StdPicture::pixelWidth() const {
    return state_ ? state_->picture.width : 0;
}

int32_t StdPicture::pixelHeight() const {
    return state_ ? state_->picture.height : 0;
}

const std::vector<uint32_t>& StdPicture::pixels() const {
    return state_ ? *state_->pixels : kNoPixels;
}

const std::vector<uint8_t>& StdPicture::alpha() const {
    return state_ ? state_->picture.alpha : kNoAlpha;
}

int32_t StdPicture::hotSpotX() const {
    return state_ ? state_->picture.hotSpotX : 0;
}

int32_t StdPicture::hotSpotY() const {
    return state_ ? state_->picture.hotSpotY : 0;
}

StdPicture LoadPictureFromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxPictureFile) {
        raiseInvalidPicture();
    }
    auto decoded = detail::decodePicture(bytes, kMaxPictureSide, kMaxPicturePixels);
    if (!decoded) {
        raiseInvalidPicture();
    }
    auto state = std::make_shared<StdPicture::State>();
    state->pixels = std::make_shared<std::vector<uint32_t>>(std::move(decoded->pixels));
    state->picture = std::move(*decoded);
    return StdPicture(std::move(state));
}

StdPicture LoadPicture(std::string_view fileName) {
    if (fileName.empty()) {
        return {};
    }
    const auto read = platform::readRegularFile(platform::nativePath(fileName), kMaxPictureFile);
    if (!read) {
        if (platform::isMissing(read.failure())) {
            platform::raise(platform::kFileNotFound);
        }
        if (read.failure().code == platform::kFileTooLarge) {
            raiseInvalidPicture();
        }
        platform::raise(platform::kPathFileAccess);
    }
    const std::string& bytes = *read;
    return LoadPictureFromBytes(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace win
