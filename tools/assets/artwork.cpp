#include "assets/artwork.h"

#include <algorithm>

namespace assetgen {

namespace {

constexpr Rgba kClear{0, 0, 0, 0};
constexpr Rgba kBubbleEdge{18, 58, 124, 255};
constexpr Rgba kBubbleFill{58, 140, 222, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBadge{0, 104, 139, 255};
constexpr Rgba kBadgeRim{0, 70, 96, 255};
constexpr Rgba kAccent{242, 142, 28, 255};

// Pixel centres are tested in doubled coordinates so every comparison stays in whole numbers; the
// strict comparison keeps single pixels from poking out at the four compass points.
bool insideDisc(int x, int y, int cx2, int cy2, int r2) {
    const int dx = 2 * x + 1 - cx2;
    const int dy = 2 * y + 1 - cy2;
    return dx * dx + dy * dy < r2 * r2;
}

// Rounded rectangle covering pixels [left, right] x [top, bottom] with the given corner radius.
bool insideRoundedRect(int x, int y, int left, int top, int right, int bottom, int radius) {
    if (x < left || x > right || y < top || y > bottom) {
        return false;
    }
    const int cx = std::clamp(x, left + radius, right - radius);
    const int cy = std::clamp(y, top + radius, bottom - radius);
    if (cx == x || cy == y) {
        return true;
    }
    // Corner: measure from the corner circle's centre, which sits between pixel centres.
    const int ccx2 = x < cx ? 2 * cx : 2 * cx + 2;
    const int ccy2 = y < cy ? 2 * cy : 2 * cy + 2;
    return insideDisc(x, y, ccx2, ccy2, 2 * radius - 1);
}

bool insideBubble(int x, int y) {
    if (insideRoundedRect(x, y, 0, 1, 15, 11, 3)) {
        return true;
    }
    // The tail hangs from the lower left edge, narrowing to a point.
    return (y == 12 && x >= 3 && x <= 5) || (y == 13 && x >= 3 && x <= 4) || (y == 14 && x == 3);
}

void outline(Image& image, Rgba edge) {
    const Image shape = image;
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < shape.width && y < shape.height && shape.at(x, y).a != 0;
    };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (opaque(x, y) &&
                !(opaque(x - 1, y) && opaque(x + 1, y) && opaque(x, y - 1) && opaque(x, y + 1))) {
                image.at(x, y) = edge;
            }
        }
    }
}

void fillRect(Image& image, int left, int top, int right, int bottom, Rgba colour) {
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            image.at(x, y) = colour;
        }
    }
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
