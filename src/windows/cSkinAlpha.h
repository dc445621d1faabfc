#pragma once

#include <cstdint>

#include "platform/ui/form.h"

// Gives a window the outline of its background picture: every pixel of the key colour is cut out
// of the window. Holds no state; the options and About windows each keep one.
class cSkinAlpha {
  public:
    // Border off, window sized to its picture, key-coloured pixels cut away; returns nothing a
    // caller uses. TrnsColor is 0x00BBGGRR, compared exactly.
    void MakeTransparent(win::Form& Frm, uint32_t TrnsColor);
    // The window's whole inner area as its region again (taken in its scale units as pixels).
    void RemoveTransparent(win::Form& Frm);
};
