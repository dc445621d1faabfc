#include "assets/program_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>

#include "file_readers.h"
#include "support/headless_test.h"

namespace {

std::string bytesOf(const std::string& name) {
    for (const auto& file : assetgen::programFiles()) {
        if (file.name == name) {
            return file.bytes;
        }
    }
    throw std::runtime_error("no generated file " + name);
}

TEST(ProgramFiles, TrayIconIsA16x16IconWhoseMaskFollowsItsAlpha) {
    const auto icon = filereaders::readIco(bytesOf("idata.x6c"));
    EXPECT_EQ(icon.width, 16);
    EXPECT_EQ(icon.height, 16);
    int opaque = 0;
    for (std::size_t i = 0; i < icon.pixels.size(); ++i) {
        const auto alpha = icon.pixels[i].a;
        EXPECT_TRUE(alpha == 0 || alpha == 255) << "pixel " << i;
        EXPECT_EQ(icon.transparent[i], alpha == 0) << "pixel " << i;
        opaque += alpha == 255 ? 1 : 0;
    }
    // A shape, not a filled square and not an empty icon: the corners are clear.
    EXPECT_GT(opaque, 100);
    EXPECT_LT(opaque, 256);
    EXPECT_TRUE(icon.transparent.front());
    EXPECT_TRUE(icon.transparent.back());
}

TEST(ProgramFiles, CompanyLogoIsASquare24BitBitmapWithADrawing) {
    const auto logo = filereaders::readBmp(bytesOf("ldata.x6c"));
    EXPECT_EQ(logo.width, 73);
    EXPECT_EQ(logo.height, 73);
    std::set<std::tuple<int, int, int>> colours;
    for (const auto& p : logo.pixels) {
        colours.emplace(p.r, p.g, p.b);
    }
    EXPECT_GE(colours.size(), 3u);
}

TEST(ProgramFiles, SoundsArePcm16Mono22050OfAShortAudibleLengthAndDiffer) {
    std::set<std::string> sounds;
    for (const char* name : {"sounds/notify.wav", "sounds/doorbell08.wav", "sounds/knock.wav"}) {
        SCOPED_TRACE(name);
        sounds.insert(bytesOf(name));
        const auto wave = filereaders::readWav(bytesOf(name));
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.sampleRate, 22050u);
        EXPECT_GE(wave.samples.size(), 22050 * 0.2);
        EXPECT_LE(wave.samples.size(), 22050 * 1.5);
        int peak = 0;
        for (std::int16_t s : wave.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        EXPECT_GT(peak, 8000) << "too quiet to hear";
        EXPECT_LT(peak, 32767) << "clipped";
        // Starts and ends at rest, so playback does not click.
        EXPECT_LT(std::abs(static_cast<int>(wave.samples.front())), 200);
        EXPECT_LT(std::abs(static_cast<int>(wave.samples.back())), 200);
    }
    EXPECT_EQ(sounds.size(), 3u);
}

TEST(ProgramFiles, AreWrittenAsMadeAndNeverIntoAFile) {
    testsupport::TempDir dir;
    assetgen::writeProgramFiles(dir.path());
    for (const auto& file : assetgen::programFiles()) {
        EXPECT_EQ(testsupport::readFile(dir.path() / file.name), file.bytes) << file.name;
    }
    testsupport::writeFile(dir.path() / "plain", "x");
    EXPECT_ANY_THROW(assetgen::writeProgramFiles(dir.path() / "plain"));
}

}  // namespace
