#include "assets/raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

bool insideDisc(int x, int y, int cx2, int cy2, int r2) {
    const int dx = 2 * x + 1 - cx2;
    const int dy = 2 * y + 1 - cy2;
    return dx * dx + dy * dy < r2 * r2;
}

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

bool insidePolygon(int x, int y, std::initializer_list<std::pair<double, double>> corners) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    bool inside = false;
    const auto* previous = corners.end() - 1;
    for (const auto* corner = corners.begin(); corner != corners.end(); previous = corner++) {
        const auto [x0, y0] = *previous;
        const auto [x1, y1] = *corner;
        if ((y0 > py) != (y1 > py) && px < x0 + (py - y0) * (x1 - x0) / (y1 - y0)) {
            inside = !inside;
        }
    }
    return inside;
}

bool nearSegment(int x, int y, double x0, double y0, double x1, double y1, double halfWidth) {
    const double px = x + 0.5 - x0;
    const double py = y + 0.5 - y0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - t * dx, py - t * dy) <= halfWidth;
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

Rgba blend(Rgba a, Rgba b, double t) {
    auto channel = [t](std::uint8_t from, std::uint8_t to) {
        return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a)};
}

}  // namespace assetgen
