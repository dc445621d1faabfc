#include "assets/program_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>

#include "file_readers.h"
#include "support/headless_test.h"

namespace {

const assetgen::ProgramFile& fileNamed(const std::vector<assetgen::ProgramFile>& files,
                                       const std::string& name) {
    const auto it = std::find_if(files.begin(), files.end(),
                                 [&](const assetgen::ProgramFile& f) { return f.name == name; });
    if (it == files.end()) {
        throw std::runtime_error("no generated file " + name);
    }
    return *it;
}

TEST(ProgramFiles, TrayIconIsA16x16IconWhoseMaskFollowsItsAlpha) {
    std::string error;
    const auto icon =
        filereaders::readIco(fileNamed(assetgen::programFiles(), "idata.x6c").bytes, error);
    ASSERT_TRUE(icon) << error;
    EXPECT_EQ(icon->width, 16);
    EXPECT_EQ(icon->height, 16);
    int opaque = 0;
    for (std::size_t i = 0; i < icon->pixels.size(); ++i) {
        const auto alpha = icon->pixels[i].a;
        EXPECT_TRUE(alpha == 0 || alpha == 255) << "pixel " << i;
        EXPECT_EQ(icon->transparent[i], alpha == 0) << "pixel " << i;
        opaque += alpha == 255 ? 1 : 0;
    }
    // A shape, not a filled square and not an empty icon: the corners are clear.
    EXPECT_GT(opaque, 100);
    EXPECT_LT(opaque, 256);
    EXPECT_TRUE(icon->transparent.front());
    EXPECT_TRUE(icon->transparent.back());
}

TEST(ProgramFiles, CompanyLogoIsASquare24BitBitmapWithADrawing) {
    std::string error;
    const auto logo =
        filereaders::readBmp(fileNamed(assetgen::programFiles(), "ldata.x6c").bytes, error);
    ASSERT_TRUE(logo) << error;
    EXPECT_EQ(logo->width, 73);
    EXPECT_EQ(logo->height, 73);
    std::set<std::tuple<int, int, int>> colours;
    for (const auto& p : logo->pixels) {
        colours.emplace(p.r, p.g, p.b);
    }
    EXPECT_GE(colours.size(), 3u);
}

struct SoundCase {
    const char* name;
};

class Sounds : public ::testing::TestWithParam<SoundCase> {};

TEST_P(Sounds, ArePcm16Mono22050OfAShortAudibleLength) {
    std::string error;
    const auto wave =
        filereaders::readWav(fileNamed(assetgen::programFiles(), GetParam().name).bytes, error);
    ASSERT_TRUE(wave) << error;
    EXPECT_EQ(wave->formatTag, 1);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->sampleRate, 22050u);
    EXPECT_EQ(wave->bitsPerSample, 16);
    EXPECT_GE(wave->seconds(), 0.2);
    EXPECT_LE(wave->seconds(), 1.5);
    int peak = 0;
    for (std::int16_t s : wave->samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    EXPECT_GT(peak, 8000) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
    // Starts and ends at rest, so playback does not click.
    EXPECT_LT(std::abs(static_cast<int>(wave->samples.front())), 200);
    EXPECT_LT(std::abs(static_cast<int>(wave->samples.back())), 200);
}

INSTANTIATE_TEST_SUITE_P(ProgramFiles, Sounds,
                         ::testing::Values(SoundCase{"sounds/notify.wav"},
                                           SoundCase{"sounds/doorbell08.wav"},
                                           SoundCase{"sounds/knock.wav"}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             return n.substr(7, n.size() - 11);
                         });

TEST(ProgramFiles, TheThreeSoundsDiffer) {
    const auto files = assetgen::programFiles();
    const std::set<std::string> sounds{fileNamed(files, "sounds/notify.wav").bytes,
                                       fileNamed(files, "sounds/doorbell08.wav").bytes,
                                       fileNamed(files, "sounds/knock.wav").bytes};
    EXPECT_EQ(sounds.size(), 3u);
}

TEST(ProgramFiles, WritingTwiceGivesTheSameBytes) {
    testsupport::TempDir first;
    testsupport::TempDir second;
    assetgen::writeProgramFiles(first.path());
    assetgen::writeProgramFiles(second.path());
    for (const auto& file : assetgen::programFiles()) {
        const std::string a = testsupport::readFile(first.path() / file.name);
        EXPECT_EQ(a, file.bytes) << file.name;
        EXPECT_EQ(a, testsupport::readFile(second.path() / file.name)) << file.name;
    }
}

TEST(ProgramFiles, WritingIntoAFileInsteadOfAFolderFails) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.path() / "plain", "x");
    EXPECT_ANY_THROW(assetgen::writeProgramFiles(dir.path() / "plain"));
}

}  // namespace
