#pragma once

#include <string_view>

namespace win {

// Message box style flags (buttons | icon | modality).
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbSystemModal = 4096,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7
};

// A modal message box through the backend. An empty title shows the application title.
int MsgBox(std::string_view prompt, int style = vbOKOnly, std::string_view title = {});

}  // namespace win
