// The working colours of the flat-style menus, derived from the styler's colour properties.
#pragma once

#include "menus/colour_math.h"

namespace tintmark::menus {

// The styler's colour properties and switches, with system colours already resolved.
struct ColourProperties {
    Rgb Color = 0;
    Rgb IconBackColor = 0;
    Rgb MenuBarColor = 0;
    Rgb SelectColor = 0;
    Rgb SelectBorderColor = 0;
    Rgb SelectFontColor = 0;
    Rgb DisabledColor = 0;
    Rgb SeparatorColor = 0;
    Rgb CheckedColor = 0;
    Rgb FontColor = 0;  // the colour of the styler's Font
    bool UseSystemColors = true;
    bool UseDimColor = false;
};

// The three system colours the derivation reads.
struct SystemColours {
    Rgb ButtonFace = 0;
    Rgb Highlight = 0;
    Rgb ButtonShadow = 0;
};

struct WorkingColors {
    Rgb MenuFace = 0;
    Rgb IconFace = 0;
    Rgb SelectFace = 0;
    Rgb SelectBorder = 0;
    Rgb SelectText = 0;
    Rgb CheckFace = 0;
    Rgb CheckFaceSelected = 0;
    Rgb CheckPen = 0;
    Rgb BarFace = 0;
    Rgb DisabledText = 0;
    Rgb SeparatorPen = 0;
    Rgb FrameOuter = 0;
    Rgb FrameShadow = 0;
};

// colourDepthHigh: the device shows more than 15 bits per pixel.
WorkingColors DeriveColors(const ColourProperties& p, const SystemColours& sys, bool colourDepthHigh);

}  // namespace tintmark::menus
