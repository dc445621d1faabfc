#include "assets/wav.h"

#include <limits>
#include <stdexcept>

#include "assets/bytes.h"

namespace assetgen {

std::string encodeWav(std::span<const std::int16_t> samples, std::uint32_t sampleRate) {
    constexpr std::uint16_t kChannels = 1;
    constexpr std::uint16_t kBits = 16;
    constexpr std::uint16_t kBlockAlign = kChannels * kBits / 8;
    constexpr std::uint32_t kHeaderAfterRiffSize = 4 + 8 + 16 + 8;  // "WAVE", fmt chunk, data head
    if (samples.size() > (std::numeric_limits<std::uint32_t>::max() - kHeaderAfterRiffSize) / 2) {
        throw std::invalid_argument("too many samples for one wave file");
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBlockAlign);

    LittleEndianWriter out;
    out.text("RIFF");
    out.u32(kHeaderAfterRiffSize + dataBytes);
    out.text("WAVE");
    out.text("fmt ");
    out.u32(16);
    out.u16(1);  // PCM
    out.u16(kChannels);
    out.u32(sampleRate);
    out.u32(sampleRate * kBlockAlign);
    out.u16(kBlockAlign);
    out.u16(kBits);
    out.text("data");
    out.u32(dataBytes);
    for (std::int16_t s : samples) {
        out.i16(s);
    }
    return out.take();
}

}  // namespace assetgen
