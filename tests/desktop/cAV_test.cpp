#include "desktop/cAV.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/media/mci.h"
#include "support/headless_test.h"
#include "support/wave_bytes.h"

namespace {

class SoundPlayer : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        testsupport::writeFile(dir.path() / "door bell.wav", testsupport::pcmWave(1000));
        testsupport::writeFile(dir.path() / "knock.wav", testsupport::pcmWave(500));
    }
    void TearDown() override {
        std::string ignored;
        win::mciSendStringA("CLOSE ALL", ignored, 0, 0);
        HeadlessTest::TearDown();
    }

    // The commands sent and their result codes, as the interpreter traced them.
    std::vector<std::string> commands() const { return traced("mci"); }
    std::string mode(const std::string& file) {
        std::string answer;
        const uint32_t rc =
            win::mciSendStringA("STATUS \"" + dir.file(file) + "\" mode", answer, 16, 0);
        return rc == 0 ? answer : "closed";
    }

    testsupport::TempDir dir;
    cAV player;
};

struct CommandCase {
    const char* name;
    std::function<void(cAV&, const std::string&)> operations;  // given the path of "knock.wav"
    std::vector<std::string> expected;  // "@" stands for the escaped, quoted path
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class SoundPlayerCommands : public SoundPlayer,
                            public ::testing::WithParamInterface<CommandCase> {};

TEST_P(SoundPlayerCommands, SendExactlyTheseCommandStrings) {
    GetParam().operations(player, dir.file("knock.wav"));
    std::vector<std::string> expected;
    for (std::string line : GetParam().expected) {
        if (const size_t at = line.find('@'); at != std::string::npos) {
            line.replace(at, 1, "\\\"" + dir.file("knock.wav") + "\\\"");
        }
        expected.push_back(line);
    }
    EXPECT_EQ(commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SoundPlayerCommands,
    ::testing::Values(
        CommandCase{"OpenPlayStopClose",
                    [](cAV& p, const std::string& f) {
                        p.OpenMCIAudioFile(f);
                        p.PlayMCIAudioFile(true);
                        p.PlayMCIAudioFile(false);
                        p.StopMCIAudioFile();
                        p.CloseMCIAudioFile();
                    },
                    {"cmd=\"OPEN @\" rc=0", "cmd=\"PLAY @ from 0\" rc=0", "cmd=\"PLAY @\" rc=0",
                     "cmd=\"STOP @\" rc=0", "cmd=\"CLOSE @\" rc=0"}},
        CommandCase{
            "BeforeAnyOpen",
            [](cAV& p, const std::string&) {
                p.PlayMCIAudioFile(true);
                p.StopMCIAudioFile();
                p.CloseMCIAudioFile();
            },
            {"cmd=\"PLAY  from 0\" rc=259", "cmd=\"STOP \" rc=273", "cmd=\"CLOSE \" rc=273"}},
        CommandCase{
            "MissingSoundSetting",
            [](cAV& p, const std::string&) {
                p.OpenMCIAudioFile("Error");
                p.PlayMCIAudioFile(true);
            },
            {"cmd=\"OPEN \\\"Error\\\"\" rc=275", "cmd=\"PLAY \\\"Error\\\" from 0\" rc=263"}},
        CommandCase{"PathHoldingAQuote",
                    [](cAV& p, const std::string&) { p.OpenMCIAudioFile("a\"b.wav"); },
                    {"cmd=\"OPEN \\\"a\\\"b.wav\\\"\" rc=259"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SoundPlayer, TwoOpensThenOneCloseLeaveTheFirstDeviceOpen) {
    player.OpenMCIAudioFile(dir.file("door bell.wav"));
    player.PlayMCIAudioFile(true);
    player.OpenMCIAudioFile(dir.file("knock.wav"));
    player.PlayMCIAudioFile(true);

    player.CloseMCIAudioFile();
    EXPECT_EQ(mode("knock.wav"), "closed");
    EXPECT_EQ(mode("door bell.wav"), "playing");

    // The second close names the device closed already; the first one plays on.
    player.CloseMCIAudioFile();
    EXPECT_EQ(commands().back(), "cmd=\"CLOSE \\\"" + dir.file("knock.wav") + "\\\"\" rc=263");
    EXPECT_EQ(mode("door bell.wav"), "playing");
}

}  // namespace
