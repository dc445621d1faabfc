#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform::media {

// What a playable PCM WAV file holds.
struct WaveInfo {
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
    uint64_t dataBytes = 0;
    // Playing time of the data chunk, rounded down to whole milliseconds.
    int64_t durationMs = 0;
};

// Reads the headers of a RIFF/WAVE file with a PCM format chunk followed by a data chunk that is
// present in full. Anything else (missing, unreadable, empty, truncated, another format) gives
// nothing. Only the headers are read, at most 64 chunks of them, so a huge file costs neither
// memory nor time.
std::optional<WaveInfo> readWaveInfo(const std::filesystem::path& file);

}  // namespace platform::media
