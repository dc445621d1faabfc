#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/files/paths.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "support/headless_test.h"

namespace desktoptest {

class frmHost : public win::Form {
  public:
    frmHost() : Form("frmHost") {}
    int moves = 0;
    float lastX = -1;

  protected:
    void Form_MouseMove(int16_t, int16_t, float X, float) override {
        ++moves;
        lastX = X;
    }
};

// Headless backend, program folder in a fresh temporary folder, UTC local time.
class DesktopTest : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        previousFolder_ = platform::programFolder();
        platform::setProgramFolder(dir_.path().string());
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override {
        platform::setProgramFolder(previousFolder_);
        HeadlessTest::TearDown();
    }
    std::string logText() const { return testsupport::readFile(dir_.path() / "ErrorLog.txt"); }

    testsupport::TempDir dir_;

  private:
    std::string previousFolder_;
};

}  // namespace desktoptest
