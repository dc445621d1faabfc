#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "main_window_test.h"
#include "platform/ui/loop.h"

namespace {

using testsupport::readFile;
using testsupport::writeFile;

class DesktopSettings : public testsupport::MainWindowTest {};

// Each file is read by a fresh load of the window; the index is rounded half to even, a bad one
// (out of 1..6, beyond 16 bits, or too large to read) means English, and the index applied is
// ticked and saved.
TEST_F(DesktopSettings, TheSavedLanguageIsReadRoundedAppliedAndSavedBack) {
    const std::string start = "[StartDetails]\r\nREGADDRESS=Software\\Pexar\\X6\r\n";
    struct Case {
        std::optional<std::string> lang;  // the Lang value; none: no file at all
        int16_t language;
        const char* exitCaption;
    };
    for (const Case& c :
         {Case{"0", 1, "Exit"}, Case{"2.5", 2, "Sortie"}, Case{"3.5", 4, "Uscita"},
          Case{"6", 6, "Avsluta"}, Case{"7", 1, "Exit"}, Case{"-2", 1, "Exit"},
          Case{"99999", 1, "Exit"}, Case{"1e999", 1, "Exit"}, Case{"&H1FFFFFFFF", 1, "Exit"},
          Case{"&H3", 3, "Ausgang"}, Case{std::nullopt, 1, "Exit"}}) {
        const std::string lang = c.lang.value_or("no file");
        std::filesystem::remove(iniFile());
        if (c.lang) {
            writeFile(iniFile(), start + "[Language]\r\nLang=" + *c.lang + "\r\n");
        }
        auto& form = load();
        EXPECT_EQ(iLang, c.language) << lang;
        for (int16_t i = 1; i <= 6; ++i) {
            EXPECT_EQ(form.mnuL_Lang[i].Checked(), i == c.language) << lang << " item " << i;
        }
        EXPECT_EQ(form.mnuSTExit.Caption(), c.exitCaption) << lang;
        // The section is replaced or added; the rest of the file stays.
        EXPECT_EQ(readFile(iniFile()), (c.lang ? start : "") + "[Language]\r\nLANG=" +
                                           std::to_string(c.language) + "\r\n")
            << lang;
        EXPECT_EQ(sRegAddress, c.lang ? "Software\\Pexar\\X6" : "") << lang;
        form.Unload();
    }
}

TEST_F(DesktopSettings, MissingSiteAddressAndTooltipShowError) {
    writeIni("1");
    headless().setOnline(false);
    auto& form = load();
    win::RunUntil(1000);

    EXPECT_EQ(form.lblTitle.Caption(), "Error");
    EXPECT_EQ(traced("balloon"), (std::vector<std::string>{"hwnd=1 id=1 title=\"Error\" "
                                                           "text=\"Checking Internet "
                                                           "Connection.\" flags=0"}));
    ASSERT_FALSE(traced("tray").empty());
    EXPECT_NE(traced("tray")[0].find(" szTip=\"Error\" "), std::string::npos) << traced("tray")[0];
}

// Only the lower-case scheme is dropped, wherever it stands.
TEST_F(DesktopSettings, TheSiteTitleDropsEveryLowerCaseHttpScheme) {
    writeIni("1");
    for (const auto& [domain, title] :
         {std::pair{"http://chat.example.com", "chat.example.com"},
          std::pair{"HTTP://chat.example.com", "HTTP://chat.example.com"},
          std::pair{"https://chat.example.com", "https://chat.example.com"},
          std::pair{"http://a.example/http://b", "a.example/b"}}) {
        setText("\\DAPLinks", "X6Domain", domain);
        auto& form = load();
        EXPECT_EQ(form.lblTitle.Caption(), title);
        form.Unload();
    }
}

}  // namespace
