#pragma once

#include <cstdint>

// The language module's relabelling of windows; it lives beside the main window it relabels so that
// the text table and its loaders stay free of any window.
namespace mLang {

// Runs the loader of index (1 English, 2 French, 3 German, 4 Italian, 5 Spanish, 6 Swedish; any
// other index runs none and keeps the texts as they are), then captions the main window and its
// tray menu, and the options and About windows while they are loaded.
void SetLanguage(int16_t index);

}  // namespace mLang
