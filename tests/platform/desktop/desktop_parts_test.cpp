#include <gtest/gtest.h>

#include "platform/desktop/desktop_dialogs.h"
#include "platform/desktop/toolkit_text.h"

namespace {

using namespace platform;

TEST(ToolkitText, AccessKeysAndUnderscoresBecomeTheToolkits) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Options", "_Options"},
        {"Fish && Chips", "Fish & Chips"},
        {"snake_case", "snake__case"},
        {"E&xit", "E_xit"},
        {"plain", "plain"},
    };
    for (const auto& [caption, shown] : cases) {
        EXPECT_EQ(mnemonicText(caption), shown) << caption;
    }
}

TEST(ToolkitText, BrokenUtf8IsMadeValidAndValidTextKept) {
    EXPECT_EQ(toolkitText("Gr\xC3\xBC\xC3\x9F"
                          "e"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(toolkitText("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(MessageBoxButtons, EachStyleHasItsButtonsAndItsWayOut) {
    struct Case {
        int style;
        std::vector<int> answers;
        int closeAnswer;
    };
    const Case cases[] = {
        {0, {1}, 1},    {1, {1, 2}, 2}, {2, {3, 4, 5}, 0},   {3, {6, 7, 2}, 2},
        {4, {6, 7}, 0}, {5, {4, 2}, 2}, {4 + 32, {6, 7}, 0}, {1 + 256, {1, 2}, 2},
    };
    for (const Case& each : cases) {
        std::vector<int> answers;
        for (const BoxButton& button : boxButtons(each.style)) {
            answers.push_back(button.answer);
        }
        EXPECT_EQ(answers, each.answers) << each.style;
        EXPECT_EQ(boxCloseAnswer(each.style), each.closeAnswer) << each.style;
    }
}

}  // namespace
