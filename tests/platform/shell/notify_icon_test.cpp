#include "platform/shell/notify_icon.h"

#include <gtest/gtest.h>

#include "platform/ui/form.h"
#include "platform/ui/tray.h"
#include "support/headless_test.h"

namespace {

class frmOwner : public win::Form {
  public:
    frmOwner() : Form("frmOwner") {}
};

win::NotifyIconRecord record(int32_t hWnd, uint32_t flags, const std::string& tip) {
    win::NotifyIconRecord bytes{};
    auto put = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    put(win::nid::cbSize, 488);
    put(win::nid::hWnd, static_cast<uint32_t>(hWnd));
    put(win::nid::uID, 1);
    put(win::nid::uFlags, flags);
    put(win::nid::uCallbackMessage, 0x200);
    put(win::nid::dwState, 0x41424344);  // right after the tip field
    for (size_t i = 0; i < tip.size() && i < win::nid::szTipWidth; ++i) {
        bytes[win::nid::szTip + i] = static_cast<uint8_t>(tip[i]);
    }
    return bytes;
}

class NotifyIconTest : public testsupport::HeadlessTest {};

TEST_F(NotifyIconTest, ATipWithoutTerminatorEndsAtItsFieldAndTextIsAnsi) {
    const int32_t hWnd = win::Default<frmOwner>().hWnd();
    EXPECT_EQ(win::Shell_NotifyIconA(win::NIM_ADD, record(hWnd, 7, std::string(200, 'x'))), 1);
    EXPECT_EQ(win::TrayIcons()[0].tip, std::string(128, 'x'));
    EXPECT_EQ(win::Shell_NotifyIconA(win::NIM_MODIFY, record(hWnd, 4, "caf\xE9")), 1);
    EXPECT_EQ(win::TrayIcons()[0].tip, "caf\xC3\xA9");
}

TEST_F(NotifyIconTest, TheShellRefusesWhatItCannotDo) {
    const int32_t hWnd = win::Default<frmOwner>().hWnd();
    auto badSize = record(hWnd, 7, "t");
    badSize[0] = 0xFC;  // cbSize 508
    badSize[1] = 0x01;
    struct Case {
        uint32_t message;
        win::NotifyIconRecord bytes;
        int32_t result;
        std::string traceStart;
    };
    const Case cases[] = {
        {win::NIM_MODIFY, record(hWnd, 7, "t"), 0, "modify "},  // not there yet
        {win::NIM_ADD, record(999, 7, "t"), 0, "add "},         // no such window
        {win::NIM_ADD, badSize, 0, "add cbSize=508 "},
        {win::NIM_ADD, record(hWnd, 7, "t"), 1, "add "},
        {win::NIM_ADD, record(hWnd, 7, "t"), 0, "add "},  // there already
        {9, record(hWnd, 7, "t"), 0,
         "unknown message=9 cbSize=488 hWnd=" + std::to_string(hWnd) + " uID=1 ok=0"},
        {win::NIM_DELETE, record(hWnd, 0, ""), 1, "delete "},
        {win::NIM_DELETE, record(hWnd, 0, ""), 0, "delete "},
    };
    for (const auto& c : cases) {
        clearTrace();
        EXPECT_EQ(win::Shell_NotifyIconA(c.message, c.bytes), c.result) << c.message;
        const auto lines = traced("tray");
        ASSERT_EQ(lines.size(), 1u) << c.message;
        EXPECT_TRUE(lines[0].starts_with(c.traceStart)) << lines[0];
        EXPECT_TRUE(lines[0].ends_with(c.result ? " ok=1" : " ok=0")) << lines[0];
    }
    EXPECT_EQ(win::TrayIcons().size(), 0u);
}

TEST_F(NotifyIconTest, MessagesToAnIconWhoseWindowIsGoneAreDropped) {
    auto& form = win::Default<frmOwner>();
    win::Shell_NotifyIconA(win::NIM_ADD, record(form.hWnd(), 7, "t"));
    form.Unload();
    ASSERT_EQ(win::TrayIcons().size(), 1u);
    win::SendTrayMessage(win::TrayIcons()[0], win::WM_RBUTTONDOWN);
    EXPECT_FALSE(form.IsLoaded());
}

}  // namespace
