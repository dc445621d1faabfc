#include "assets/cur.h"

#include <stdexcept>

#include "assets/ico.h"

namespace assetgen {

namespace {

void put16(std::string& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

std::string encodeCur(const Image& image, int hotSpotX, int hotSpotY) {
    if (hotSpotX < 0 || hotSpotY < 0 || hotSpotX >= image.width || hotSpotY >= image.height) {
        throw std::invalid_argument("a cursor's hot spot lies on one of its pixels");
    }
    std::string bytes = encodeIco(image);
    // The two formats differ in the directory's type and in the one entry's first two numbers,
    // which an icon uses for planes and bits per pixel and a cursor for its hot spot.
    put16(bytes, 2, 2);
    put16(bytes, 6 + 4, hotSpotX);
    put16(bytes, 6 + 6, hotSpotY);
    return bytes;
}

}  // namespace assetgen
