// Colour arithmetic of the flat-style menus: lighten, darken, grey and the bar's text contrast.
#pragma once

#include <cstdint>

namespace tintmark::menus {

// An RGB colour in the layout 0x00BBGGRR (system colours are resolved before these run).
using Rgb = uint32_t;

constexpr Rgb MakeRgb(int r, int g, int b) {
    return static_cast<Rgb>(r & 0xFF) | (static_cast<Rgb>(g & 0xFF) << 8) | (static_cast<Rgb>(b & 0xFF) << 16);
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Rgb kBlack = 0x000000;
constexpr Rgb kWhiteRgb = 0xFFFFFF;
constexpr Rgb kSilver = 0xC0C0C0;

// Each channel x moves towards 255 by round((255 - x) * percent / 100); percent is capped
// at 100 (halves round up).
Rgb Lighten(Rgb c, int percent);

// Red and blue lose amount, green loses amount - 2; each channel is clamped to 0..255.
Rgb Darken(Rgb c, int amount);

// Grey of the same brightness plus level: v = level + (r + g + b) / 3, at most 240.
Rgb GreyOf(Rgb c, int level);

// Text colour for a selected bar item on a face of colour face: the font's own colour when
// the face is light ((red + blue) / 2 above 150, or green above 200), else face lightened by 90.
Rgb BarTextContrast(Rgb face, Rgb fontColour);

}  // namespace tintmark::menus
