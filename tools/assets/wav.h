#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace assetgen {

// A RIFF/WAVE file of 16-bit PCM mono samples.
std::string encodeWav(std::span<const std::int16_t> samples, std::uint32_t sampleRate);

}  // namespace assetgen
