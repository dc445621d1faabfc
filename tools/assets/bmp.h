#pragma once

#include <string>

#include "assets/image.h"

namespace assetgen {

// A 24-bit uncompressed bitmap file (bottom-up rows padded to four bytes); alpha is dropped.
std::string encodeBmp24(const Image& image);

}  // namespace assetgen
