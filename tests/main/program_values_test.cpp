#include "main/program_values.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>

#include "lang/mLang_loaders.h"

namespace {

// Each name is a value of its own inside the one object that ResetProgramValues resets.
TEST(ProgramValues, EachNameIsItsOwnValueInTheResetObject) {
    const auto* first = reinterpret_cast<const std::byte*>(&programValues);
    const auto* last = first + sizeof programValues;
    const std::set<const void*> places = {
        &sRegAddress, &iLang,          &sngNoNetTries, &iCheckInternet, &lInstalled,  &sLoginURL,
        &sUpdateURL,  &sNewRequestURL, &sMemberName,   &bOptionsLoaded, &bAboutLoaded};
    EXPECT_EQ(places.size(), 11u) << "two names share a value";
    for (const void* place : places) {
        const auto* byte = static_cast<const std::byte*>(place);
        EXPECT_TRUE(byte >= first && byte < last) << "a name outside the object";
    }
}

TEST(ProgramValues, OneCallPutsEveryValueBackToItsStart) {
    sRegAddress = "Software\\Pexar\\X6";
    iLang = 4;
    sngNoNetTries = 3;
    iCheckInternet = 1;
    lInstalled = 1;
    sLoginURL = "http://chat.example/login.php";
    sUpdateURL = "http://chat.example/update.php";
    sNewRequestURL = "http://chat.example/popup/";
    sMemberName = "member";
    bOptionsLoaded = platform::kTrue;
    bAboutLoaded = platform::kTrue;
    mLang::LoadGerman();
    ASSERT_EQ(mLang::sTxtTrayExit, "Ausgang");

    ResetProgramValues();

    EXPECT_EQ(sRegAddress, "");
    EXPECT_EQ(iLang, 0);
    EXPECT_EQ(sngNoNetTries, 0);
    EXPECT_EQ(iCheckInternet, 0);
    EXPECT_EQ(lInstalled, 0);
    EXPECT_EQ(sLoginURL, "");
    EXPECT_EQ(sUpdateURL, "");
    EXPECT_EQ(sNewRequestURL, "");
    EXPECT_EQ(sMemberName, "");
    EXPECT_EQ(bOptionsLoaded, platform::kFalse);
    EXPECT_EQ(bAboutLoaded, platform::kFalse);
    EXPECT_EQ(mLang::sTxtTrayExit, "") << "the language text table is emptied too";
    EXPECT_EQ(mLang::sTxtAppTitle, "");
}

}  // namespace
