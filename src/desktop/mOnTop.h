#pragma once

#include <concepts>
#include <cstdint>

// Switches a window between top-most and not: bOnTop True (-1) makes it top-most, False (0) an
// ordinary window, any other value raises it within its group. The window is shown if hidden,
// keeps its place and size and is not activated. A handle that names no window changes nothing.
namespace mOnTop {
void SetWindowOnTop(const int32_t& hWnd, const int16_t& bOnTop);
// A C++ bool would arrive as 1 and only raise the window: pass platform::toBool16(flag).
template <std::same_as<bool> Flag>
void SetWindowOnTop(const int32_t& hWnd, Flag bOnTop) = delete;
}  // namespace mOnTop
