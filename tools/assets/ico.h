#pragma once

#include <string>

#include "assets/image.h"

namespace assetgen {

// A Windows icon file holding one 32-bit image with its AND mask. Pixels with alpha 0 are
// transparent in the mask too, so readers that ignore alpha show the same outline.
std::string encodeIco(const Image& image);

}  // namespace assetgen
