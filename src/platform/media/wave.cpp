#include "platform/media/wave.h"

#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

namespace platform::media {

namespace {

constexpr uint16_t kFormatPcm = 1;
// A WAV holds a handful of chunks before its data (format, and perhaps fact, LIST, cue); a file
// that has not reached its data chunk after this many is no sound, however large it claims to be.
constexpr int kMaxChunksBeforeData = 64;

uint32_t le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

uint16_t le16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

bool validPcmFormat(const WaveInfo& info, uint16_t blockAlign) {
    const bool knownDepth = info.bitsPerSample == 8 || info.bitsPerSample == 16 ||
                            info.bitsPerSample == 24 || info.bitsPerSample == 32;
    return info.channels > 0 && info.sampleRate > 0 && knownDepth &&
           blockAlign == info.channels * (info.bitsPerSample / 8);
}

Failure notPlayable(const char* why) {
    return {kMciInvalidFile, why};
}

}  // namespace

Result<WaveInfo> readWaveInfo(const std::filesystem::path& file) {
    std::error_code error;
    const uint64_t fileSize = std::filesystem::file_size(file, error);
    if (error) {
        return Failure{error.value(), error.message()};
    }
    if (fileSize < 12) {
        return notPlayable("shorter than a RIFF header");
    }
    std::ifstream in(file, std::ios::binary);
    std::array<char, 12> riff{};
    if (!in.read(riff.data(), riff.size())) {
        return notPlayable("cannot be read");
    }
    if (std::string_view(riff.data(), 4) != "RIFF" ||
        std::string_view(riff.data() + 8, 4) != "WAVE") {
        return notPlayable("not a RIFF/WAVE file");
    }

    WaveInfo info;
    uint16_t blockAlign = 0;
    bool haveFormat = false;
    uint64_t offset = 12;
    for (int chunk = 0; chunk < kMaxChunksBeforeData && offset + 8 <= fileSize; ++chunk) {
        std::array<char, 8> header{};
        in.seekg(static_cast<std::streamoff>(offset));
        if (!in.read(header.data(), header.size())) {
            return notPlayable("cannot be read");
        }
        const std::string_view id(header.data(), 4);
        const uint64_t size = le32(header.data() + 4);
        const uint64_t body = offset + 8;
        if (body + size > fileSize) {
            return notPlayable("truncated chunk");
        }
        if (id == "fmt ") {
            std::array<char, 16> fmt{};
            if (size < fmt.size() || !in.read(fmt.data(), fmt.size()) ||
                le16(fmt.data()) != kFormatPcm) {
                return notPlayable("not PCM");
            }
            info.channels = le16(fmt.data() + 2);
            info.sampleRate = le32(fmt.data() + 4);
            blockAlign = le16(fmt.data() + 12);
            info.bitsPerSample = le16(fmt.data() + 14);
            if (!validPcmFormat(info, blockAlign)) {
                return notPlayable("an unplayable PCM format");
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                return notPlayable("data before the format");
            }
            info.dataBytes = size - size % blockAlign;
            const uint64_t bytesPerSecond = uint64_t{info.sampleRate} * blockAlign;
            info.durationMs = static_cast<int64_t>(info.dataBytes * 1000 / bytesPerSecond);
            return info;
        }
        offset = body + size + (size & 1);  // chunks are padded to even sizes
    }
    return notPlayable("no data chunk");
}

}  // namespace platform::media
