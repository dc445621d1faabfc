#pragma once

#include <string_view>

// How much room a label's text takes, until a backend measures with its real font. A fixed metric:
// at the default 8-point font one text line is 195 twips high and every character 90 twips wide;
// both scale with the font size.
namespace win::textmetrics {

constexpr float kDefaultFontSize = 8;
constexpr float kLineHeight = 195;
constexpr float kCharWidth = 90;

float LineHeight(float fontSize);
// The width of the widest of the text's lines (broken at line feeds) without wrapping.
float TextWidth(std::string_view text, float fontSize);
// How many text lines the text takes in a width: broken at line feeds and between words, a word
// wider than the width broken between characters; at least one (an empty text is one line).
int WrappedLineCount(std::string_view text, float width, float fontSize);

}  // namespace win::textmetrics
