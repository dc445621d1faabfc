#include "desktop/error_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "desktop/tray_fixture.h"

namespace {

using namespace std::chrono;

class ErrorLogTest : public desktoptest::DesktopTest {};

TEST_F(ErrorLogTest, MessageTextLeavesOutEmptyParts) {
    struct Case {
        std::string number, description, module, function, text;
    };
    const Case cases[] = {
        {"91", "Object not set", "clsTray", "Add",
         "Error occured: 91\r\nDescription: Object not set\r\nModule: clsTray\r\nFunction: Add"},
        {"5", "", "clsTray", "", "Error occured: 5\r\nModule: clsTray\r\n"},
        {"", "", "", "", "Error occured: \r\n"},
        {"7", "d", "", "f", "Error occured: 7\r\nDescription: d\r\nFunction: f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorlog::messageText(c.number, c.description, c.module, c.function), c.text);
    }
}

TEST_F(ErrorLogTest, LogLineHasTheDateBetweenHashesAndEveryFieldQuotedAsItStands) {
    const auto afternoon = sys_days{year{2026} / March / 7} + hours{14} + minutes{5} + seconds{9};
    const auto midnight = sys_days{year{2026} / March / 8};
    struct Case {
        system_clock::time_point when;
        std::string description, user, line;
    };
    const Case cases[] = {
        {afternoon, "Overflow", "ann",
         "#2026-03-07 14:05:09#,\"6\",\"Overflow\",\"clsTray\",\"Add\",\"TarnixIM "
         "v1.0.0\",\"ann\",\"pc\"\r\n"},
        {midnight, "say \"hi\"", "",
         "#2026-03-08#,\"6\",\"say \"hi\"\",\"clsTray\",\"Add\",\"TarnixIM "
         "v1.0.0\",\"\",\"pc\"\r\n"},
        {midnight + seconds{1}, "", "",
         "#2026-03-08 00:00:01#,\"6\",\"\",\"clsTray\",\"Add\",\"TarnixIM "
         "v1.0.0\",\"\",\"pc\"\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorlog::logLine(c.when, "6", c.description, "clsTray", "Add", c.user, "pc"),
                  c.line);
    }
}

TEST_F(ErrorLogTest, AppendingKeepsEarlierLinesAndFailsQuietlyWhereItCannotWrite) {
    const std::string path = dir_.file("log.txt");
    ASSERT_TRUE(errorlog::appendToFile(path, "one\r\n"));
    ASSERT_TRUE(errorlog::appendToFile(path, "two\r\n"));
    EXPECT_EQ(testsupport::readFile(path), "one\r\ntwo\r\n");
    const std::string readOnly = dir_.file("ro");
    ASSERT_EQ(::mkdir(readOnly.c_str(), 0500), 0);
    if (::geteuid() != 0) {
        EXPECT_FALSE(errorlog::appendToFile(readOnly + "/log.txt", "x"));
    }
    EXPECT_FALSE(errorlog::appendToFile(dir_.file("missing/log.txt"), "x"));
    // Only an ordinary file: a FIFO is not waited for, a device not written into.
    ASSERT_EQ(::mkfifo(dir_.file("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(errorlog::appendToFile(dir_.file("fifo"), "x"));
    EXPECT_FALSE(errorlog::appendToFile("/dev/null", "x"));
}

}  // namespace
