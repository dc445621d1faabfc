#include "platform/media/wave.h"

#include <gtest/gtest.h>

#include <cerrno>

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

TEST(ReadWaveInfo, AcceptsOnlyCompletePcmWaves) {
    testsupport::TempDir dir;
    const std::string second = pcmWave(1000);
    struct Case {
        std::string bytes;
        int64_t durationMs;  // -1: not playable
    };
    for (const Case& c :
         {Case{second, 1000}, Case{pcmWave(250, 11025, 2, 8), 249},
          Case{pcmWave(1500, 48000, 2, 24), 1500}, Case{withChunkBeforeData(second), 1000},
          Case{withEmptyChunksBeforeData(second, 62), 1000},
          Case{withEmptyChunksBeforeData(second, 63), -1}, Case{pcmWave(0), 0}, Case{"", -1},
          Case{"hello, this is not a sound at all", -1}, Case{bytes("RIFF\x04\0\0\0AVI LIST"), -1},
          Case{second.substr(0, 30), -1}, Case{second.substr(0, second.size() - 1), -1},
          Case{withFormatTag(second, 3), -1}, Case{second.substr(0, 36), -1},
          Case{bytes("RIFF\x24\0\0\0WAVEdata\0\0\0\0") + second.substr(12, 24), -1}}) {
        testsupport::writeFile(dir.path() / "x.wav", c.bytes);
        const auto info = platform::media::readWaveInfo(dir.path() / "x.wav");
        EXPECT_EQ(info ? info->durationMs : -1, c.durationMs) << testing::PrintToString(c.bytes);
        if (!info) {
            EXPECT_EQ(info.failure().code, platform::media::kMciInvalidFile);
            EXPECT_FALSE(info.failure().reason.empty());
        }
    }
    // What cannot be examined at all fails with the system's error.
    const auto missing = platform::media::readWaveInfo(dir.path() / "missing.wav");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().code, ENOENT);
    const auto folder = platform::media::readWaveInfo(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.failure().code, EISDIR);
}

}  // namespace
