#pragma once

#include "assets/image.h"

// What the two skinned windows' pictures share: the panel's outline, its rim and the colours of
// the header band, the body and the pages.
namespace assetgen {

inline constexpr Rgba kPageColour{230, 243, 248, 255};
inline constexpr Rgba kCardEdge{150, 180, 205, 255};

// The header band's colour at row y of a window (the same in both windows).
Rgba headerColour(int y);
// The body's colour at row y of a window height rows high.
Rgba bodyColour(int y, int height);

// Fills image with the skinned panel: the key colour outside a rounded rectangle inset by two
// pixels, a navy rim two pixels wide inside it, the header band down to headerBottom, a teal rule
// two rows high below it and the body below that.
void drawPanel(Image& image, int headerBottom);

// A rectangle's one-pixel border [left, right] x [top, bottom].
void frameRect(Image& image, int left, int top, int right, int bottom, Rgba colour);

// A white card with a thin border and a soft shadow on its right and bottom.
void drawCard(Image& image, int left, int top, int right, int bottom);

}  // namespace assetgen
