#include "assets/window_theme.h"

#include <algorithm>

#include "assets/palette.h"
#include "assets/raster.h"
#include "assets/window_art.h"

namespace assetgen {

namespace {

constexpr int kInset = 2;
constexpr int kRadius = 12;
constexpr int kRim = 2;
constexpr int kHeaderTop = kInset + kRim;
constexpr Rgba kHeaderLight{214, 236, 246, 255};
constexpr Rgba kHeaderDeep{172, 212, 231, 255};
constexpr Rgba kBodyLight{232, 243, 249, 255};
constexpr Rgba kBodyDeep{202, 224, 237, 255};

}  // namespace

Rgba headerColour(int y) {
    return blend(kHeaderLight, kHeaderDeep, std::clamp((y - kHeaderTop) / 26.0, 0.0, 1.0));
}

Rgba bodyColour(int y, int height) {
    return blend(kBodyLight, kBodyDeep, std::clamp(static_cast<double>(y) / height, 0.0, 1.0));
}

void drawPanel(Image& image, int headerBottom) {
    const int right = image.width - 1 - kInset;
    const int bottom = image.height - 1 - kInset;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            Rgba& pixel = image.at(x, y);
            if (!insideRoundedRect(x, y, kInset, kInset, right, bottom, kRadius)) {
                pixel = kKey;
            } else if (!insideRoundedRect(x, y, kInset + kRim, kInset + kRim, right - kRim,
                                          bottom - kRim, kRadius - kRim)) {
                pixel = kNavy;
            } else if (y < headerBottom) {
                pixel = headerColour(y);
            } else if (y < headerBottom + 2) {
                pixel = kTeal;
            } else {
                pixel = bodyColour(y, image.height);
            }
        }
    }
}

void frameRect(Image& image, int left, int top, int right, int bottom, Rgba colour) {
    fillRect(image, left, top, right, top, colour);
    fillRect(image, left, bottom, right, bottom, colour);
    fillRect(image, left, top, left, bottom, colour);
    fillRect(image, right, top, right, bottom, colour);
}

void drawCard(Image& image, int left, int top, int right, int bottom) {
    for (int y = top + 2; y <= bottom + 2; ++y) {
        for (int x = left + 2; x <= right + 2; ++x) {
            image.at(x, y) = blend(image.at(x, y), kTealDeep, 0.18);
        }
    }
    for (int y = top; y <= bottom; ++y) {
        const Rgba fill = blend(kWhite, kPageColour, static_cast<double>(y - top) / (bottom - top));
        fillRect(image, left, y, right, y, fill);
    }
    frameRect(image, left, top, right, bottom, kCardEdge);
}

}  // namespace assetgen
