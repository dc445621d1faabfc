#pragma once

#include <initializer_list>
#include <utility>

#include "assets/image.h"

// Shape tests and fills on whole pixels, without antialiasing: a pixel is in a shape when its
// centre is, so every edge is exact.
namespace assetgen {

// Whether pixel (x, y) lies inside the disc of centre (cx2 / 2, cy2 / 2) and radius r2 / 2, all in
// doubled coordinates so that every comparison stays in whole numbers. The strict comparison keeps
// single pixels from poking out at the four compass points.
bool insideDisc(int x, int y, int cx2, int cy2, int r2);

// Rounded rectangle covering pixels [left, right] x [top, bottom] with the given corner radius;
// the four corners are mirror images of one another.
bool insideRoundedRect(int x, int y, int left, int top, int right, int bottom, int radius);

// Whether the centre of pixel (x, y) lies inside the polygon (even-odd rule), corners in pixel
// coordinates where (0, 0) is the top left corner of the top left pixel.
bool insidePolygon(int x, int y, std::initializer_list<std::pair<double, double>> corners);

// Whether the centre of pixel (x, y) lies within halfWidth of the segment (x0, y0)-(x1, y1).
bool nearSegment(int x, int y, double x0, double y0, double x1, double y1, double halfWidth);

// Paints every opaque pixel at the shape's edge (one with a clear or missing neighbour) in edge.
void outline(Image& image, Rgba edge);

// Fills pixels [left, right] x [top, bottom].
void fillRect(Image& image, int left, int top, int right, int bottom, Rgba colour);

// The colour t of the way from a to b (0 <= t <= 1), rounded per channel.
Rgba blend(Rgba a, Rgba b, double t);

}  // namespace assetgen
