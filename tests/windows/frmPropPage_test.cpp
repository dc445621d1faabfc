#include "windows/frmPropPage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/mOnTop.h"
#include "main/main_window_test.h"
#include "main/settings_layout.h"
#include "support/wave_bytes.h"
#include "windows/art/window_art.h"

namespace {

using Lines = std::vector<std::string>;
using settings::autostartData;
using settings::autostartName;
using settings::kRunKey;

// A registry trace line: a value set (type 4 a number, 1 a text of `bytes`) or deleted.
std::string written(const std::string& key, const std::string& value, int type = 4,
                    size_t bytes = 4) {
    std::string quoted;
    for (char c : "HKEY_CURRENT_USER\\" + key) {
        quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    const std::string line = "key=\"" + quoted + "\" value=\"" + value + "\"";
    return type == 0 ? "delete " + line
                     : "set " + line + " type=" + std::to_string(type) +
                           " bytes=" + std::to_string(bytes);
}

class OptionsWindow : public testsupport::MainWindowTest {
  protected:
    const std::string key = kSettingsKey;
    const std::string alerts = key + "\\Alerts";

    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("1");
        headless().setOnline(false);
        const auto logo = windowart::OptionsClose();
        testsupport::writeFile(logoFile(), std::string(logo.begin(), logo.end()));
        main_ = &load();
    }
    void TearDown() override {
        win::Unload(*main_);
        MainWindowTest::TearDown();
    }
    std::filesystem::path logoFile() const {
        return std::filesystem::path(programFolder()) / "ldata.x6c";
    }
    void storeSwitches(int32_t value) {
        setNumber("X6OnTop", value);
        setNumber("OnWindowsLoad", value);
        for (const char* name : {"ContactOnline", "ChatRequest", "NewMail"}) {
            oRegistry().SaveSettingLong(1, alerts, name, value);
        }
    }
    void setOnTop(bool on) { mOnTop::SetWindowOnTop(main_->hWnd(), platform::toBool16(on)); }
    std::string runSet() { return written(kRunKey, autostartName(), 1, autostartData().size()); }
    std::string runDelete() { return written(kRunKey, autostartName(), 0); }
    std::string runEntry() { return oRegistry().GetSettingString(1, kRunKey, autostartName()); }
    bool autostartEntry() const {
        return std::filesystem::exists(configDir() / "autostart" / (autostartName() + ".desktop"));
    }
    frmPropPage& options() {
        auto& form = win::Default<frmPropPage>();
        form.Load();
        return form;
    }

    frmTarnix* main_ = nullptr;
};

// A non-zero switch raises its handler at load, which stores it again (1 writes the autostart
// entry afresh, 2 deletes it); a number a box cannot hold shows unticked and raises nothing.
TEST_F(OptionsWindow, LoadingRaisesTheHandlerOfEachNonZeroSwitchOnce) {
    frmTarnixTestAccess::WriteFirstRunDefaults(*main_);
    const auto raised = [&](const std::string& autostart) {
        return Lines{written(key, "X6OnTop"),        autostart,
                     written(key, "OnWindowsLoad"),  written(alerts, "ContactOnline"),
                     written(alerts, "ChatRequest"), written(alerts, "NewMail")};
    };
    struct Case {
        int32_t stored;
        int16_t shown;
        Lines written;
        std::string runEntry;
    };
    for (const Case& c : {Case{1, 1, raised(runSet()), autostartData()}, Case{0, 0, {}, "old"},
                          Case{2, 2, raised(runDelete()), "Error"}, Case{3, 0, {}, "old"},
                          Case{-1, 0, {}, "old"}, Case{70000, 0, {}, "old"}}) {
        storeSwitches(c.stored);
        oRegistry().SaveSettingString(1, kRunKey, autostartName(), "old");
        setOnTop(c.written.empty());  // a handler that runs turns it on
        clearTrace();
        auto& form = options();
        EXPECT_EQ(traced("registry"), c.written) << c.stored;
        EXPECT_EQ(runEntry(), c.runEntry) << c.stored;
        EXPECT_TRUE(main_->TopMost()) << c.stored;
        const bool ignored = c.stored < 0 || c.stored > 2;
        const std::string line = "check-box-value-ignored stored=" + std::to_string(c.stored);
        EXPECT_EQ(traced("options"), ignored ? Lines(5, line) : Lines{}) << c.stored;
        for (win::CheckBox* box : {&form.chkGDAWOT, &form.chkGDRASUP, &form.chkAlertsOptions[0],
                                   &form.chkAlertsOptions[1], &form.chkAlertsOptions[2]}) {
            EXPECT_EQ(box->Value(), c.shown) << c.stored << " " << box->Name();
        }
        EXPECT_EQ(number("", "OnWindowsLoad"), c.stored);
        EXPECT_EQ(number("\\Alerts", "NewMail"), c.stored);
        form.Unload();
    }
}

TEST_F(OptionsWindow, ClickingASwitchStoresItAtOnce) {
    storeSwitches(1);
    auto& form = options();
    struct Step {
        win::CheckBox* box;
        Lines written;
        std::string runEntry;
        int32_t onWindowsLoad;
        bool onTop;
    };
    for (const Step& step :
         {Step{&form.chkGDRASUP, {runDelete(), written(key, "OnWindowsLoad")}, "Error", 0, true},
          Step{&form.chkGDRASUP,
               {runSet(), written(key, "OnWindowsLoad")},
               autostartData(),
               1,
               true},
          Step{&form.chkGDAWOT, {written(key, "X6OnTop")}, autostartData(), 1, false}}) {
        clearTrace();
        step.box->userClick();
        EXPECT_EQ(traced("registry"), step.written) << step.box->Name();
        EXPECT_EQ(runEntry(), step.runEntry);
        EXPECT_EQ(autostartEntry(), step.onWindowsLoad == 1);
        EXPECT_EQ(number("", "OnWindowsLoad"), step.onWindowsLoad);
        EXPECT_EQ(main_->TopMost(), step.onTop);
    }
    EXPECT_EQ(number("", "X6OnTop"), 0);
}

TEST_F(OptionsWindow, ExitingUnloadsTheOptionsWindowToo) {
    auto& form = options();
    main_->mnuSTExit.userClick();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_FALSE(bOptionsLoaded);
}

TEST_F(OptionsWindow, ATabShowsItsPageAndSelectsItsPictureAndAReloadStartsOnTheFirst) {
    auto& form = options();
    const int32_t selected = form.imgBTNUP.Picture().Handle();
    const int32_t unselected = form.imgBTNDOWN.Picture().Handle();
    ASSERT_NE(selected, unselected);
    for (int16_t shown : {1, 0, 2}) {
        for (win::Control* tab : std::initializer_list<win::Control*>{&form.lblPropOptions[shown],
                                                                      &form.imgPropBTN[shown]}) {
            form.imgPropBTN_Click(shown == 1 ? 2 : 1);  // from another page
            tab->userClick();
            for (int16_t page = 0; page <= 2; ++page) {
                EXPECT_EQ(form.picPropOptions[page].Visible(), page == shown) << shown << page;
                EXPECT_EQ(form.imgPropBTN[page].Picture().Handle(),
                          page == shown ? selected : unselected)
                    << shown << page;
            }
        }
    }
    form.imgControlBox.userClick();
    ASSERT_FALSE(form.IsLoaded());
    EXPECT_TRUE(options().picPropOptions[0].Visible());
    EXPECT_FALSE(form.picPropOptions[2].Visible());
    EXPECT_EQ(form.imgPropBTN[0].Picture().Handle(), form.imgBTNUP.Picture().Handle());
}

TEST_F(OptionsWindow, EachStoredAddressTokenBecomesALineBreak) {
    const std::string token = "\u00BF\u00A7\u00E6\u00A7\u00BF";
    for (const auto& [stored, shown] : std::initializer_list<std::pair<std::string, std::string>>{
             {"1 High St" + token + "Leeds", "1 High St\r\nLeeds"},
             {token + "a" + token + token + "b" + token, "\r\na\r\n\r\nb\r\n"},
             {"No \u00BF\u00A7 break", "No \u00BF\u00A7 break"}}) {
        setText("\\CompanyDetails", "Address", stored);
        EXPECT_EQ(options().txtCDAddress.Text(), shown);
        win::Default<frmPropPage>().Unload();
    }
}

// The browse button stores under the selected entry only; a cancel stores nothing, even after
// an earlier choice.
TEST_F(OptionsWindow, TheBrowseButtonStoresTheChosenFileUnderTheSelectedSound) {
    setText("\\Sounds", "ContactOnline", "C:\\ding.wav");
    auto& form = options();
    const std::string odd = "C:\\My \"Sounds\"\\a  b;$(rm -rf ~)&|`x`*'.wav";
    constexpr int16_t kBrowse = -2;
    struct Step {
        int16_t select;  // an entry, or kBrowse
        std::optional<std::string> answer;
        std::string shown;
        bool stored;
    };
    for (const Step& step :
         {Step{4, {}, "Error", false},  // GenAlert, never chosen
          Step{-1, {}, "Error", false}, Step{kBrowse, "C:\\first.wav", "C:\\first.wav", false},
          Step{1, {}, "C:\\ding.wav", false}, Step{kBrowse, std::nullopt, "C:\\ding.wav", false},
          Step{kBrowse, odd, odd, true}, Step{kBrowse, std::nullopt, odd, false},
          Step{4, {}, "Error", false}, Step{1, {}, odd, false}}) {
        clearTrace();
        if (step.select == kBrowse) {
            headless().queueDialogAnswer(step.answer);
            form.cmdSounds.userClick();
        } else {
            form.lbxSounds.setListIndex(step.select);
        }
        EXPECT_EQ(form.txtSounds.Text(), step.shown) << step.select;
        EXPECT_EQ(traced("registry"),
                  step.stored ? Lines{written(key + "\\Sounds", "ContactOnline", 1, odd.size())}
                              : Lines{})
            << step.select;
    }
    EXPECT_EQ(oRegistry().GetSettingString(1, key + "\\Sounds", "ContactOnline"), odd);
}

TEST_F(OptionsWindow, ThePlayButtonPlaysTheShownFileOnly) {
    auto& form = options();
    clearTrace();
    form.imgPlaySound.userClick();
    EXPECT_TRUE(traced("mci").empty()) << "nothing shown, nothing opened";
    const std::string file = programFolder() + "/a b.wav";
    testsupport::writeFile(file, testsupport::pcmWave(100));
    headless().queueDialogAnswer(file);
    form.cmdSounds.userClick();
    form.imgPlaySound.userClick();
    EXPECT_EQ(traced("sound"), Lines{"play path=\"" + file + "\" from=0 ms=100"});
}

TEST_F(OptionsWindow, TheLogoComesFromTheProgramFolderAndAMissingOneIsOnlyTraced) {
    storeSwitches(1);
    const std::vector<uint32_t> logo =
        win::LoadPictureFromBytes(windowart::OptionsClose()).pixels();
    EXPECT_EQ(options().imgCompanyLogo.Picture().pixels(), logo);
    win::Default<frmPropPage>().Unload();

    std::filesystem::remove(logoFile());
    clearTrace();
    auto& form = options();
    EXPECT_TRUE(form.imgCompanyLogo.Picture().pixels().empty());
    EXPECT_EQ(form.chkAlertsOptions[2].Value(), 1) << "the load went on";
    ASSERT_EQ(traced("options").size(), 1u);
    EXPECT_TRUE(traced("options")[0].starts_with("logo-failed file=\"" + programFolder() +
                                                 "\\\\ldata.x6c\" number=53 "));
}

// Only a loaded window is relabelled; a later load takes the chosen texts.
TEST_F(OptionsWindow, AChosenLanguageRelabelsTheOptionsWindowOnlyWhileItIsLoaded) {
    auto& form = win::Default<frmPropPage>();
    struct Step {
        bool load;
        int16_t language;  // 0: none chosen
        const char* soundsTab;
    };
    for (const Step& step : {Step{false, 2, nullptr}, Step{true, 3, "Töne und Alarme"},
                             Step{false, 2, nullptr}, Step{true, 0, "Bruits et alertes"}}) {
        step.load ? form.Load() : form.Unload();
        if (step.language != 0) {
            main_->mnuL_Lang_Click(step.language);
        }
        ASSERT_EQ(form.IsLoaded(), step.load) << step.language;
        if (step.load) {
            EXPECT_EQ(form.lblPropOptions[1].Caption(), step.soundsTab);
        }
    }
}

}  // namespace
