#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/convert.h"

// Program-wide values that one part of the program sets and others read.

// The settings key path below HKEY_CURRENT_USER, from [StartDetails] REGADDRESS.
inline std::string sRegAddress;
// The language index read at start; a later menu choice does not update it.
inline int16_t iLang = 0;
// No-connection retries made so far; never reset.
inline float sngNoNetTries = 0;
// State of the start-up check row: 0 until a connection is found, then 1.
inline int16_t iCheckInternet = 0;

// The copy of X6Installed read at each opening of the sign-in page.
inline int32_t lInstalled = 0;
// The service URLs: X6Domain followed by the path from "\DAPLinks".
inline std::string sLoginURL;
inline std::string sUpdateURL;
inline std::string sNewRequestURL;
// The signed-in member's name.
inline std::string sMemberName;

// True (-1) while the options window or the About window is loaded.
inline int16_t bOptionsLoaded = platform::kFalse;
inline int16_t bAboutLoaded = platform::kFalse;
