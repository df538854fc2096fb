// The plugin object's control face: the embedded control and its form, the form-creation
// handler that switches the flat-style menus on, and the standard form properties.
#include "win/com_error.h"
#include "plugin/plugin.h"

namespace tintmark {

namespace {
VARIANT_BOOL Vb(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

template <typename T, typename F>
HRESULT Get(T* out, F&& read) {
    if (!out) return E_POINTER;
    return ComBoundary([&] { *out = read(); });
}

BSTR Bstr(const std::wstring& s) {
    BSTR b = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    if (!b) throw std::bad_alloc();
    return b;
}

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }
}  // namespace

void TTintmarkPlugin::AttachControl() {
    Control = std::make_unique<TPluginControl>(*static_cast<IUnknown*>(static_cast<ITintmarkPlugin*>(this)));
    Control->Form.OnCreated = [this] { FormCreated(); };
    // The styler belongs to the form: it goes before the form's window does.
    Control->Form.OnDestroying = [this] { MenuStylerInstance.reset(); };
}

void TTintmarkPlugin::FormCreated() {
    MenuStylerInstance = std::make_unique<menus::TMenuStyler>(*Control->Form.Model());
    MenuStylerInstance->SetActive(true);
}

using P = FormProperties;

HRESULT TTintmarkPlugin::get_Visible(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Visible()); }); }
HRESULT TTintmarkPlugin::put_Visible(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.SetVisible(v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_AutoScroll(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().AutoScroll); }); }
HRESULT TTintmarkPlugin::put_AutoScroll(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.Store(&P::AutoScroll, v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_AutoSize(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().AutoSize); }); }
HRESULT TTintmarkPlugin::put_AutoSize(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.Store(&P::AutoSize, v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_AxBorderStyle(LONG* v) { return Get(v, [&] { return Control->Form.Properties().AxBorderStyle; }); }
HRESULT TTintmarkPlugin::put_AxBorderStyle(LONG v) { return ComBoundary([&] { Control->Form.SetAxBorderStyle(v); }); }
HRESULT TTintmarkPlugin::get_Caption(BSTR* v) { return Get(v, [&] { return Bstr(Control->Form.Caption()); }); }
HRESULT TTintmarkPlugin::put_Caption(BSTR v) { return ComBoundary([&] { Control->Form.SetCaption(Text(v)); }); }
HRESULT TTintmarkPlugin::get_Color(OLE_COLOR* v) { return Get(v, [&] { return Control->Form.Properties().Color; }); }
HRESULT TTintmarkPlugin::put_Color(OLE_COLOR v) { return ComBoundary([&] { Control->Form.SetColor(v); }); }
HRESULT TTintmarkPlugin::get_Font(IFontDisp** v) { return Get(v, [&] { return Control->Form.Font().detach(); }); }
HRESULT TTintmarkPlugin::put_Font(IFontDisp* v) { return ComBoundary([&] { Control->Form.SetFont(v, false); }); }
HRESULT TTintmarkPlugin::putref_Font(IFontDisp* v) { return ComBoundary([&] { Control->Form.SetFont(v, true); }); }
HRESULT TTintmarkPlugin::get_KeyPreview(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().KeyPreview); }); }
HRESULT TTintmarkPlugin::put_KeyPreview(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.Store(&P::KeyPreview, v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_PixelsPerInch(LONG* v) { return Get(v, [&] { return Control->Form.Properties().PixelsPerInch; }); }
HRESULT TTintmarkPlugin::put_PixelsPerInch(LONG v) { return ComBoundary([&] { Control->Form.SetPixelsPerInch(v); }); }
HRESULT TTintmarkPlugin::get_PrintScale(LONG* v) { return Get(v, [&] { return Control->Form.Properties().PrintScale; }); }
HRESULT TTintmarkPlugin::put_PrintScale(LONG v) { return ComBoundary([&] { Control->Form.SetPrintScale(v); }); }
HRESULT TTintmarkPlugin::get_Scaled(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().Scaled); }); }
HRESULT TTintmarkPlugin::put_Scaled(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.Store(&P::Scaled, v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_Active(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Active()); }); }
HRESULT TTintmarkPlugin::get_DropTarget(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().DropTarget); }); }
HRESULT TTintmarkPlugin::put_DropTarget(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.Store(&P::DropTarget, v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_HelpFile(BSTR* v) { return Get(v, [&] { return Bstr(Control->Form.Properties().HelpFile); }); }
HRESULT TTintmarkPlugin::put_HelpFile(BSTR v) { return ComBoundary([&] { Control->Form.Store(&P::HelpFile, Text(v)); }); }
HRESULT TTintmarkPlugin::get_ScreenSnap(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().ScreenSnap); }); }
HRESULT TTintmarkPlugin::put_ScreenSnap(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.Store(&P::ScreenSnap, v != VARIANT_FALSE); }); }
HRESULT TTintmarkPlugin::get_SnapBuffer(LONG* v) { return Get(v, [&] { return Control->Form.Properties().SnapBuffer; }); }
HRESULT TTintmarkPlugin::put_SnapBuffer(LONG v) { return ComBoundary([&] { Control->Form.Store(&P::SnapBuffer, v); }); }
HRESULT TTintmarkPlugin::get_DoubleBuffered(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Properties().DoubleBuffered); }); }
HRESULT TTintmarkPlugin::put_DoubleBuffered(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.SetDoubleBuffered(v != VARIANT_FALSE); }); }
// Nothing is docked in the form and it never holds its alignment back.
HRESULT TTintmarkPlugin::get_AlignDisabled(VARIANT_BOOL* v) { return Get(v, [] { return VARIANT_FALSE; }); }
HRESULT TTintmarkPlugin::get_VisibleDockClientCount(LONG* v) { return Get(v, [] { return 0L; }); }
HRESULT TTintmarkPlugin::get_Enabled(VARIANT_BOOL* v) { return Get(v, [&] { return Vb(Control->Form.Enabled()); }); }
HRESULT TTintmarkPlugin::put_Enabled(VARIANT_BOOL v) { return ComBoundary([&] { Control->Form.SetEnabled(v != VARIANT_FALSE); }); }

}  // namespace tintmark
