#pragma once

#include <pango/pango.h>

#include <string>
#include <string_view>

namespace platform {

// The model's text as the toolkit takes it: valid UTF-8 (a broken sequence becomes U+FFFD).
std::string toolkitText(std::string_view text);
// A caption with its access key: "&x" marks x, "&&" is an ampersand.
std::string mnemonicText(std::string_view caption);

// A label's text laid out in the desktop's UI font at size points: broken at line feeds and, when
// widthPx is positive, between words within that width. Measured and painted alike: with the
// screen's resolution and font options. The caller unrefs it.
PangoLayout* labelLayout(std::string_view text, float size, bool bold, int widthPx);

}  // namespace platform
