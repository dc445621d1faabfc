#include "main/mLang_setLanguage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/mLang_textTable.h"
#include "main_window_test.h"

namespace {

using testsupport::MainWindowTest;
using testsupport::readFile;

class LanguageMenu : public MainWindowTest {
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

// Slots, captions and file are spoiled before each choice, so even the ticked language (3) is
// seen to load, relabel and save again.
TEST_F(LanguageMenu, ChoosingAnItemTicksOnlyItLoadsRelabelsAndSaves) {
    struct Case {
        int16_t index;
        const char* appTitle;
        const char* exitCaption;
        const char* frenchItem;  // how the language names French in the menu
    };
    auto& form = load();
    ASSERT_EQ(ticked(form), std::vector<int16_t>{3});
    for (const Case& c : {Case{3, "Instant Messenger", "Ausgang", "French"},
                          Case{1, "Instant Messenger", "Exit", "French"},
                          Case{2, "Messager instantané", "Sortie", "Français"},
                          Case{4, "Messaggero istante", "Uscita", "Francese"},
                          Case{5, "Mensajero inmediato", "Salida", "Francés"},
                          Case{6, "Chatt meddelande", "Avsluta", "Franska"}}) {
        testsupport::writeFile(iniFile(), savedFile(0));
        mLang::sTxtTrayExit = "x-slot";
        mLang::sTxtAppTitle = "x-slot";
        form.mnuSTExit.setCaption("x-caption");
        form.mnuL_Lang[2].setCaption("x-caption");
        form.setCaption("x-caption");

        form.mnuL_Lang[c.index].userClick();
        EXPECT_EQ(ticked(form), std::vector<int16_t>{c.index});
        EXPECT_EQ(mLang::sTxtAppTitle, c.appTitle) << c.index;
        EXPECT_EQ(form.Caption(), c.appTitle) << c.index;
        EXPECT_EQ(mLang::sTxtTrayExit, c.exitCaption) << c.index;
        EXPECT_EQ(form.mnuSTExit.Caption(), c.exitCaption) << c.index;
        EXPECT_EQ(form.mnuL_Lang[2].Caption(), c.frenchItem) << c.index;
        EXPECT_EQ(readFile(iniFile()), savedFile(c.index));
    }
    EXPECT_EQ(iLang, 3) << "the index read at start stays";
    // An index without an item ticks nothing and loads nothing, but is saved.
    form.mnuL_Lang_Click(9);
    EXPECT_TRUE(ticked(form).empty());
    EXPECT_EQ(form.mnuSTExit.Caption(), "Avsluta");
    EXPECT_EQ(readFile(iniFile()), savedFile(9));
}

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

}  // namespace
