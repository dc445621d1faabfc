#include <filesystem>

#include <gtest/gtest.h>

#include "platform/media/mci.h"
#include "support/headless_test.h"
#include "support/wave_bytes.h"

namespace {

class MciShellCharacters : public testsupport::HeadlessTest {
  protected:
    void TearDown() override {
        std::string ignored;
        win::mciSendStringA("CLOSE ALL", ignored, 0, 0);
        std::filesystem::current_path(previousFolder_);
        HeadlessTest::TearDown();
    }

    testsupport::TempDir dir_;
    const std::filesystem::path previousFolder_ = std::filesystem::current_path();
};

// Each name is tried as a file that exists and as one that does not, with the test's folder as the
// working folder: a command hidden in a name that reached a shell would leave "pwned" there.
TEST_F(MciShellCharacters, PathIsOnlyEverAFileName) {
    std::filesystem::current_path(dir_.path());
    for (const std::string name : {"$(touch pwned).wav", "`touch pwned`.wav", "a; touch pwned.wav",
                                   "a | tee pwned.wav", "a\" ; touch pwned ; \".wav"}) {
        testsupport::writeFile(dir_.path() / name, testsupport::pcmWave(100));
        const bool nameHoldsQuote = name.find('"') != std::string::npos;
        for (const std::string& path : {dir_.file(name), dir_.file("missing " + name)}) {
            std::string buffer = "0";
            const uint32_t opened = win::mciSendStringA("OPEN \"" + path + "\"", buffer, 0, 0);
            const uint32_t played =
                win::mciSendStringA("PLAY \"" + path + "\" from 0", buffer, 0, 0);
            win::mciSendStringA("CLOSE \"" + path + "\"", buffer, 0, 0);
            const bool playable = path == dir_.file(name) && !nameHoldsQuote;
            EXPECT_EQ(opened == 0, playable) << path;
            EXPECT_EQ(played == 0, playable) << path;
        }
        std::filesystem::remove(dir_.path() / name);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

}  // namespace
