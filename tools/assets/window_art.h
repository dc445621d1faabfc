#pragma once

#include "assets/image.h"
#include "assets/palette.h"

// The pictures of the options and About windows. Both windows are shaped by cutting away every
// pixel of the key colour from their backgrounds, so a background's surround is exactly the key
// colour and no other pixel comes near it.
namespace assetgen {

inline constexpr Rgba kKey{255, 0, 255, 255};

// The options window's background, 460 x 355: a rounded panel with a navy rim, a header band for
// the title and the close glyph, a card for the company logo and a frame around the pages.
Image drawOptionsBackground();
// The options window's tab pictures, 97 x 31: the selected tab opens into the page below it.
Image drawTab(bool selected);
// The play glyph beside the sound path, 16 x 16, on the page colour.
Image drawPlayGlyph();

// The close glyph of both windows, 21 x 21, on the header band's colour.
Image drawCloseGlyph();

// The About window's background, 243 x 261, in the options window's style, with a card for the
// banner and a frame around the credits.
Image drawAboutBackground();
// The banner icon, 48 x 48: the tray icon's speech bubble, large, with an accent badge.
Image drawBannerIcon();
// The pointer over the banner, 32 x 32: an arrow with a small globe; it points with (1, 1).
inline constexpr int kPointerHotSpotX = 1;
inline constexpr int kPointerHotSpotY = 1;
Image drawLinkPointer();
// The background of the credits' text area, 800 x 600: pale, so that dark text reads on it.
Image drawCreditsBackground();

}  // namespace assetgen
