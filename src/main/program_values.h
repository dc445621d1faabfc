#pragma once

#include <cstdint>
#include <string>

#include "lang/mLang_textTable.h"
#include "platform/runtime/convert.h"

// Program-wide values that one part of the program sets and others read. They live in one
// object so that every one of them can be put back to its start value at once; the names below
// are that object's members under the names the program uses.
struct ProgramValues {
    // The settings key path below HKEY_CURRENT_USER, from [StartDetails] REGADDRESS.
    std::string sRegAddress;
    // The language index read at start; a later menu choice does not update it.
    int16_t iLang = 0;
    // No-connection retries made so far; never reset.
    float sngNoNetTries = 0;
    // State of the start-up check row: 0 until a connection is found, then 1.
    int16_t iCheckInternet = 0;

    // The copy of X6Installed read at each opening of the sign-in page.
    int32_t lInstalled = 0;
    // The service URLs: X6Domain followed by the path from "\DAPLinks".
    std::string sLoginURL;
    std::string sUpdateURL;
    std::string sNewRequestURL;
    // The signed-in member's name.
    std::string sMemberName;

    // True (-1) while the options window or the About window is loaded.
    int16_t bOptionsLoaded = platform::kFalse;
    int16_t bAboutLoaded = platform::kFalse;
};

inline ProgramValues programValues;

inline std::string& sRegAddress = programValues.sRegAddress;
inline int16_t& iLang = programValues.iLang;
inline float& sngNoNetTries = programValues.sngNoNetTries;
inline int16_t& iCheckInternet = programValues.iCheckInternet;
inline int32_t& lInstalled = programValues.lInstalled;
inline std::string& sLoginURL = programValues.sLoginURL;
inline std::string& sUpdateURL = programValues.sUpdateURL;
inline std::string& sNewRequestURL = programValues.sNewRequestURL;
inline std::string& sMemberName = programValues.sMemberName;
inline int16_t& bOptionsLoaded = programValues.bOptionsLoaded;
inline int16_t& bAboutLoaded = programValues.bAboutLoaded;

// Every program-wide value back to its start, as before the first window loads: the values above
// and the language text table.
inline void ResetProgramValues() {
    programValues = ProgramValues{};
    mLang::ResetTextTable();
}
