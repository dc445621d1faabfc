#include "platform/media/wave.h"

#include <gtest/gtest.h>

#include "support/headless_test.h"
#include "support/wave_bytes.h"

namespace {

using testsupport::pcmWave;

template <size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

std::string withFormatTag(std::string wave, uint16_t tag) {
    wave[20] = static_cast<char>(tag & 0xff);
    wave[21] = static_cast<char>(tag >> 8);
    return wave;
}

// A chunk the reader must step over: odd-sized, so it carries a pad byte.
std::string withChunkBeforeData(const std::string& wave) {
    const std::string chunk = std::string("LIST") + '\x03' + '\0' + '\0' + '\0' + "abc" + '\0';
    return wave.substr(0, 36) + chunk + wave.substr(36);
}

// Empty chunks (all zero bytes) between the format and the data: the reader looks at 64 chunks.
std::string withEmptyChunksBeforeData(const std::string& wave, size_t count) {
    return wave.substr(0, 36) + std::string(8 * count, '\0') + wave.substr(36);
}

struct WaveCase {
    const char* name;
    std::string bytes;
    int64_t durationMs;  // -1: not playable
};

void PrintTo(const WaveCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadWaveInfo : public ::testing::TestWithParam<WaveCase> {};

TEST_P(ReadWaveInfo, AcceptsOnlyCompletePcmWaves) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.path() / "x.wav", GetParam().bytes);
    const auto info = platform::media::readWaveInfo(dir.path() / "x.wav");
    if (GetParam().durationMs < 0) {
        EXPECT_FALSE(info.has_value());
    } else {
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->durationMs, GetParam().durationMs);
    }
}

const std::string kSecond = pcmWave(1000);

INSTANTIATE_TEST_SUITE_P(
    Files, ReadWaveInfo,
    ::testing::Values(WaveCase{"Mono16", kSecond, 1000},
                      WaveCase{"Stereo8", pcmWave(250, 11025, 2, 8), 249},
                      WaveCase{"Stereo24", pcmWave(1500, 48000, 2, 24), 1500},
                      WaveCase{"SkipsOtherChunks", withChunkBeforeData(kSecond), 1000},
                      WaveCase{"DataAsChunk64", withEmptyChunksBeforeData(kSecond, 62), 1000},
                      WaveCase{"DataAsChunk65", withEmptyChunksBeforeData(kSecond, 63), -1},
                      WaveCase{"EmptyData", pcmWave(0), 0}, WaveCase{"EmptyFile", "", -1},
                      WaveCase{"TextFile", "hello, this is not a sound at all", -1},
                      WaveCase{"RiffButNotWave", bytes("RIFF\x04\0\0\0AVI LIST"), -1},
                      WaveCase{"HeaderOnly", kSecond.substr(0, 30), -1},
                      WaveCase{"TruncatedData", kSecond.substr(0, kSecond.size() - 1), -1},
                      WaveCase{"FloatFormat", withFormatTag(kSecond, 3), -1},
                      WaveCase{"NoDataChunk", kSecond.substr(0, 36), -1},
                      WaveCase{"DataBeforeFormat",
                               bytes("RIFF\x24\0\0\0WAVEdata\0\0\0\0") + kSecond.substr(12, 24),
                               -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadWaveInfoFile, MissingFileOrFolderIsNotPlayable) {
    testsupport::TempDir dir;
    EXPECT_FALSE(platform::media::readWaveInfo(dir.path() / "missing.wav"));
    EXPECT_FALSE(platform::media::readWaveInfo(dir.path()));
}

}  // namespace
