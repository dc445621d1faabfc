#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/media/mci_errors.h"
#include "platform/runtime/result.h"

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
// present in full. Anything else fails: a file that cannot be examined with the system's errno,
// one that is no such sound (empty, truncated, another format) with kMciInvalidFile; the reason
// says which. Only the headers are read, at most 64 chunks of them, so a huge file costs neither
// memory nor time.
Result<WaveInfo> readWaveInfo(const std::filesystem::path& file);

}  // namespace platform::media
