#pragma once

#include <cstdint>

namespace win {

// The screen as the backend reports it, read afresh at every call; sizes in twips.
class ScreenObject {
  public:
    float Width() const;
    float Height() const;
    float TwipsPerPixelX() const;
    float TwipsPerPixelY() const;
};

inline const ScreenObject Screen;

}  // namespace win
