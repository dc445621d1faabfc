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
    std::string status(const std::string& item, const std::string& device = "") {
        std::string answer;
        const uint32_t rc = win::mciSendStringA(
            "STATUS " + (device.empty() ? knock : device) + " " + item, answer, 64, 0);
        return rc == kMciOk ? answer : "rc " + std::to_string(rc);
    }
    std::string quotedPath(const std::string& name) { return '"' + dir.file(name) + '"'; }

    testsupport::TempDir dir;
    const std::string knock = quotedPath("knock knock.wav");
};

// Each command goes to a fresh interpreter in which the sound file is open already.
TEST_F(Mci, CommandStringsAnswerWithTheirCode) {
    struct Case {
        std::string command;  // $ stands for the quoted path of "knock knock.wav"
        uint32_t expected;
    };
    for (const Case& c : {Case{"play $ FROM 0", kMciOk},
                          Case{"OPEN $", kMciDeviceAlreadyOpen},
                          Case{"", kMciMissingCommandString},
                          Case{"   ", kMciMissingCommandString},
                          Case{"SPIN $", kMciUnrecognizedCommand},
                          Case{"PLAY ", kMciMissingParameter},
                          Case{"CLOSE ", kMciMissingParameter},
                          Case{"PLAY  from 0", kMciUnrecognizedKeyword},
                          Case{"PLAY \"other.wav\" from 0", kMciInvalidDeviceName},
                          Case{"PLAY \"knock from 0", kMciInvalidDeviceName},
                          Case{"PLAY \"\"", kMciInvalidDeviceName},
                          Case{"PLAY $ from", kMciMissingParameter},
                          Case{"PLAY $ from zero", kMciBadInteger},
                          Case{"PLAY $ from -5", kMciBadInteger},
                          Case{"PLAY $ from 1001", kMciOutOfRange},
                          Case{"PLAY $ from 1000", kMciOk},
                          Case{"PLAY $ from 0 wait", kMciUnrecognizedKeyword},
                          Case{"STOP $ now", kMciUnrecognizedKeyword},
                          Case{"STATUS $", kMciMissingParameter},
                          Case{"STATUS $ colour", kMciUnrecognizedKeyword}}) {
        ASSERT_EQ(send("OPEN " + knock), kMciOk);
        std::string command = c.command;
        if (const size_t at = command.find('$'); at != std::string::npos) {
            command.replace(at, 1, knock);
        }
        EXPECT_EQ(send(command), c.expected) << command;
        send("CLOSE ALL");
    }
}

// A device name is its path, whatever its case; a bare word names a file too.
TEST_F(Mci, OpensOnlyReadablePcmWaves) {
    struct Case {
        std::string name;
        uint32_t expected;
    };
    for (const Case& c : {Case{"missing.wav", kMciFileNotFound}, Case{"", kMciFileNotFound},
                          Case{"notes.txt", kMciInvalidFile}, Case{"empty.wav", kMciInvalidFile}}) {
        EXPECT_EQ(send("OPEN " + quotedPath(c.name)), c.expected) << c.name;
        EXPECT_EQ(status("mode", quotedPath(c.name)), "rc 263") << c.name;
    }
    testsupport::writeFile(dir.path() / "bell.wav", testsupport::pcmWave(200));
    ASSERT_EQ(send("open " + dir.file("bell.wav")), kMciOk);
    EXPECT_EQ(status("mode", quotedPath("BELL.WAV")), "stopped");
    EXPECT_EQ(send("OPEN " + quotedPath("BELL.WAV")), kMciDeviceAlreadyOpen);
}

TEST_F(Mci, PlaybackFollowsTheClockStopKeepsThePositionAndPlayFromStartRestarts) {
    ASSERT_EQ(send("OPEN " + knock), kMciOk);
    EXPECT_EQ(status("length"), "1000");
    ASSERT_EQ(send("PLAY " + knock + " from 0"), kMciOk);
    clock().advance(300);
    EXPECT_EQ(status("mode"), "playing");
    ASSERT_EQ(send("STOP " + knock), kMciOk);
    clock().advance(5000);
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_EQ(status("position"), "300");
    ASSERT_EQ(send("PLAY " + knock), kMciOk);
    clock().advance(100);
    // A second PLAY while playing plays on rather than starting over; "from 0" starts over.
    ASSERT_EQ(send("PLAY " + knock), kMciOk);
    EXPECT_EQ(status("position"), "400");
    ASSERT_EQ(send("PLAY " + knock + " from 0"), kMciOk);
    clock().advance(999);
    EXPECT_EQ(status("mode"), "playing");
    clock().advance(1);
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_EQ(status("position"), "1000");
    // At the end, PLAY without "from 0" has nothing left to play.
    ASSERT_EQ(send("PLAY " + knock), kMciOk);
    EXPECT_EQ(status("mode"), "stopped");

    const std::string q = '"' + dir.file("knock knock.wav") + '"';
    EXPECT_EQ(traced("sound"),
              (std::vector<std::string>{"play path=" + q + " from=0 ms=1000", "stop path=" + q,
                                        "play path=" + q + " from=300 ms=700", "stop path=" + q,
                                        "play path=" + q + " from=0 ms=1000"}));
}

TEST_F(Mci, AFileThatTurnsBadAfterOpeningFailsToPlay) {
    ASSERT_EQ(send("OPEN " + knock), kMciOk);
    testsupport::writeFile(dir.path() / "knock knock.wav", "RIFF");
    EXPECT_EQ(send("PLAY " + knock + " from 0"), kMciInvalidFile);
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_TRUE(traced("sound").empty());
}

// The answer is cut to the caller's buffer; the trace holds all of it.
TEST_F(Mci, StatusAnswersAreTracedWhole) {
    send("OPEN " + knock);
    std::string buffer = "0";
    win::mciSendStringA("STATUS " + knock + " mode", buffer, 4, 0);
    EXPECT_EQ(buffer, "sto");
    EXPECT_TRUE(traced("mci").back().ends_with(" mode\" rc=0 answer=\"stopped\""))
        << traced("mci").back();
}

TEST_F(Mci, CloseAllSilencesEveryDevice) {
    testsupport::writeFile(dir.path() / "bell.wav", testsupport::pcmWave(200));
    for (const std::string& device : {knock, quotedPath("bell.wav")}) {
        ASSERT_EQ(send("OPEN " + device), kMciOk);
        ASSERT_EQ(send("PLAY " + device + " from 0"), kMciOk);
    }
    clock().advance(500);  // the bell has ended by itself, the knock still plays
    ASSERT_EQ(send("CLOSE ALL"), kMciOk);
    EXPECT_EQ(traced("sound").back(), "stop path=\"" + dir.file("knock knock.wav") + "\"");
    EXPECT_EQ(traced("sound").size(), 3u);
    EXPECT_EQ(status("mode", quotedPath("bell.wav")), "rc 263");
}

TEST_F(Mci, TextOutsideTheAnsiCodePageNamesNoFile) {
    testsupport::writeFile(dir.path() / "caf\xc3\xa9.wav", testsupport::pcmWave(100));
    testsupport::writeFile(dir.path() / "\xe6\x97\xa5.wav", testsupport::pcmWave(100));
    EXPECT_EQ(send("OPEN " + quotedPath("caf\xc3\xa9.wav")), kMciOk);
    EXPECT_EQ(send("OPEN " + quotedPath("\xe6\x97\xa5.wav")), kMciFileNotFound);
}

}  // namespace
