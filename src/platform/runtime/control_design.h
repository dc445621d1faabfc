#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The design and live state of a control: plain data the model keeps and a renderer reads.
namespace win {

class Control;

// Units of a window's or container's inner coordinates.
enum ScaleModeConstants : int16_t {
    vbUser = 0,
    vbTwips = 1,
    vbPoints = 2,
    vbPixels = 3,
    vbCharacters = 4,
    vbInches = 5,
    vbMillimeters = 6,
    vbCentimeters = 7,
    vbHimetric = 8,
};

// The design of a control: what it holds when its window loads. One set of fields serves every
// kind; each kind reads and writes only its own. Designated initializers must follow this order.
struct Design {
    Control* Container = nullptr;  // container control, or parent menu of a menu item
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    float X1 = 0;  // line ends
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    std::string Caption{};
    std::string Text{};
    std::string ToolTipText{};
    std::string Tag{};
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;
    float Value = 0;  // check box 0/1/2, progress bar position
    float Min = 0;
    float Max = 100;
    std::vector<std::string> List{};
    int16_t ListIndex = -1;
    int32_t Interval = 0;
    int16_t Alignment = 0;
    int16_t BackStyle = 1;
    int16_t BorderStyle = 0;
    int16_t ScaleMode = vbTwips;
    bool AutoSize = false;
    bool WordWrap = false;
    bool Locked = false;
    bool MultiLine = false;
    bool Stretch = false;
    // Colours are 0x00BBGGRR; 0x8000000F is the system's button-face colour.
    uint32_t BackColor = 0x8000000F;
    std::string FontName{"MS Sans Serif"};
    float FontSize = 8;
    bool FontBold = false;
    // The bitmap handle of the picture an image or picture box shows (0: none), for renderers;
    // the control keeps the picture itself.
    int32_t Picture = 0;
    // The mouse pointer over the control: 0 the default, 99 its MouseIcon (a cursor or icon
    // picture, by its bitmap handle for renderers; the control keeps the picture itself).
    int16_t MousePointer = 0;
    int32_t MouseIcon = 0;
};

}  // namespace win
