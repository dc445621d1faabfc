#include <signal.h>

#include <atomic>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/media/mci.h"
#include "support/headless_test.h"
#include "support/wave_bytes.h"

namespace {

std::atomic<int> childrenEnded{0};

void countChild(int) {
    ++childrenEnded;
}

// Counts child processes that end while it is in scope, and makes dir the working folder so a
// command that slipped through would leave its file there.
class Watch {
  public:
    explicit Watch(const std::filesystem::path& dir)
        : previousFolder_(std::filesystem::current_path()) {
        struct sigaction action {};
        action.sa_handler = countChild;
        sigemptyset(&action.sa_mask);
        sigaction(SIGCHLD, &action, &previousAction_);
        childrenEnded = 0;
        std::filesystem::current_path(dir);
    }
    ~Watch() {
        std::filesystem::current_path(previousFolder_);
        sigaction(SIGCHLD, &previousAction_, nullptr);
    }

  private:
    std::filesystem::path previousFolder_;
    struct sigaction previousAction_ {};
};

class MciShellCharacters : public testsupport::HeadlessTest,
                           public ::testing::WithParamInterface<const char*> {
  protected:
    void TearDown() override {
        std::string ignored;
        win::mciSendStringA("CLOSE ALL", ignored, 0, 0);
        HeadlessTest::TearDown();
    }
};

// Each name is tried as a file that exists and as one that does not; the commands hidden in it
// would create "pwned" in the working folder.
TEST_P(MciShellCharacters, PathIsOnlyEverAFileName) {
    testsupport::TempDir dir;
    const std::string name = GetParam();
    const bool nameHoldsQuote = name.find('"') != std::string::npos;
    testsupport::writeFile(dir.path() / name, testsupport::pcmWave(100));
    {
        Watch watch(dir.path());
        for (const std::string& path : {dir.file(name), dir.file("missing " + name)}) {
            std::string buffer = "0";
            const uint32_t opened = win::mciSendStringA("OPEN \"" + path + "\"", buffer, 0, 0);
            const uint32_t played =
                win::mciSendStringA("PLAY \"" + path + "\" from 0", buffer, 0, 0);
            win::mciSendStringA("CLOSE \"" + path + "\"", buffer, 0, 0);
            const bool playable = path == dir.file(name) && !nameHoldsQuote;
            EXPECT_EQ(opened == 0, playable) << path;
            EXPECT_EQ(played == 0, playable) << path;
        }
        EXPECT_EQ(childrenEnded.load(), 0);
    }
    // Only the file the test wrote: nothing named "pwned" (or anything else) appeared.
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

INSTANTIATE_TEST_SUITE_P(Names, MciShellCharacters,
                         ::testing::Values("$(touch pwned).wav", "`touch pwned`.wav",
                                           "a; touch pwned; b.wav", "a && touch pwned.wav",
                                           "a | tee pwned.wav", "it's \"touch pwned\".wav",
                                           "a\" ; touch pwned ; \".wav", "a\nb; touch pwned.wav"));

}  // namespace
