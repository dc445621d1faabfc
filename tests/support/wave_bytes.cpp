#include "support/wave_bytes.h"

namespace testsupport {

namespace {
void put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xff);
    }
}
void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}
}  // namespace

std::string pcmWave(int64_t durationMs, uint32_t sampleRate, uint16_t channels,
                    uint16_t bitsPerSample) {
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bitsPerSample / 8);
    const auto dataBytes = static_cast<uint32_t>(durationMs * sampleRate / 1000 * blockAlign);
    std::string out = "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, channels);
    put32(out, sampleRate);
    put32(out, sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, bitsPerSample);
    out += "data";
    put32(out, dataBytes);
    out.append(dataBytes, bitsPerSample == 8 ? '\x80' : '\0');
    return out;
}

}  // namespace testsupport
