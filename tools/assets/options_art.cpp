// The options window's pictures (see window_art.h).
#include "assets/raster.h"
#include "assets/window_art.h"
#include "assets/window_theme.h"

namespace assetgen {

namespace {

constexpr int kTabWidth = 97;
constexpr int kTabHeight = 31;
constexpr int kTabRadius = 5;
// Where the tabs sit on the background, which shows in the corners the tabs round off.
constexpr int kTabRow = 42;

}  // namespace

Image drawOptionsBackground() {
    Image image(460, 355);
    drawPanel(image, 30);
    // The company logo (73 x 73 at 28, 46) sits on a card with a margin of six pixels.
    drawCard(image, 22, 40, 106, 124);
    // A quiet column under the card, down to the pages' bottom edge.
    for (int y = 134; y <= 339; ++y) {
        for (int x = 14; x <= 114; ++x) {
            if (insideRoundedRect(x, y, 14, 134, 114, 339, 6)) {
                const bool stripe = (x + y) % 14 < 5;
                image.at(x, y) = blend(bodyColour(y, image.height), kSky, stripe ? 0.10 : 0.06);
            }
        }
    }
    // The pages (picture boxes at 128, 72, 317 x 268) get a teal frame just outside them.
    frameRect(image, 127, 71, 445, 340, kTeal);
    return image;
}

Image drawTab(bool selected) {
    Image tab(kTabWidth, kTabHeight);
    const Rgba ground = bodyColour(kTabRow, 355);
    const Rgba edge = selected ? kNavy : Rgba{110, 140, 172, 255};
    // Only the top corners are round: the shape runs on below the picture.
    auto inside = [](int x, int y) {
        return insideRoundedRect(x, y, 0, 0, kTabWidth - 1, kTabHeight - 1 + kTabRadius,
                                 kTabRadius);
    };
    for (int y = 0; y < kTabHeight; ++y) {
        for (int x = 0; x < kTabWidth; ++x) {
            Rgba& pixel = tab.at(x, y);
            const double depth = static_cast<double>(y) / (kTabHeight - 1);
            if (!inside(x, y)) {
                pixel = ground;
            } else if (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1)) {
                pixel = edge;
            } else if (selected) {
                pixel = y <= 3 ? kTeal : kPageColour;
            } else {
                pixel = y == kTabHeight - 1
                            ? kTeal
                            : blend(Rgba{214, 230, 240, 255}, Rgba{188, 211, 226, 255}, depth);
            }
        }
    }
    return tab;
}

Image drawPlayGlyph() {
    Image glyph(16, 16, kPageColour);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (insideDisc(x, y, 16, 16, 16)) {
                glyph.at(x, y) = insideDisc(x, y, 16, 16, 13) ? kTeal : kTealDeep;
            }
            if (insidePolygon(x, y, {{5.5, 4.0}, {5.5, 12.0}, {12.0, 8.0}})) {
                glyph.at(x, y) = kWhite;
            }
        }
    }
    return glyph;
}

Image drawCloseGlyph() {
    constexpr int kSize = 21;
    Image glyph(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Rgba& pixel = glyph.at(x, y);
            const bool cross = nearSegment(x, y, 6.5, 6.5, 14.5, 14.5, 1.4) ||
                               nearSegment(x, y, 14.5, 6.5, 6.5, 14.5, 1.4);
            if (!insideRoundedRect(x, y, 0, 0, kSize - 1, kSize - 1, 5)) {
                pixel = headerColour(3 + y * 19 / kSize);
            } else if (!insideRoundedRect(x, y, 1, 1, kSize - 2, kSize - 2, 4)) {
                pixel = kNavy;
            } else {
                pixel = cross ? kWhite : blend(kSky, kNavy, static_cast<double>(y) / kSize);
            }
        }
    }
    return glyph;
}

}  // namespace assetgen
