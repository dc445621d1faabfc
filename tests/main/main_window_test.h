#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "main/shared_objects.h"
#include "platform/files/paths.h"
#include "platform/shell/instance.h"
#include "support/registry_test.h"

// Reaches the main window's private procedures from tests.
struct frmTarnixTestAccess {
    static void WriteFirstRunDefaults(frmTarnix& form) { form.WriteFirstRunDefaults(); }
    static void OpenSignInPage(frmTarnix& form) { form.OpenSignInPage(); }
    static void tmrRequestCheck_Timer(frmTarnix& form) { form.tmrRequestCheck_Timer(); }
    static int16_t GetFreeRequestSlot(frmTarnix& form) { return form.GetFreeRequestSlot(); }
    static int16_t iNewMailRepeat(const frmTarnix& form) { return form.iNewMailRepeat; }
    static const std::string& sLastContactOnline(const frmTarnix& form) {
        return form.sLastContactOnline;
    }
};

namespace testsupport {

// The main window in a fresh registry and a fresh program folder, every program-wide value at its
// start: each test writes the desktop settings file it needs, then loads the window.
class MainWindowTest : public RegistryTest {
  protected:
    static constexpr const char* kSettingsKey = "Software\\Pexar\\X6";

    void SetUp() override {
        RegistryTest::SetUp();
        platform::setProgramFolder(programDir_.path().string());
        ResetProgramValues();
    }
    void TearDown() override {
        platform::releaseInstanceLock();
        platform::setProgramFolder({});
        RegistryTest::TearDown();
    }

    std::string programFolder() const { return programDir_.path().string(); }
    std::filesystem::path iniFile() const {
        return std::filesystem::path(platform::programFolder()) / "PexarDeskTop.ini";
    }

    // A desktop settings file naming kSettingsKey, with the given Lang line (none when null).
    void writeIni(const char* lang = "1") {
        std::string text = "[StartDetails]\r\nREGADDRESS=" + std::string(kSettingsKey) + "\r\n";
        if (lang != nullptr) {
            text += "[Language]\r\nLang=" + std::string(lang) + "\r\n";
        }
        writeFile(iniFile(), text);
    }
    void setText(std::string_view subkey, const std::string& name, const std::string& data) {
        oRegistry().SaveSettingString(1, kSettingsKey + std::string(subkey), name, data);
    }
    void setNumber(const std::string& name, int32_t data) {
        oRegistry().SaveSettingLong(1, kSettingsKey, name, data);
    }
    int32_t number(std::string_view subkey, const std::string& name) {
        return oRegistry().GetSettingLong(1, kSettingsKey + std::string(subkey), name, -99);
    }

    // Trace lines of one area with their time stamps: "<ms> <detail>".
    std::vector<std::string> stamped(std::string_view area) {
        std::vector<std::string> result;
        const std::string marker = ' ' + std::string(area) + ' ';
        for (const auto& line : traceLines()) {
            const size_t at = line.find(marker);
            if (at != std::string::npos && line.find(' ') == at) {
                result.push_back(line.substr(0, at) + " " + line.substr(at + marker.size()));
            }
        }
        return result;
    }

    frmTarnix& load() {
        auto& form = win::Default<frmTarnix>();
        form.Show();
        return form;
    }

  private:
    TempDir programDir_;
};

}  // namespace testsupport
