// The plugin's own invalidations, kept as a region per editor until its next paint.
#include "render/own_damage.h"

namespace tintmark {

void OwnDamage::Invalidate(HWND wnd, const Rect& r) {
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(wnd, &rc, FALSE);
    if (rc.left >= rc.right || rc.top >= rc.bottom) return;
    if (wnd != wnd_ || !region_) {
        wnd_ = wnd;
        region_.reset(CreateRectRgn(0, 0, 0, 0));
        if (!region_) return;
    }
    UniqueGdiObject add(CreateRectRgnIndirect(&rc));
    if (add) CombineRgn(static_cast<HRGN>(region_.get()), static_cast<HRGN>(region_.get()), static_cast<HRGN>(add.get()), RGN_OR);
}

bool OwnDamage::TakeOnlyOwn(HWND wnd, HRGN update) {
    if (wnd != wnd_ || !region_) return false;
    UniqueGdiObject rest(CreateRectRgn(0, 0, 0, 0));
    const bool only = rest && CombineRgn(static_cast<HRGN>(rest.get()), update, static_cast<HRGN>(region_.get()),
                                         RGN_DIFF) == NULLREGION;
    region_.reset();
    wnd_ = nullptr;
    return only;
}

}  // namespace tintmark
