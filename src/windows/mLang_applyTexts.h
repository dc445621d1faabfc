#pragma once

// The language module's relabelling of the options window; it lives beside that window.
namespace mLang {

// Every caption, tooltip and list entry of the options window that comes from the language text
// table, in the window's order. Only while the window is loaded (it would load it otherwise).
void ApplyOptionsTexts();

}  // namespace mLang
