// The About window's pictures (see window_art.h).
#include <cstdlib>

#include "assets/raster.h"
#include "assets/window_art.h"
#include "assets/window_theme.h"

namespace assetgen {

namespace {

// Paints the opaque pixels within two pixels of a clear one (or of the picture's edge) in edge.
void thickOutline(Image& image, Rgba edge) {
    const Image shape = image;
    auto clear = [&](int x, int y) {
        return x < 0 || y < 0 || x >= shape.width || y >= shape.height || shape.at(x, y).a == 0;
    };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (clear(x, y)) {
                continue;
            }
            for (int d = 1; d <= 2; ++d) {
                if (clear(x - d, y) || clear(x + d, y) || clear(x, y - d) || clear(x, y + d)) {
                    image.at(x, y) = edge;
                }
            }
        }
    }
}

}  // namespace

Image drawAboutBackground() {
    Image image(243, 261);
    drawPanel(image, 24);
    // The banner's click area (6, 32, 225 x 73) is a card, marked by a teal bar on its left.
    drawCard(image, 6, 32, 230, 104);
    fillRect(image, 7, 33, 9, 103, kTeal);
    // A rule between the company name and the credits, and a frame around the credits (8, 176,
    // 221 x 73).
    fillRect(image, 12, 164, 230, 164, kCardEdge);
    frameRect(image, 7, 175, 229, 249, kTeal);
    return image;
}

Image drawBannerIcon() {
    constexpr int kSize = 48;
    Image icon(kSize, kSize, kClear);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (insideRoundedRect(x, y, 2, 6, 43, 33, 9) ||
                insidePolygon(x, y, {{11.0, 32.0}, {22.0, 32.0}, {8.0, 45.0}})) {
                icon.at(x, y) = y < 14 ? blend(kSky, kWhite, 0.22) : kSky;
            }
        }
    }
    thickOutline(icon, kNavy);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            for (int dot : {13, 23, 33}) {
                if (insideDisc(x, y, 2 * dot + 1, 2 * 20 + 1, 8)) {
                    icon.at(x, y) = kWhite;
                }
            }
            // An accent badge at the top right corner, ringed in white.
            if (insideDisc(x, y, 2 * 40 + 1, 2 * 7 + 1, 14)) {
                icon.at(x, y) = insideDisc(x, y, 2 * 40 + 1, 2 * 7 + 1, 11) ? kAccent : kWhite;
            }
        }
    }
    return icon;
}

Image drawLinkPointer() {
    constexpr int kSize = 32;
    constexpr Rgba kBlack{0, 0, 0, 255};
    Image pointer(kSize, kSize, kClear);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (insidePolygon(x, y,
                              {{1.0, 0.5},
                               {1.0, 22.5},
                               {6.5, 17.5},
                               {10.5, 26.5},
                               {14.0, 25.0},
                               {10.0, 16.5},
                               {16.5, 16.5}})) {
                pointer.at(x, y) = kWhite;
            }
        }
    }
    outline(pointer, kBlack);
    // A small globe below the arrow's right, where it does not hide what the arrow points at.
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!insideDisc(x, y, 2 * 24 + 1, 2 * 24 + 1, 14)) {
                continue;
            }
            const bool rim = !insideDisc(x, y, 2 * 24 + 1, 2 * 24 + 1, 12);
            // An equator and a meridian ellipse, three pixels wide and six high.
            const int dx = x - 24;
            const int dy = y - 24;
            const bool grid = dy == 0 || std::abs(4 * dx * dx + dy * dy - 36) <= 6;
            pointer.at(x, y) = rim ? kTealDeep : grid ? kWhite : kTeal;
        }
    }
    return pointer;
}

Image drawCreditsBackground() {
    Image image(800, 600);
    constexpr Rgba kTop{247, 251, 253, 255};
    constexpr Rgba kBottom{217, 236, 245, 255};
    for (int y = 0; y < image.height; ++y) {
        const Rgba row = blend(kTop, kBottom, static_cast<double>(y) / (image.height - 1));
        for (int x = 0; x < image.width; ++x) {
            // Wide, faint diagonal bands: texture that never competes with the text.
            image.at(x, y) = (x + y) % 48 < 20 ? blend(row, kWhite, 0.45) : row;
        }
    }
    return image;
}

}  // namespace assetgen
