// The plugin object: host plugin interface, automation interface and all plugin state.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "analysis/navigation.h"
#include "analysis/plugin_types.h"
#include "core/control.h"
#include "core/event_sinks.h"
#include "core/handles.h"
#include "host_h.h"
#include "menus/menu_styler.h"
#include "render/display_settings.h"
#include "regex/pattern.h"
#include "render/gdi_cache.h"
#include "render/overlay_geometry.h"
#include "render/own_damage.h"
#include "render/clean_copy.h"
#include "render/measure_canvas.h"
#include "render/mismatch_geometry.h"
#include "tintmark_h.h"

namespace tintmark {

class TTintmarkPlugin final : public ITintmarkPlugin, public IConfigPluginHost, public ISupportErrorInfo {
public:
    TTintmarkPlugin();
    ~TTintmarkPlugin();
    TTintmarkPlugin(const TTintmarkPlugin&) = delete;
    TTintmarkPlugin& operator=(const TTintmarkPlugin&) = delete;

    // ---- host links ----
    ComPtr<IConfigurator> Configurator;
    std::unique_ptr<TOpenConfIConfigEvents> ConfigEvents;
    std::unique_ptr<TTELEPATLibDTelepatEvents> TelepatEvents;
    bool TelepatTried = false;
    bool TelepatInserted = false;
    HWND MainWindowHandle = nullptr;

    // ---- window hooking and the editor window procedure ----
    HWND ActiveCfgWindowHandle = nullptr;
    int32_t LastCaretLine = 0;
    int32_t LastCaretCol = 0;
    int32_t TextOriginX = 0;   // client x of text column 0; 0 until measured
    int32_t GutterPressY = 0;  // cursor screen y at a button press in the gutter
    bool GutterPressed = false;
    HWND CaretHiddenIn = nullptr;  // the editor whose caret the editor procedure holds hidden
    bool LastKeyWasEdit = false;

    // ---- method recognition ----
    std::unique_ptr<regex::TPluginPattern> MethodHeaderExpr;
    std::unique_ptr<regex::TPluginPattern> MethodEndExpr;

    // ---- keyword table, scan tables and pairing state ----
    tintmark::Analysis Analysis;
    TIntArray BookmarkLines;

    // ---- display settings and paint state ----
    ConfiguratorSettings Config;
    Appearance Look;
    std::optional<MeasureCanvas> Canvas;
    int32_t LineHeight = 0;
    int32_t CharWidth = 0;
    int32_t TabWidth = 0;
    int32_t LastFirstLine = 0;
    int32_t LastVisibleLines = 0;  // visible line count at the end of the last paint
    int32_t LastHScrollPos = 0;
    int32_t LastLineCount = 0;
    bool CaretTokenInUpdate = false;
    bool PairTokenInUpdate = false;
    CrossLineState Cross;
    MismatchMarks Mismatch;
    GdiCache Gdi;
    OwnDamage Damage;  // what the plugin erased in an editor since that editor's last paint
    CleanCopy Clean;   // the host's pixels under the marks, to take them off without a repaint

    // The pairing's view of the settings and of the remembered caret line.
    PairSettings PairingSettings() const {
        return PairSettings{Look.DisableAutoHighlight, LineHeight, TextOriginX, LastCaretLine, Look.HighlightMiddle};
    }
    // The words the keyword table knows by the switches: English spellings, and the middle
    // words while the middle-word highlight or the mismatch marks are on.
    KeywordOptions KeywordSwitches() const {
        return KeywordOptions{Look.EnglishKeywords, Look.HighlightMiddle || Look.MismatchColor != 0};
    }
    // Rebuilds the keyword table when the switches ask for other words.
    void UpdateKeywordTable();
    // Reports a failure of the plugin's handling in the configurator's message window, once
    // per distinct text; never throws.
    void ReportFailure(const std::wstring& text) noexcept;
    // A line in the configurator's message window (kind 2); never throws. Returns whether
    // the host took it.
    bool Message(const std::wstring& text) noexcept;

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
    std::set<std::wstring> reportedFailures_;
};

// The plugin object between its Init and Done (the host creates one), reached by the window
// procedures; null outside that time.
TTintmarkPlugin* ActivePlugin();

}  // namespace tintmark
