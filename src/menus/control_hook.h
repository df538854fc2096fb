// TControlHook: one subclassed control of a themed form, with the state its frame drawing
// needs and what it restores when theming ends.
#pragma once

#include <windows.h>

namespace tintmark::menus {

class TMenuStyler;

class TControlHook {
public:
    TControlHook(TMenuStyler& owner, HWND control);
    // Gives the control its procedure, 3-D look and border style back.
    ~TControlHook();
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;

    HWND Control;
    TMenuStyler* Owner;
    LONG_PTR SavedExStyle;  // the 3-D look (WS_EX_CLIENTEDGE)
    LONG_PTR SavedStyle;    // the border style (WS_BORDER)

    // Paint state.
    UINT LastMessage = 0;
    bool Focused = false;
    bool Hovered = false;
    bool MouseDown = false;
    bool SpaceDown = false;
    bool FrameRepaintPending = false;

    bool Subclassed() const { return subclassed_; }
    void Restore();
    // The frame of a "TDBLookupComboBox"; other controls get none.
    void DrawFrame();

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp, bool& forget);
    bool subclassed_ = false;
    bool drawsFrame_ = false;
};

}  // namespace tintmark::menus
