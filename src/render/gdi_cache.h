// GDI objects of the overlay, created once per setting and kept until the settings change.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "win/handles.h"
#include "render/display_settings.h"

namespace tintmark {

// A colour as GDI takes it: a value with the top bit set names a system colour (low byte).
COLORREF ResolveColour(Colour c);

class GdiCache {
public:
    HBRUSH Brush(Colour c);
    HPEN Pen(Colour c);
    // The module font's face and height, bold or regular (never italic): the highlight text.
    HFONT HighlightFont(const FontSpec& font, bool bold);
    // Forgets every object (the settings changed).
    void Clear();

private:
    std::map<COLORREF, UniqueGdiObject> brushes_, pens_;
    UniqueGdiObject fonts_[2];
};

}  // namespace tintmark
