// The plugin object: host plugin interface, automation interface, and the state the editor
// hooks work from (its PluginState base).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "control/control.h"
#include "hook/plugin_state.h"
#include "menus/menu_styler.h"
#include "plugin/event_sinks.h"
#include "tintmark_h.h"

namespace tintmark {

class TTintmarkPlugin final : public ITintmarkPlugin,
                              public IConfigPluginHost,
                              public ISupportErrorInfo,
                              public PluginState {
public:
    TTintmarkPlugin();
    ~TTintmarkPlugin();
    TTintmarkPlugin(const TTintmarkPlugin&) = delete;
    TTintmarkPlugin& operator=(const TTintmarkPlugin&) = delete;

    // ---- host links the plugin object alone uses ----
    std::unique_ptr<TOpenConfIConfigEvents> ConfigEvents;
    std::unique_ptr<TTELEPATLibDTelepatEvents> TelepatEvents;
    bool TelepatTried = false;

    // ---- control face and menus (plugin_form_properties.cpp) ----
    std::unique_ptr<TPluginControl> Control;  // the ActiveX control and its form
    std::unique_ptr<menus::TMenuStyler> MenuStylerInstance;
    void AttachControl();
    void FormCreated();  // the form-creation handler

    // ---- IUnknown ----
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ---- ISupportErrorInfo: both interfaces report failures with an error object ----
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

    // ---- IConfigPluginHost ----
    HRESULT STDMETHODCALLTYPE Init(IConfigurator* configurator, BSTR* pluginName) override;
    HRESULT STDMETHODCALLTYPE Done() override;
    HRESULT STDMETHODCALLTYPE GetPluginCaps(LONG capability, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE ExecCommand(LONG command, VARIANT param, VARIANT* result) override;

    // ---- IDispatch (driven by the embedded type library) ----
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

    // ---- ITintmarkPlugin: standard properties of the control's form (plugin_form_properties.cpp) ----
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_AutoScroll(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_AutoScroll(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_AxBorderStyle(LONG* v) override;
    HRESULT STDMETHODCALLTYPE put_AxBorderStyle(LONG v) override;
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* v) override;
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* v) override;
    HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** v) override;
    HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* v) override;
    HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* v) override;
    HRESULT STDMETHODCALLTYPE get_KeyPreview(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_KeyPreview(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_PixelsPerInch(LONG* v) override;
    HRESULT STDMETHODCALLTYPE put_PixelsPerInch(LONG v) override;
    HRESULT STDMETHODCALLTYPE get_PrintScale(LONG* v) override;
    HRESULT STDMETHODCALLTYPE put_PrintScale(LONG v) override;
    HRESULT STDMETHODCALLTYPE get_Scaled(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_Scaled(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE get_DropTarget(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_DropTarget(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* v) override;
    HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_ScreenSnap(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_ScreenSnap(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_SnapBuffer(LONG* v) override;
    HRESULT STDMETHODCALLTYPE put_SnapBuffer(LONG v) override;
    HRESULT STDMETHODCALLTYPE get_DoubleBuffered(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_DoubleBuffered(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_AlignDisabled(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE get_VisibleDockClientCount(LONG* v) override;
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* v) override;
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL v) override;

    // ---- ITintmarkPlugin: the plugin's own members ----
    HRESULT STDMETHODCALLTYPE ExpandAll() override;
    HRESULT STDMETHODCALLTYPE CollapseAll() override;
    HRESULT STDMETHODCALLTYPE JumpToPairBracket() override;
    HRESULT STDMETHODCALLTYPE SelectPairBlock() override;
    HRESULT STDMETHODCALLTYPE put_OpenBracketUnderLineColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_MethodsBorderColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_GutterColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_GutterLineColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_BookMarkColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_OpenBracketFontColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_OpenBracketBgColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_OpenBracketFrameColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_CloseBracketBgColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_CloseBracketFrameColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_CloseBracketFontColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_CloseBracketUnderLineColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_OpenBracketFontBold(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_CloseBracketFontBold(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE SelectInnerBlock() override;
    HRESULT STDMETHODCALLTYPE put_HighlightModeAlways(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_DisableAutoHighlight(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE ShowPairBracket() override;
    HRESULT STDMETHODCALLTYPE put_CrossLinesColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_EnableHorizCrossLine(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_EnableVertCrossLine(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_HighlightMiddle(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_MismatchColor(OLE_COLOR v) override;
    HRESULT STDMETHODCALLTYPE put_EnglishKeywords(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE CheckBlocks(LONG* count) override;

private:
    HRESULT PutColour(Colour Appearance::*field, ColourFallback fallback, OLE_COLOR value);
    HRESULT PutSwitch(bool Appearance::*field, VARIANT_BOOL value);
    // Runs a command on the active editor; before Init there is no configurator and the
    // command succeeds doing nothing.
    template <typename F>
    HRESULT Command(F&& body);

    LONG refs_ = 1;
};

}  // namespace tintmark
