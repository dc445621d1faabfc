#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

// The bytes of a PCM WAV file of durationMs of silence.
std::string pcmWave(int64_t durationMs, uint32_t sampleRate = 8000, uint16_t channels = 1,
                    uint16_t bitsPerSample = 16);

}  // namespace testsupport
