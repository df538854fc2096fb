// Colour arithmetic of the flat-style menus.
#include "menus/colour_math.h"

#include <algorithm>

namespace tintmark::menus {

namespace {
int Clamp(int v) { return std::clamp(v, 0, 255); }

int LightenChannel(int x, int percent) {
    // round((255 - x) * p / 100) in integers, halves up.
    return x + ((255 - x) * percent * 2 + 100) / 200;
}
}  // namespace

Rgb Lighten(Rgb c, int percent) {
    const int p = std::clamp(percent, 0, 100);
    return MakeRgb(LightenChannel(RedOf(c), p), LightenChannel(GreenOf(c), p), LightenChannel(BlueOf(c), p));
}

Rgb Darken(Rgb c, int amount) {
    return MakeRgb(Clamp(RedOf(c) - amount), Clamp(GreenOf(c) - amount + 2), Clamp(BlueOf(c) - amount));
}

Rgb GreyOf(Rgb c, int level) {
    const int v = std::min(240, Clamp(level + (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3));
    return MakeRgb(v, v, v);
}

Rgb BarTextContrast(Rgb face, Rgb fontColour) {
    // (red + blue) / 2 > 150 with exact division is red + blue > 300.
    if (RedOf(face) + BlueOf(face) > 300 || GreenOf(face) > 200) return fontColour;
    return Lighten(face, 90);
}

}  // namespace tintmark::menus
