// The control's form: a window of 696 x 480 pixels with one label, its standard properties
// and the events it raises.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <string>

#include "win/handles.h"

namespace tintmark {

namespace menus {
class TForm;
}

// Dispatch ids of the form events (ITintmarkPluginEvents).
enum FormEventId : DISPID {
    kOnActivate = 201, kOnClick = 202, kOnCreate = 203, kOnDblClick = 204,
    kOnDestroy = 205, kOnDeactivate = 206, kOnKeyPress = 207, kOnPaint = 208
};

// The standard properties of the form. Those the platform gives no meaning to (AutoScroll,
// AutoSize, KeyPreview, PixelsPerInch, PrintScale, Scaled, DropTarget, HelpFile, ScreenSnap,
// SnapBuffer) are kept and answered as they were written.
struct FormProperties {
    bool Visible = true;
    bool AutoScroll = false;
    bool AutoSize = false;
    LONG AxBorderStyle = 1;  // 0 none, 1 single, 2 sunken, 3 raised
    std::wstring Caption = L"TintmarkPlugin";
    OLE_COLOR Color = 0x80000000 | COLOR_BTNFACE;
    bool KeyPreview = false;
    LONG PixelsPerInch = 96;
    LONG PrintScale = 1;  // 0 none, 1 proportional, 2 fit to page
    bool Scaled = true;
    bool DropTarget = false;
    std::wstring HelpFile;
    bool ScreenSnap = false;
    LONG SnapBuffer = 10;
    bool DoubleBuffered = false;
    bool Enabled = true;
};

class TPluginForm {
public:
    static constexpr int kWidth = 696;
    static constexpr int kHeight = 480;
    static constexpr int kLabelX = 8;
    static constexpr int kLabelY = 8;
    static const wchar_t kLabelCaption[];
    static const wchar_t kClassName[];

    TPluginForm();
    ~TPluginForm();
    TPluginForm(const TPluginForm&) = delete;
    TPluginForm& operator=(const TPluginForm&) = delete;

    // ---- the window ----
    // Creates the form window as a child of parent at pos (client coordinates of parent).
    void Create(HWND parent, const RECT& pos);
    void Destroy();
    HWND Handle() const { return wnd_; }
    menus::TForm* Model() const { return model_; }
    void SetBounds(const RECT& pos);
    // Draws the form (background and label) into dc over bounds.
    void Paint(HDC dc, const RECT& bounds);

    // ---- what the form tells its control ----
    std::function<void()> OnCreated;       // after the window exists (form creation handler)
    std::function<void()> OnDestroying;    // before the window goes
    std::function<void(DISPID)> OnEvent;   // a form event without arguments
    std::function<void(short& key)> OnKeyPress;
    std::function<void(WPARAM key)> OnKeyUnused;  // a character the form leaves to its container
    std::function<void()> OnChanged;       // a property changed (view and persistence)

    // ---- properties ----
    const FormProperties& Properties() const { return props_; }
    // The properties of a new form (PixelsPerInch is the screen's).
    static FormProperties DefaultProperties();
    // Replaces every property (loading, defaults) and applies them to the window.
    void SetProperties(FormProperties props);
    // Stores a property with no effect on the window.
    template <typename T>
    void Store(T FormProperties::*field, T value) {
        props_.*field = std::move(value);
        Changed();
    }
    bool Visible() const;
    void SetVisible(bool v);
    bool Enabled() const;
    void SetEnabled(bool v);
    std::wstring Caption() const;
    void SetCaption(const std::wstring& v);
    // Fails with CTL_E_INVALIDPROPERTYVALUE for a colour the system cannot translate.
    void SetColor(OLE_COLOR v);
    void SetAxBorderStyle(LONG v);
    void SetPrintScale(LONG v);
    void SetPixelsPerInch(LONG v);
    void SetDoubleBuffered(bool v);
    // The form has focus, or one of its children.
    bool Active() const;

    // The font object; byReference keeps the caller's object, else a copy is taken.
    ComPtr<IFontDisp> Font();
    void SetFont(IFontDisp* font, bool byReference);
    void ResetFont();
    // The font the form draws with (follows changes made through the font object).
    HFONT FontHandle();
    void FontChanged();

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnPaintMessage();
    void Changed();
    void ApplyBorder();
    void ConnectFont();
    void DisconnectFont();
    void Fire(DISPID id);

    HWND wnd_ = nullptr;
    menus::TForm* model_ = nullptr;
    FormProperties props_;
    ComPtr<IFont> font_;
    UniqueGdiObject hfont_;
    ComPtr<IConnectionPoint> fontPoint_;
    DWORD fontCookie_ = 0;
    class FontSink;
    FontSink* fontSink_ = nullptr;
    bool leftDown_ = false;
};

// Unregisters the form's window class (when the module unloads).
void UnregisterFormClass();

}  // namespace tintmark
