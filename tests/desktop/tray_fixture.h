#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "platform/files/paths.h"
#include "platform/ui/form.h"
#include "support/headless_test.h"

namespace desktoptest {

class frmHost : public win::Form {
  public:
    frmHost() : Form("frmHost") {}
};

// Headless backend, program folder in a fresh temporary folder, UTC local time, user "tester" on
// computer "box".
class DesktopTest : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        previousFolder_ = platform::programFolder();
        platform::setProgramFolder(dir_.path().string());
        environment_.emplace(std::initializer_list<std::pair<const char*, const char*>>{
            {"TZ", "UTC"}, {"USERNAME", "tester"}, {"COMPUTERNAME", "box"}});
        ::tzset();
    }
    void TearDown() override {
        platform::setProgramFolder(previousFolder_);
        environment_.reset();
        ::tzset();
        HeadlessTest::TearDown();
    }
    std::string logText() const { return testsupport::readFile(dir_.path() / "ErrorLog.txt"); }

    testsupport::TempDir dir_;

  private:
    std::string previousFolder_;
    std::optional<testsupport::ScopedEnvironment> environment_;
};

}  // namespace desktoptest
