#include "assets/artwork.h"

#include "assets/palette.h"
#include "assets/raster.h"

namespace assetgen {

namespace {

constexpr Rgba kBubbleEdge = kNavy;
constexpr Rgba kBubbleFill = kSky;
constexpr Rgba kBadge = kTeal;
constexpr Rgba kBadgeRim = kTealDeep;

bool insideBubble(int x, int y) {
    if (insideRoundedRect(x, y, 0, 1, 15, 11, 3)) {
        return true;
    }
    // The tail hangs from the lower left edge, narrowing to a point.
    return (y == 12 && x >= 3 && x <= 5) || (y == 13 && x >= 3 && x <= 4) || (y == 14 && x == 3);
}

}  // namespace

Image drawTrayIcon() {
    Image icon(16, 16, kClear);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            if (insideBubble(x, y)) {
                icon.at(x, y) = kBubbleFill;
            }
        }
    }
    outline(icon, kBubbleEdge);
    for (int dot : {4, 7, 10}) {
        fillRect(icon, dot, 5, dot + 1, 6, kWhite);
    }
    return icon;
}

Image drawCompanyLogo() {
    constexpr int kSize = 73;
    constexpr int kCentre2 = kSize;  // doubled centre: 36.5
    Image logo(kSize, kSize, kWhite);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (insideDisc(x, y, kCentre2, kCentre2, 2 * 34)) {
                logo.at(x, y) = kBadgeRim;
            }
            if (insideDisc(x, y, kCentre2, kCentre2, 2 * 31)) {
                logo.at(x, y) = kBadge;
            }
        }
    }
    // A bold T-shaped mark made of two bars, with an accent dot at its foot.
    fillRect(logo, 19, 18, 53, 27, kWhite);
    fillRect(logo, 32, 18, 40, 52, kWhite);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (insideDisc(x, y, 2 * 49 + 1, 2 * 48 + 1, 2 * 5)) {
                logo.at(x, y) = kAccent;
            }
        }
    }
    return logo;
}

}  // namespace assetgen
