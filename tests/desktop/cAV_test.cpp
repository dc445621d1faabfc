#include "desktop/cAV.h"

#include <gtest/gtest.h>

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

    // The command sent for a file and its result code, as the interpreter traced it.
    std::string command(const std::string& verb, const std::string& file, const char* rest) {
        return "cmd=\"" + verb + " \\\"" + file + "\\\"" + rest;
    }
    std::string mode(const std::string& file) {
        std::string answer;
        const uint32_t rc =
            win::mciSendStringA("STATUS \"" + dir.file(file) + "\" mode", answer, 16, 0);
        return rc == 0 ? answer : "closed";
    }

    testsupport::TempDir dir;
    cAV player;
};

// Before any open the device name is empty; a missing sound setting reads "Error"; a path is
// quoted as it stands.
TEST_F(SoundPlayer, SendsExactlyTheseCommandStrings) {
    player.PlayMCIAudioFile(true);
    player.StopMCIAudioFile();
    player.CloseMCIAudioFile();
    player.OpenMCIAudioFile("Error");
    player.PlayMCIAudioFile(true);
    player.OpenMCIAudioFile("a\"b.wav");
    const std::string knock = dir.file("knock.wav");
    player.OpenMCIAudioFile(knock);
    player.PlayMCIAudioFile(true);
    player.PlayMCIAudioFile(false);
    player.StopMCIAudioFile();
    player.CloseMCIAudioFile();
    EXPECT_EQ(
        traced("mci"),
        (std::vector<std::string>{
            "cmd=\"PLAY  from 0\" rc=259", "cmd=\"STOP \" rc=273", "cmd=\"CLOSE \" rc=273",
            command("OPEN", "Error", "\" rc=275"), command("PLAY", "Error", " from 0\" rc=263"),
            "cmd=\"OPEN \\\"a\\\"b.wav\\\"\" rc=259", command("OPEN", knock, "\" rc=0"),
            command("PLAY", knock, " from 0\" rc=0"), command("PLAY", knock, "\" rc=0"),
            command("STOP", knock, "\" rc=0"), command("CLOSE", knock, "\" rc=0")}));
}

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
    EXPECT_EQ(traced("mci").back(), command("CLOSE", dir.file("knock.wav"), "\" rc=263"));
    EXPECT_EQ(mode("door bell.wav"), "playing");
}

}  // namespace
