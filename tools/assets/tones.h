#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr std::uint32_t kSampleRate = 22050;

// Short alert sounds, 16-bit mono at kSampleRate, synthesised from decaying partials.
std::vector<std::int16_t> synthNotify();    // a rising two-note chime, 0.6 s
std::vector<std::int16_t> synthDoorbell();  // a ding-dong, 1.3 s
std::vector<std::int16_t> synthKnock();     // three knocks on wood, 0.6 s

}  // namespace assetgen
