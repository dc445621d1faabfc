#include "main/set_language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/text_table.h"
#include "main_window_test.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;

struct LanguageCase {
    int16_t index;
    const char* appTitle;
    const char* exitCaption;
    const char* frenchItem;  // how the language names French in the menu
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << "index " << c.index;
}

class LanguageMenu : public MainWindowTest, public ::testing::WithParamInterface<LanguageCase> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeIni("3");
    }
    std::vector<int16_t> ticked(frmTarnix& form) {
        std::vector<int16_t> items;
        for (int16_t i = 1; i <= 6; ++i) {
            if (form.mnuL_Lang[i].Checked()) {
                items.push_back(i);
            }
        }
        return items;
    }
    std::string savedFile(int16_t index) {
        return "[StartDetails]\r\nREGADDRESS=Software\\Pexar\\X6\r\n[Language]\r\nLANG=" +
               std::to_string(index) + "\r\n";
    }
};

// Slots, captions and file are spoiled first, so even the ticked language (3) is seen to load,
// relabel and save again.
TEST_P(LanguageMenu, ChoosingAnItemTicksOnlyItLoadsRelabelsAndSaves) {
    const auto& param = GetParam();
    auto& form = load();
    ASSERT_EQ(ticked(form), std::vector<int16_t>{3});
    testsupport::writeFile(iniFile(), savedFile(0));
    mLang::sTxtTrayExit = "x-slot";
    mLang::sTxtAppTitle = "x-slot";
    form.mnuSTExit.setCaption("x-caption");
    form.mnuL_Lang[2].setCaption("x-caption");
    form.setCaption("x-caption");

    form.mnuL_Lang[param.index].userClick();
    EXPECT_EQ(ticked(form), std::vector<int16_t>{param.index});
    EXPECT_EQ(mLang::sTxtAppTitle, param.appTitle);
    EXPECT_EQ(form.Caption(), param.appTitle);
    EXPECT_EQ(mLang::sTxtTrayExit, param.exitCaption);
    EXPECT_EQ(form.mnuSTExit.Caption(), param.exitCaption);
    EXPECT_EQ(form.mnuL_Lang[2].Caption(), param.frenchItem);
    EXPECT_EQ(readFile(iniFile()), savedFile(param.index));
    EXPECT_EQ(iLang, 3) << "the index read at start stays";
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LanguageMenu,
    ::testing::Values(LanguageCase{1, "Instant Messenger", "Exit", "French"},
                      LanguageCase{2, "Messager instantané", "Sortie", "Français"},
                      LanguageCase{3, "Instant Messenger", "Ausgang", "French"},
                      LanguageCase{4, "Messaggero istante", "Uscita", "Francese"},
                      LanguageCase{5, "Mensajero inmediato", "Salida", "Francés"},
                      LanguageCase{6, "Chatt meddelande", "Avsluta", "Franska"}));

TEST_F(LanguageMenu, EveryMenuItemButTheSeparatorsIsRelabelled) {
    auto& form = load();
    mLang::sTxtTrayMinimize = "x-min";
    mLang::sTxtAppTitle = "x-title";
    mLang::SetLanguage(0);  // runs no loader: the slots are used as they stand

    EXPECT_EQ(form.Caption(), "x-title");
    EXPECT_EQ(form.mnuSTMin.Caption(), "x-min");
    EXPECT_EQ(form.mnuSep1.Caption(), "-");
    EXPECT_EQ(form.mnuSep2.Caption(), "-");
    EXPECT_EQ(form.mnuSysTray.Caption(), "SysTray-PopUp");
}

TEST_F(LanguageMenu, AnIndexWithoutAnItemTicksNothingAndIsSaved) {
    auto& form = load();
    const std::string exitCaption = form.mnuSTExit.Caption();
    form.mnuL_Lang_Click(9);
    EXPECT_TRUE(ticked(form).empty());
    EXPECT_EQ(form.mnuSTExit.Caption(), exitCaption);
    EXPECT_EQ(readFile(iniFile()), savedFile(9));
}

}  // namespace
