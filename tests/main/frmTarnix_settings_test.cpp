#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "main_window_test.h"
#include "platform/ui/loop.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;
using testsupport::writeFile;

class DesktopSettings : public MainWindowTest {};

struct LangCase {
    const char* name;
    std::optional<std::string> fileText;  // the whole file; none: no file at all
    int16_t language;                     // the index applied, ticked and saved
    const char* exitCaption;
};

void PrintTo(const LangCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr const char* kStart = "[StartDetails]\r\nREGADDRESS=Software\\Pexar\\X6\r\n";

std::string withLang(const std::string& value) {
    return std::string(kStart) + "[Language]\r\nLang=" + value + "\r\n";
}

class SavedLanguage : public DesktopSettings, public ::testing::WithParamInterface<LangCase> {};

TEST_P(SavedLanguage, IsReadRoundedAppliedAndSavedBack) {
    const auto& param = GetParam();
    if (param.fileText) {
        writeFile(iniFile(), *param.fileText);
    }
    auto& form = load();

    EXPECT_EQ(iLang, param.language);
    for (int16_t i = 1; i <= 6; ++i) {
        EXPECT_EQ(form.mnuL_Lang[i].Checked(), i == param.language) << "item " << i;
    }
    EXPECT_EQ(form.mnuSTExit.Caption(), param.exitCaption);
    // The section is replaced or added; the rest of the file stays.
    const std::string kept = param.fileText.value_or("");
    EXPECT_EQ(readFile(iniFile()), kept.substr(0, kept.find("[Language]")) + "[Language]\r\nLANG=" +
                                       std::to_string(param.language) + "\r\n");
    if (!param.fileText) {
        EXPECT_EQ(sRegAddress, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SavedLanguage,
                         ::testing::Values(LangCase{"Zero", withLang("0"), 1, "Exit"},
                                           LangCase{"HalfDownToEven", withLang("2.5"), 2, "Sortie"},
                                           LangCase{"HalfUpToEven", withLang("3.5"), 4, "Uscita"},
                                           LangCase{"Swedish", withLang("6"), 6, "Avsluta"},
                                           LangCase{"AboveSix", withLang("7"), 1, "Exit"},
                                           LangCase{"Negative", withLang("-2"), 1, "Exit"},
                                           LangCase{"Beyond16Bits", withLang("99999"), 1, "Exit"},
                                           LangCase{"Hexadecimal", withLang("&H3"), 3, "Ausgang"},
                                           LangCase{"NoFile", std::nullopt, 1, "Exit"},
                                           LangCase{"NoKeys", std::string("[Other]\r\nA=1\r\n"), 1,
                                                    "Exit"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopSettings, MissingSiteAddressAndTooltipShowError) {
    writeIni("1");
    headless().setOnline(false);
    auto& form = load();
    win::RunUntil(1000);

    EXPECT_EQ(form.lblTitle.Caption(), "Error");
    ASSERT_EQ(traced("balloon").size(), 1u);
    EXPECT_EQ(traced("balloon")[0],
              "hwnd=1 id=1 title=\"Error\" text=\"Checking Internet Connection.\" flags=0");
    ASSERT_FALSE(traced("tray").empty());
    EXPECT_NE(traced("tray")[0].find(" szTip=\"Error\" "), std::string::npos) << traced("tray")[0];
}

struct TitleCase {
    const char* domain;
    const char* title;
};

class SiteTitle : public DesktopSettings, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(SiteTitle, DropsEveryLowerCaseHttpScheme) {
    writeIni("1");
    setText("\\DAPLinks", "X6Domain", GetParam().domain);
    EXPECT_EQ(load().lblTitle.Caption(), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Domains, SiteTitle,
    ::testing::Values(TitleCase{"http://chat.example.com", "chat.example.com"},
                      TitleCase{"HTTP://chat.example.com", "HTTP://chat.example.com"},
                      TitleCase{"https://chat.example.com", "https://chat.example.com"},
                      TitleCase{"http://a.example/http://b", "a.example/b"}));

}  // namespace
