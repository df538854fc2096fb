// Derivation of the working colours: from the properties, or from the system's colours,
// each for a display of 16 bits and more or of fewer.
#include "menus/working_colors.h"

namespace tintmark::menus {

namespace {
WorkingColors FromProperties(const ColourProperties& p, const SystemColours& sys, bool high) {
    WorkingColors w;
    w.MenuFace = p.Color;
    w.IconFace = p.IconBackColor;
    w.SelectBorder = p.SelectBorderColor;
    w.SelectText = p.SelectFontColor;
    w.CheckPen = p.CheckedColor;
    w.BarFace = p.MenuBarColor;
    w.DisabledText = p.DisabledColor;
    w.SeparatorPen = p.SeparatorColor;
    if (high) {
        w.SelectFace = p.UseDimColor ? Lighten(p.SelectColor, 68) : p.SelectColor;
        w.CheckFace = p.UseDimColor ? Lighten(p.SelectColor, 80) : p.SelectColor;
        w.CheckFaceSelected = p.UseDimColor ? Lighten(p.SelectColor, 50) : p.SelectColor;
        w.FrameOuter = Darken(sys.ButtonFace, 90);
        w.FrameShadow = Darken(sys.ButtonFace, 76);
    } else {
        w.SelectFace = p.SelectColor;
        w.CheckFace = kWhiteRgb;
        w.CheckFaceSelected = kSilver;
        w.FrameOuter = sys.ButtonShadow;
        w.FrameShadow = sys.ButtonShadow;
    }
    return w;
}

WorkingColors FromSystem(const ColourProperties& p, const SystemColours& sys, bool high) {
    WorkingColors w;
    w.SelectBorder = sys.Highlight;
    w.SelectText = p.FontColor;
    w.CheckPen = sys.Highlight;
    w.BarFace = sys.ButtonFace;
    if (high) {
        w.MenuFace = Lighten(sys.ButtonFace, 86);
        w.IconFace = Lighten(sys.ButtonFace, 16);
        w.SelectFace = Lighten(sys.Highlight, 68);
        w.CheckFace = Lighten(sys.Highlight, 80);
        w.CheckFaceSelected = Lighten(sys.Highlight, 50);
        w.DisabledText = Lighten(sys.ButtonShadow, 10);
        w.SeparatorPen = Lighten(sys.ButtonShadow, 25);
        w.FrameOuter = Darken(sys.ButtonFace, 90);
        w.FrameShadow = Darken(sys.ButtonFace, 76);
    } else {
        // Few colours cannot show the tints: a white menu with white selection.
        w.MenuFace = kWhiteRgb;
        w.IconFace = sys.ButtonFace;
        w.SelectFace = kWhiteRgb;
        w.CheckFace = kWhiteRgb;
        w.CheckFaceSelected = kWhiteRgb;
        w.DisabledText = sys.ButtonShadow;
        w.SeparatorPen = sys.ButtonShadow;
        w.FrameOuter = sys.ButtonShadow;
        w.FrameShadow = sys.ButtonShadow;
    }
    return w;
}
}  // namespace

WorkingColors DeriveColors(const ColourProperties& p, const SystemColours& sys, bool colourDepthHigh) {
    return p.UseSystemColors ? FromSystem(p, sys, colourDepthHigh) : FromProperties(p, sys, colourDepthHigh);
}

}  // namespace tintmark::menus
