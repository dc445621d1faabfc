#include "platform/headless/headless_backend.h"

#include <gtest/gtest.h>

#include "platform/ui/msgbox.h"
#include "support/headless_test.h"

namespace {

using testsupport::HeadlessTest;

class HeadlessBackendTest : public HeadlessTest {};

TEST_F(HeadlessBackendTest, MessageBoxIsTracedWithClockAndAnsweredOk) {
    clock().advance(1500);
    EXPECT_EQ(win::MsgBox("a \"b\"\r\nc", win::vbCritical, "Title"), win::vbOK);
    ASSERT_EQ(headless().traceLines().size(), 1u);
    EXPECT_EQ(headless().traceLines()[0],
              R"(1500 msgbox style=16 title="Title" text="a \"b\"\r\nc" answer=1)");
}

TEST_F(HeadlessBackendTest, MessageBoxWithoutTitleShowsTheApplicationTitle) {
    win::MsgBox("x");
    EXPECT_EQ(traced("msgbox"),
              (std::vector<std::string>{R"(style=0 title="TarnixIM" text="x" answer=1)"}));
}

TEST_F(HeadlessBackendTest, QueuedAnswersAreUsedInOrder) {
    headless().queueMessageBoxAnswer(win::vbNo);
    EXPECT_EQ(win::MsgBox("q", win::vbYesNo), win::vbNo);
    EXPECT_EQ(win::MsgBox("q", win::vbYesNo), win::vbOK);
}

TEST(HeadlessTraceFile, AppendsLinesToTheConfiguredFile) {
    testsupport::TempDir dir;
    platform::HeadlessConfig config;
    config.traceTarget = dir.file("trace.log");
    config.virtualClock = true;
    {
        platform::HeadlessBackend backend(config);
        backend.trace("area", "one");
        backend.virtualClock()->advance(7);
        backend.trace("area", "");
    }
    EXPECT_EQ(testsupport::readFile(dir.file("trace.log")), "0 area one\n7 area\n");
}

}  // namespace
