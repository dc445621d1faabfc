#include "platform/ui/controls.h"

#include <gtest/gtest.h>

#include "platform/runtime/errors.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using testsupport::HeadlessTest;

class frmControls : public win::Form {
  public:
    frmControls() : Form("frmControls") {
        chkOption.onClick = [this] { clicks.push_back("chkOption"); };
        chkRow.onClick = [this](int16_t Index) {
            clicks.push_back("chkRow(" + std::to_string(Index) + ")");
        };
        lbxItems.onClick = [this] { clicks.push_back("lbxItems " + lbxItems.Text()); };
        mnuExit.onClick = [this] { clicks.push_back("mnuExit"); };
    }

    win::CheckBox chkOption{this, "chkOption"};
    win::ControlArray<win::CheckBox> chkRow{
        this, "chkRow", {{0, {.Left = 10, .Caption = "row"}}, {1, {.Left = 20}}}};
    win::ControlArray<win::Label> lblLine{this, "lblLine", {{0, {.Top = 120, .Width = 45}}}};
    win::ListBox lbxItems{this, "lbxItems", {.List = {"a", "b"}}};
    win::ProgressBar pbBar{this, "pbBar", {.Max = 50}};
    win::Menu mnuTray{this, "mnuTray", {.Caption = "Tray", .Visible = false}};
    win::Menu mnuExit{this, "mnuExit", {.Container = &mnuTray, .Caption = "Exit"}};

    std::vector<std::string> clicks;
};

class ControlsTest : public HeadlessTest {};

// Click comes only with a change of value; a user's click toggles the box; an array's handler
// gets the element's index.
TEST_F(ControlsTest, ACheckBoxRaisesClickOnlyWhenItsValueChanges) {
    auto& form = win::Default<frmControls>();
    for (const auto& [value, clicked] : {std::pair<int16_t, bool>{0, false},
                                         {1, true},
                                         {1, false},
                                         {2, true},
                                         {0, true},
                                         {0, false}}) {
        form.clicks.clear();
        form.chkOption.setValue(value);
        EXPECT_EQ(form.clicks.size(), clicked ? 1u : 0u) << "value " << value;
    }
    EXPECT_EQ(testsupport::errorNumberOf([&] { form.chkOption.setValue(3); }), 380);
    form.clicks.clear();
    form.chkRow[1].userClick();
    form.chkRow[1].setValue(1);  // no change: no click
    form.chkRow[1].userClick();
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"chkRow(1)", "chkRow(1)"}));
    EXPECT_EQ(form.chkRow[1].Value(), 0);
}

TEST_F(ControlsTest, ControlArrayElementsAreLoadedAndUnloadedAtRunTime) {
    auto& form = win::Default<frmControls>();
    form.lblLine[0].setCaption("first");
    form.lblLine.Load(1);
    auto& line = form.lblLine[1];
    // A new element copies the lowest one, hidden.
    EXPECT_EQ(line.Caption(), "first");
    EXPECT_EQ(line.Top(), 120);
    EXPECT_FALSE(line.Visible());
    EXPECT_EQ(line.Index(), 1);
    EXPECT_EQ(form.lblLine.UBound(), 1);
    EXPECT_EQ(form.lblLine.Count(), 2);

    EXPECT_EQ(testsupport::errorNumberOf([&] { form.lblLine.Load(1); }), 360);
    EXPECT_EQ(testsupport::errorNumberOf([&] { form.lblLine.Unload(0); }), 362);
    EXPECT_EQ(testsupport::errorNumberOf([&] { form.lblLine.Unload(5); }), 340);
    EXPECT_EQ(testsupport::errorNumberOf([&] { form.lblLine[5]; }), 340);

    form.lblLine.Unload(1);
    EXPECT_FALSE(form.lblLine.Exists(1));
    form.lblLine.Load(2);
    form.Unload();
    // Run-time elements go with the form; design elements come back with their design.
    EXPECT_EQ(form.lblLine.Count(), 1);
    EXPECT_EQ(form.lblLine[0].Caption(), "");
}

TEST_F(ControlsTest, AListBoxKeepsItsEntriesAndSelection) {
    auto& form = win::Default<frmControls>();
    auto& list = form.lbxItems;
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.ListIndex(), -1);
    list.AddItem("c");
    list.setListIndex(2);
    list.AddItem("first", 0);
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_EQ(list.List(0), "first");
    EXPECT_EQ(list.List(3), "c");
    EXPECT_EQ(testsupport::errorNumberOf([&] { list.List(-1); }), 381);
    EXPECT_EQ(testsupport::errorNumberOf([&] { list.setListIndex(4); }), 380);
    list.setListIndex(3);  // unchanged: no click
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"lbxItems c"}));
}

TEST_F(ControlsTest, AProgressBarHoldsAFloatWithinItsRange) {
    auto& bar = win::Default<frmControls>().pbBar;
    bar.setValue(44.5f);
    EXPECT_EQ(bar.Value(), 44.5f);
    EXPECT_EQ(testsupport::errorNumberOf([&] { bar.setValue(50.5f); }), 380);
    EXPECT_EQ(testsupport::errorNumberOf([&] { bar.setValue(-1); }), 380);
    EXPECT_EQ(bar.Value(), 44.5f);
}

TEST_F(ControlsTest, AMenuItemIsChosenOnlyFromAnOpenMenuAndWhenEnabled) {
    auto& form = win::Default<frmControls>();
    form.Show();
    headless().loadScript(
        "0 menu frmControls mnuExit\n"
        "10 menu frmControls mnuExit\n"
        "20 menu frmControls mnuExit\n");
    win::DoEvents();  // not open: ignored
    form.PopupMenu(form.mnuTray);
    clock().advance(10);
    win::DoEvents();
    form.mnuExit.setEnabled(false);
    form.PopupMenu(form.mnuTray);
    clock().advance(10);
    win::DoEvents();
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"mnuExit"}));
    EXPECT_EQ(traced("menu"), (std::vector<std::string>{
                                  R"(open hwnd=1 form=frmControls menu=mnuTray items="Exit")",
                                  R"(open hwnd=1 form=frmControls menu=mnuTray items="~Exit")"}));
}

}  // namespace
