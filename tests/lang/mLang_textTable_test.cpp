#include "lang/mLang_textTable.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace mLang;

struct Named {
    const char* name;
    std::string* text;
};

// clang-format off
#define NAMED(slot) Named{#slot, &slot}
// clang-format on

// Every slot by its name.
const std::vector<Named>& slots() {
    static const std::vector<Named> all = {NAMED(sTxtCheckInternet),
                                           NAMED(sTxtChecksDone),
                                           NAMED(sTxtPopupChatRequest),
                                           NAMED(sTxtPopupNewMail),
                                           NAMED(sTxtPopupContactOnline),
                                           NAMED(sTxtAppTitle),
                                           NAMED(sTxtOptTitle),
                                           NAMED(sTxtOptTabGeneral),
                                           NAMED(sTxtOptSignIn),
                                           NAMED(sTxtOptRunAtStartup),
                                           NAMED(sTxtOptAlwaysOnTop),
                                           NAMED(sTxtOptTabSounds),
                                           NAMED(sTxtOptAlertsHeading),
                                           NAMED(sTxtOptAlertContactOnline),
                                           NAMED(sTxtOptAlertChatRequest),
                                           NAMED(sTxtOptAlertNewMail),
                                           NAMED(sTxtOptAlertsTip),
                                           NAMED(sTxtOptSoundsHeading),
                                           NAMED(sTxtSoundLogin),
                                           NAMED(sTxtSoundContactOnline),
                                           NAMED(sTxtSoundChatRequest),
                                           NAMED(sTxtSoundNewMail),
                                           NAMED(sTxtSoundGenAlert),
                                           NAMED(sTxtSoundListTip),
                                           NAMED(sTxtSoundFileTip),
                                           NAMED(sTxtSoundBrowseTip),
                                           NAMED(sTxtSoundPlayTip),
                                           NAMED(sTxtOptTabCompany),
                                           NAMED(sTxtCompanyNameLabel),
                                           NAMED(sTxtCompanyNameTip),
                                           NAMED(sTxtCompanyAddressLabel),
                                           NAMED(sTxtCompanyAddressTip),
                                           NAMED(sTxtTrayMinimize),
                                           NAMED(sTxtTrayShow),
                                           NAMED(sTxtTrayOptions),
                                           NAMED(sTxtTrayLanguage),
                                           NAMED(sTxtLangEnglish),
                                           NAMED(sTxtLangFrench),
                                           NAMED(sTxtLangGerman),
                                           NAMED(sTxtLangItalian),
                                           NAMED(sTxtLangSpanish),
                                           NAMED(sTxtLangSwedish),
                                           NAMED(sTxtTrayAbout),
                                           NAMED(sTxtTrayExit),
                                           NAMED(sTxtAboutTitle),
                                           NAMED(sTxtAboutCompanyHeading)};
    return all;
}

// Each name is a slot of its own inside the one object that ResetTextTable empties, and the list
// above names them all.
TEST(TextTable, EachNameIsItsOwnSlotInTheResetObject) {
    EXPECT_EQ(slots().size() * sizeof(std::string), sizeof(TextTable)) << "a slot is not listed";
    const auto* first = reinterpret_cast<const std::byte*>(&textTable);
    const auto* last = first + sizeof textTable;
    std::set<const std::string*> places;
    for (const auto& slot : slots()) {
        const auto* byte = reinterpret_cast<const std::byte*>(slot.text);
        EXPECT_TRUE(byte >= first && byte < last) << slot.name;
        EXPECT_TRUE(places.insert(slot.text).second) << slot.name << " shares a slot";
    }
}

TEST(TextTable, OneCallEmptiesEverySlot) {
    for (const auto& slot : slots()) {
        *slot.text = slot.name;
    }
    for (const auto& slot : slots()) {
        ASSERT_EQ(*slot.text, slot.name);
    }
    ResetTextTable();
    for (const auto& slot : slots()) {
        EXPECT_EQ(*slot.text, "") << slot.name;
    }
}

}  // namespace
