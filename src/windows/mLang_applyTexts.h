#pragma once

// The language module's relabelling of the options and About windows; it lives beside them.
namespace mLang {

// Every caption, tooltip and list entry of the options window that comes from the language text
// table, in the window's order. Only while the window is loaded (it would load it otherwise).
void ApplyOptionsTexts();
// The About window's heading and the heading over the company name; only while it is loaded.
void ApplyAboutTexts();

}  // namespace mLang
