#include "platform/media/mci.h"

#include <gtest/gtest.h>

#include "support/headless_test.h"
#include "support/wave_bytes.h"

namespace {

using namespace platform::media;

class Mci : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        testsupport::writeFile(dir.path() / "knock knock.wav", testsupport::pcmWave(1000));
        testsupport::writeFile(dir.path() / "notes.txt", "not a sound");
        testsupport::writeFile(dir.path() / "empty.wav", "");
    }
    void TearDown() override {
        send("CLOSE ALL");
        HeadlessTest::TearDown();
    }

    uint32_t send(const std::string& command) {
        std::string ignored = "0";
        return win::mciSendStringA(command, ignored, 0, 0);
    }
    std::string status(const std::string& device, const std::string& item) {
        std::string answer;
        const uint32_t rc = win::mciSendStringA("STATUS " + device + " " + item, answer, 64, 0);
        return rc == kMciOk ? answer : "rc " + std::to_string(rc);
    }
    std::string quotedPath(const std::string& name) { return '"' + dir.file(name) + '"'; }

    testsupport::TempDir dir;
};

struct CommandCase {
    const char* name;
    std::string command;  // $ stands for the quoted path of "knock knock.wav"
    uint32_t expected;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class MciCommandStrings : public Mci, public ::testing::WithParamInterface<CommandCase> {};

// Each command runs against a fresh interpreter in which the sound file is already open.
TEST_P(MciCommandStrings, AnswerWithTheirCode) {
    ASSERT_EQ(send("OPEN " + quotedPath("knock knock.wav")), kMciOk);
    std::string command = GetParam().command;
    if (const size_t at = command.find('$'); at != std::string::npos) {
        command.replace(at, 1, quotedPath("knock knock.wav"));
    }
    EXPECT_EQ(send(command), GetParam().expected) << command;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MciCommandStrings,
    ::testing::Values(
        CommandCase{"PlayFromStart", "PLAY $ from 0", kMciOk},
        CommandCase{"Play", "PLAY $", kMciOk},
        CommandCase{"LowerCaseWords", "play $ FROM 0", kMciOk},
        CommandCase{"Stop", "STOP $", kMciOk}, CommandCase{"Close", "CLOSE $", kMciOk},
        CommandCase{"OpenAgain", "OPEN $", kMciDeviceAlreadyOpen},
        CommandCase{"Empty", "", kMciMissingCommandString},
        CommandCase{"Blanks", "   ", kMciMissingCommandString},
        CommandCase{"UnknownVerb", "SPIN $", kMciUnrecognizedCommand},
        CommandCase{"PlayNothing", "PLAY ", kMciMissingParameter},
        CommandCase{"CloseNothing", "CLOSE ", kMciMissingParameter},
        CommandCase{"PlayEmptyDeviceFromStart", "PLAY  from 0", kMciUnrecognizedKeyword},
        CommandCase{"UnknownDevice", "PLAY \"other.wav\" from 0", kMciInvalidDeviceName},
        CommandCase{"UnclosedQuote", "PLAY \"knock from 0", kMciInvalidDeviceName},
        CommandCase{"EmptyQuotes", "PLAY \"\"", kMciInvalidDeviceName},
        CommandCase{"FromWithoutNumber", "PLAY $ from", kMciMissingParameter},
        CommandCase{"FromText", "PLAY $ from zero", kMciBadInteger},
        CommandCase{"FromNegative", "PLAY $ from -5", kMciBadInteger},
        CommandCase{"FromPastTheEnd", "PLAY $ from 1001", kMciOutOfRange},
        CommandCase{"FromTheEnd", "PLAY $ from 1000", kMciOk},
        CommandCase{"ExtraWord", "PLAY $ from 0 wait", kMciUnrecognizedKeyword},
        CommandCase{"StopWithWord", "STOP $ now", kMciUnrecognizedKeyword},
        CommandCase{"StatusWithoutItem", "STATUS $", kMciMissingParameter},
        CommandCase{"StatusUnknownItem", "STATUS $ colour", kMciUnrecognizedKeyword}),
    [](const auto& info) { return std::string(info.param.name); });

struct OpenCase {
    const char* name;
    std::string file;
    uint32_t expected;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class MciOpen : public Mci, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(MciOpen, OpensOnlyReadablePcmWaves) {
    const std::string device = quotedPath(GetParam().file);
    EXPECT_EQ(send("OPEN " + device), GetParam().expected);
    const bool opened = GetParam().expected == kMciOk;
    EXPECT_EQ(status(device, "mode"), opened ? "stopped" : "rc 263");
    EXPECT_EQ(send("PLAY " + device + " from 0"), opened ? kMciOk : kMciInvalidDeviceName);
}

INSTANTIATE_TEST_SUITE_P(Files, MciOpen,
                         ::testing::Values(OpenCase{"Wave", "knock knock.wav", kMciOk},
                                           OpenCase{"Missing", "missing.wav", kMciFileNotFound},
                                           OpenCase{"Folder", "", kMciFileNotFound},
                                           OpenCase{"Text", "notes.txt", kMciInvalidFile},
                                           OpenCase{"EmptyFile", "empty.wav", kMciInvalidFile}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Mci, PlaybackFollowsTheClockAndEndsByItself) {
    const std::string device = quotedPath("knock knock.wav");
    ASSERT_EQ(send("OPEN " + device), kMciOk);
    EXPECT_EQ(status(device, "length"), "1000");

    ASSERT_EQ(send("PLAY " + device + " from 0"), kMciOk);
    clock().advance(400);
    EXPECT_EQ(status(device, "mode"), "playing");
    EXPECT_EQ(status(device, "position"), "400");
    clock().advance(600);
    EXPECT_EQ(status(device, "mode"), "stopped");
    EXPECT_EQ(status(device, "position"), "1000");

    // At the end, PLAY without "from 0" has nothing left to play.
    ASSERT_EQ(send("PLAY " + device), kMciOk);
    EXPECT_EQ(status(device, "mode"), "stopped");
    EXPECT_EQ(traced("sound").size(), 1u);
}

TEST_F(Mci, StopKeepsThePositionAndPlayResumesFromIt) {
    const std::string device = quotedPath("knock knock.wav");
    const std::string path = dir.file("knock knock.wav");
    ASSERT_EQ(send("OPEN " + device), kMciOk);
    ASSERT_EQ(send("PLAY " + device + " from 0"), kMciOk);
    clock().advance(300);
    ASSERT_EQ(send("STOP " + device), kMciOk);
    clock().advance(5000);
    EXPECT_EQ(status(device, "mode"), "stopped");
    EXPECT_EQ(status(device, "position"), "300");
    ASSERT_EQ(send("PLAY " + device), kMciOk);
    clock().advance(100);
    // A second PLAY while playing plays on rather than starting over.
    ASSERT_EQ(send("PLAY " + device), kMciOk);
    EXPECT_EQ(status(device, "position"), "400");
    ASSERT_EQ(send("CLOSE " + device), kMciOk);
    EXPECT_EQ(status(device, "mode"), "rc 263");

    const std::string q = "\"" + path + "\"";
    EXPECT_EQ(traced("sound"),
              (std::vector<std::string>{"play path=" + q + " from=0 ms=1000", "stop path=" + q,
                                        "play path=" + q + " from=300 ms=700", "stop path=" + q}));
}

TEST_F(Mci, PlayFromStartRestartsAPlayingDevice) {
    const std::string device = quotedPath("knock knock.wav");
    ASSERT_EQ(send("OPEN " + device), kMciOk);
    ASSERT_EQ(send("PLAY " + device + " from 0"), kMciOk);
    clock().advance(700);
    ASSERT_EQ(send("PLAY " + device + " from 0"), kMciOk);
    clock().advance(700);
    EXPECT_EQ(status(device, "mode"), "playing");
    EXPECT_EQ(status(device, "position"), "700");
}

TEST_F(Mci, DeviceNamesIgnoreCaseAndBareWordsWork) {
    testsupport::writeFile(dir.path() / "bell.wav", testsupport::pcmWave(200));
    ASSERT_EQ(send("open " + dir.file("bell.wav")), kMciOk);
    std::string upper = dir.file("bell.wav");
    upper.replace(upper.size() - 8, 8, "BELL.WAV");
    EXPECT_EQ(status("\"" + upper + "\"", "mode"), "stopped");
    EXPECT_EQ(send("OPEN \"" + upper + "\""), kMciDeviceAlreadyOpen);
}

TEST_F(Mci, AFileThatTurnsBadAfterOpeningFailsToPlay) {
    const std::string device = quotedPath("knock knock.wav");
    ASSERT_EQ(send("OPEN " + device), kMciOk);
    testsupport::writeFile(dir.path() / "knock knock.wav", "RIFF");
    EXPECT_EQ(send("PLAY " + device + " from 0"), kMciInvalidFile);
    EXPECT_EQ(status(device, "mode"), "stopped");
    EXPECT_TRUE(traced("sound").empty());
}

TEST_F(Mci, EveryCommandIsTracedWithItsCode) {
    send("OPEN \"nowhere.wav\"");
    std::string buffer = "0";
    win::mciSendStringA("OPEN " + quotedPath("knock knock.wav"), buffer, 0, 0);
    win::mciSendStringA("STATUS " + quotedPath("knock knock.wav") + " mode", buffer, 4, 0);
    EXPECT_EQ(buffer, "sto");
    const std::string q = "\\\"" + dir.file("knock knock.wav") + "\\\"";
    EXPECT_EQ(traced("mci"), (std::vector<std::string>{
                                 R"(cmd="OPEN \"nowhere.wav\"" rc=275)",
                                 "cmd=\"OPEN " + q + "\" rc=0",
                                 "cmd=\"STATUS " + q + " mode\" rc=0 answer=\"stopped\"",
                             }));
}

TEST_F(Mci, CloseAllSilencesEveryDevice) {
    testsupport::writeFile(dir.path() / "bell.wav", testsupport::pcmWave(200));
    ASSERT_EQ(send("OPEN " + quotedPath("knock knock.wav")), kMciOk);
    ASSERT_EQ(send("OPEN " + quotedPath("bell.wav")), kMciOk);
    ASSERT_EQ(send("PLAY " + quotedPath("knock knock.wav") + " from 0"), kMciOk);
    ASSERT_EQ(send("PLAY " + quotedPath("bell.wav") + " from 0"), kMciOk);
    clock().advance(500);  // the bell has ended by itself, the knock still plays
    ASSERT_EQ(send("CLOSE ALL"), kMciOk);
    EXPECT_EQ(traced("sound").back(), "stop path=\"" + dir.file("knock knock.wav") + "\"");
    EXPECT_EQ(traced("sound").size(), 3u);
    EXPECT_EQ(status(quotedPath("bell.wav"), "mode"), "rc 263");
}

TEST_F(Mci, TextOutsideTheAnsiCodePageNamesNoFile) {
    testsupport::writeFile(dir.path() / "caf\xc3\xa9.wav", testsupport::pcmWave(100));
    testsupport::writeFile(dir.path() / "\xe6\x97\xa5.wav", testsupport::pcmWave(100));
    EXPECT_EQ(send("OPEN " + quotedPath("caf\xc3\xa9.wav")), kMciOk);
    EXPECT_EQ(send("OPEN " + quotedPath("\xe6\x97\xa5.wav")), kMciFileNotFound);
}

}  // namespace
