// The WAV check on any file: a file it takes holds a whole data chunk within the file, with a
// sane format, and its playing time is the data's length at that rate, rounded down.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/media/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tarnix-fuzz-wave-" + std::to_string(getpid()) + ".wav";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const auto info = platform::media::readWaveInfo(path);
    if (!info) {
        return 0;
    }
    const auto& wave = info.value();
    if (wave.channels == 0 || wave.sampleRate == 0 || wave.bitsPerSample == 0 ||
        wave.dataBytes > size) {
        std::abort();
    }
    const uint64_t bytesPerSecond =
        uint64_t{wave.sampleRate} * wave.channels * ((wave.bitsPerSample + 7u) / 8u);
    if (bytesPerSecond == 0 ||
        static_cast<uint64_t>(wave.durationMs) != wave.dataBytes * 1000 / bytesPerSecond) {
        std::abort();
    }
    return 0;
}
