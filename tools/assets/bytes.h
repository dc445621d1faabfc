#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace assetgen {

// Appends the little-endian fields that the icon, bitmap and wave headers are made of.
class LittleEndianWriter {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void text(std::string_view fourcc) { bytes_.append(fourcc); }

    std::size_t size() const { return bytes_.size(); }
    std::string take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

}  // namespace assetgen
