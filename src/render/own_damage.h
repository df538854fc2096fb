// What the plugin itself has asked an editor to repaint (the marks it erased) since the
// editor's last paint: a paint that repaints nothing else needs no word from the host.
#pragma once

#include <windows.h>

#include "win/handles.h"
#include "render/overlay_geometry.h"

namespace tintmark {

class OwnDamage {
public:
    // Invalidates r in wnd (without erasing) and remembers it as the plugin's own.
    void Invalidate(HWND wnd, const Rect& r);
    // Whether the update region of wnd holds nothing but what the plugin invalidated itself;
    // forgets what it remembered, as the paint that asks is about to repaint it.
    bool TakeOnlyOwn(HWND wnd, HRGN update);

private:
    HWND wnd_ = nullptr;
    UniqueGdiObject region_;
};

}  // namespace tintmark
