#pragma once

// The six language loaders. Each writes its language's fixed texts into the language text table
// and does nothing else: it relabels no window. French, Italian, Spanish and Swedish have no text
// of their own for the fifth sound-list entry and leave sTxtSoundGenAlert as it is.
namespace mLang {

void LoadEnglish();
void LoadFrench();
void LoadGerman();
void LoadSwedish();
void LoadSpanish();
void LoadItalian();

}  // namespace mLang
