#pragma once

#include <string>

#include "assets/image.h"

namespace assetgen {

// A Windows cursor file holding one 32-bit image with its AND mask: an icon file (see encodeIco)
// whose directory says "cursor" and gives the pixel the cursor points with.
std::string encodeCur(const Image& image, int hotSpotX, int hotSpotY);

}  // namespace assetgen
