#include "desktop/clsSysTray.h"

#include <gtest/gtest.h>

#include "desktop/tray_fixture.h"
#include "platform/ui/tray.h"

namespace {

using desktoptest::frmHost;

class SysTrayTest : public desktoptest::DesktopTest {};

// Each text field holds the text, a NUL and blanks, or is cut at its width without a NUL.
TEST_F(SysTrayTest, TextFieldsKeepTheirTerminatorOnlyWhenTheyFit) {
    struct Case {
        size_t at, width, length;
    };
    for (const Case& c : {Case{win::nid::szTip, 128, 127}, Case{win::nid::szTip, 128, 300},
                          Case{win::nid::szInfo, 256, 256}, Case{win::nid::szInfoTitle, 64, 63},
                          Case{win::nid::szInfoTitle, 64, 64}}) {
        clsSysTray tray;
        auto& form = win::Default<frmHost>();
        const std::string text(c.length, 'a');
        if (c.at == win::nid::szTip) {
            tray.Add(&form, "missing.ico", text);
        } else {
            tray.Balloon(&form, c.at == win::nid::szInfo ? text : "b", text);
        }
        const std::string stored(reinterpret_cast<const char*>(tray.RecordBytes().data() + c.at),
                                 c.width);
        const std::string expected = c.length < c.width
                                         ? text + '\0' + std::string(c.width - c.length - 1, ' ')
                                         : std::string(c.width, 'a');
        EXPECT_EQ(stored, expected) << c.at << " " << c.length;
    }
}

// Remove before anything sends the all-zero record, which the shell refuses without a report; Add
// sends the whole record; a balloon leaves the tip and icon alone and defaults its flags to zero.
TEST_F(SysTrayTest, EachOperationSendsItsRecord) {
    clsSysTray tray;
    auto& form = win::Default<frmHost>();
    tray.Remove();
    tray.Add(&form, dir_.file("missing.ico"), "Tarnix \"tip\"", 5);
    tray.Balloon(&form, "Checking Internet Connection.", "example.com");
    EXPECT_EQ(
        traced("tray"),
        (std::vector<std::string>{
            R"(delete cbSize=0 hWnd=0 uID=0 uFlags=0 uCallbackMessage=0 hIcon=0 szTip="" dwState=0 dwStateMask=0 szInfo="" uTimeout=0 szInfoTitle="" dwInfoFlags=0 ok=0)",
            R"(add cbSize=488 hWnd=1 uID=1 uFlags=7 uCallbackMessage=512 hIcon=0 szTip="Tarnix \"tip\"" dwState=0 dwStateMask=0 szInfo="" uTimeout=0 szInfoTitle="" dwInfoFlags=0 ok=1)",
            R"(modify cbSize=488 hWnd=1 uID=1 uFlags=16 uCallbackMessage=512 hIcon=0 szTip="Tarnix \"tip\"" dwState=0 dwStateMask=0 szInfo="Checking Internet Connection." uTimeout=0 szInfoTitle="example.com" dwInfoFlags=0 ok=1)"}));
    ASSERT_EQ(win::TrayIcons().size(), 1u);
    EXPECT_EQ(win::TrayIcons()[0].tip, "Tarnix \"tip\"");
    EXPECT_TRUE(traced("msgbox").empty());
}

TEST_F(SysTrayTest, MouseTrayEventDecodesXInTwipsAndPixelScaleModes) {
    clsSysTray tray;
    auto& form = win::Default<frmHost>();
    struct Case {
        float twipsPerPixel;
        int16_t scaleMode;
        int32_t x;
        bool result;
    };
    for (const Case& c :
         {Case{15, win::vbTwips, 7740, true}, Case{15, win::vbTwips, 0x201 * 15, false},
          Case{15, win::vbTwips, 7747, true}, Case{15, win::vbTwips, 7733, true},
          Case{15, win::vbTwips, 7732, false},
          // Halves go to the even neighbour: 516.5 and 515.5 give 516, 517.5 gives 518.
          Case{12, win::vbTwips, 6198, true}, Case{12, win::vbTwips, 6186, true},
          Case{12, win::vbTwips, 6210, false}, Case{15, win::vbPixels, 516, true},
          Case{15, win::vbPixels, 7740, false}}) {
        auto screen = headless().screen();
        screen.twipsPerPixelX = c.twipsPerPixel;
        headless().setScreen(screen);
        form.setScaleMode(c.scaleMode);
        clearTrace();
        EXPECT_EQ(tray.MouseTrayEvent(&form, c.x, 0x204), c.result)
            << c.twipsPerPixel << " " << c.scaleMode << " " << c.x;
        EXPECT_EQ(traced("window").size(), c.result ? 1u : 0u);
    }
}

// Each operation shows its own failure and logs it; the first box and log line in full.
TEST_F(SysTrayTest, EveryOperationTrapsItsOwnFailure) {
    clsSysTray tray;
    tray.Balloon(nullptr, "text", "title");
    tray.Add(nullptr, "x.ico", "tip");
    tray.ToolTip(nullptr, "tip");
    tray.ChangeIcon(nullptr, "x.ico");
    EXPECT_FALSE(tray.MouseTrayEvent(nullptr, 7740, 516));
    const auto boxes = traced("msgbox");
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(
        boxes[0],
        R"(style=16 title="TarnixIM - ERROR" text="Error occured: 91\r\nDescription: Object variable or With block variable not set\r\nModule: clsTray\r\nFunction: Balloon" answer=1)");
    const std::string log = logText();
    EXPECT_TRUE(
        log.starts_with("#2026-01-02 03:04:05#,\"91\",\"Object variable or With block "
                        "variable not set\",\"clsTray\",\"Balloon\",\"TarnixIM "
                        "v1.0.0\",\"tester\",\"box\"\r\n"))
        << log;
    for (const char* function : {"Add", "ToolTip", "ChangeIcon", "MouseTrayEvent"}) {
        EXPECT_NE(log.find(std::string("\"clsTray\",\"") + function + "\""), std::string::npos)
            << function;
    }
    EXPECT_TRUE(traced("tray").empty());
}

TEST_F(SysTrayTest, AnIconFileIsLoadedOnlyWhenItIsAnIcon) {
    // One 16 x 16, 32-bit image: directory, entry, then a bitmap header.
    std::string ico("\0\0\1\0\1\0", 6);
    ico += std::string("\x10\x10\0\0\1\0\x20\0", 8);
    ico += std::string("\x28\0\0\0\x16\0\0\0", 8);  // 40 bytes at offset 22
    ico += std::string("\x28\0\0\0", 4) + std::string(36, '\0');
    testsupport::writeFile(dir_.file("idata.x6c"), ico);
    testsupport::writeFile(dir_.file("text.ico"), "not an icon at all");
    testsupport::writeFile(dir_.file("cut.ico"), ico.substr(0, 30));
    struct Case {
        std::string file;
        bool loaded;
    };
    for (const Case& c : {Case{"idata.x6c", true}, Case{"text.ico", false}, Case{"cut.ico", false},
                          Case{"missing.ico", false}, Case{"", false}}) {
        clsSysTray tray;
        auto& form = win::Default<frmHost>();
        tray.Add(&form, platform::programFolder() + "\\" + c.file, "tip");
        const int32_t icon = win::TrayIcons().back().hIcon;
        EXPECT_EQ(icon != 0, c.loaded) << c.file;
        tray.Remove();
        EXPECT_TRUE(win::TrayIcons().empty());
        tray.Remove();  // again: refused by the shell, not reported
    }
    EXPECT_TRUE(traced("msgbox").empty()) << testing::PrintToString(traced("msgbox"));
}

}  // namespace
