#pragma once

#include <cstdint>
#include <span>

// The pictures stored with the options window (frmPropPage) and the About window (frmAbout), drawn
// by tools/assets and compiled in, so a window never depends on a loose file. Each function returns
// the bytes of a picture file for win::LoadPictureFromBytes; the bytes live as long as the program.
namespace windowart {

// frmPropPage: the background, 460 x 355, 24-bit, cut away where it is magenta RGB(255, 0, 255).
std::span<const std::uint8_t> OptionsBackground();
// The selected and unselected tab pictures (imgBTNUP, imgBTNDOWN), 97 x 31.
std::span<const std::uint8_t> OptionsTabSelected();
std::span<const std::uint8_t> OptionsTabUnselected();
// The close glyph (imgControlBox), 21 x 21, and the play glyph (imgPlaySound), 16 x 16.
std::span<const std::uint8_t> OptionsClose();
std::span<const std::uint8_t> OptionsPlay();

// frmAbout: the background, 243 x 261, 24-bit, with the same magenta surround.
std::span<const std::uint8_t> AboutBackground();
// The close picture (Image1), 21 x 21.
std::span<const std::uint8_t> AboutClose();
// The banner icon (Image2), a 48 x 48 icon.
std::span<const std::uint8_t> AboutBanner();
// The banner's mouse pointer (Label7), a 32 x 32 cursor pointing with its pixel (1, 1).
std::span<const std::uint8_t> AboutPointer();
// The credits' text area background (ucScrollingText's picContainer), 800 x 600.
std::span<const std::uint8_t> CreditsBackground();

}  // namespace windowart
