#pragma once

#include "assets/image.h"

// The product's colours: the tray icon's blues, the logo's teal and its orange accent. Every
// picture the generator draws takes its colours from here.
namespace assetgen {

inline constexpr Rgba kClear{0, 0, 0, 0};
inline constexpr Rgba kWhite{255, 255, 255, 255};
inline constexpr Rgba kNavy{18, 58, 124, 255};
inline constexpr Rgba kSky{58, 140, 222, 255};
inline constexpr Rgba kTeal{0, 104, 139, 255};
inline constexpr Rgba kTealDeep{0, 70, 96, 255};
inline constexpr Rgba kAccent{242, 142, 28, 255};

}  // namespace assetgen
