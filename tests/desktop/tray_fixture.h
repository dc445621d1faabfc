#pragma once

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/paths.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "support/headless_test.h"

namespace desktoptest {

// Remembers environment variables and puts back their earlier values (or their absence).
class SavedEnvironment {
  public:
    explicit SavedEnvironment(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~SavedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }
    SavedEnvironment(const SavedEnvironment&) = delete;
    SavedEnvironment& operator=(const SavedEnvironment&) = delete;

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

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

// Headless backend, program folder in a fresh temporary folder, UTC local time, user "tester" on
// computer "box".
class DesktopTest : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        previousFolder_ = platform::programFolder();
        platform::setProgramFolder(dir_.path().string());
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ::setenv("USERNAME", "tester", 1);
        ::setenv("COMPUTERNAME", "box", 1);
    }
    void TearDown() override {
        platform::setProgramFolder(previousFolder_);
        restoreEnvironment_.reset();
        ::tzset();
        HeadlessTest::TearDown();
    }
    std::string logText() const { return testsupport::readFile(dir_.path() / "ErrorLog.txt"); }

    testsupport::TempDir dir_;

  private:
    std::string previousFolder_;
    std::optional<SavedEnvironment> restoreEnvironment_{std::in_place,
                                                        {"TZ", "USERNAME", "COMPUTERNAME"}};
};

}  // namespace desktoptest
