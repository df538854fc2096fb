// Plugin object: identity, lifecycle under the host (Init/Done) and the automation dispatch.
#include "plugin/plugin.h"

#include "win/com_error.h"
#include "host/host.h"
#include "win/module.h"
#include "hook/folding_commands.h"
#include "plugin/host_events.h"
#include "hook/subclass.h"
#include "text/cp1251.h"

namespace tintmark {

namespace {
constexpr int32_t kInitialTableLength = 128;

// The method header and end expressions (Windows-1251 text).
std::unique_ptr<regex::TPluginPattern> CompiledExpression(const char* utf8) {
    auto expr = std::make_unique<regex::TPluginPattern>();
    expr->SetExpression(Utf8To1251(utf8));
    expr->CompileProgram();
    return expr;
}
}  // namespace

TTintmarkPlugin::TTintmarkPlugin() {
    ModuleAddRef();
    AttachControl();
}

TTintmarkPlugin::~TTintmarkPlugin() {
    // A host that never called Done still gets its configurator and connection back.
    Done();
    ModuleRelease();
}

HRESULT TTintmarkPlugin::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ITintmarkPlugin) {
        *ppv = static_cast<ITintmarkPlugin*>(this);
    } else if (riid == IID_IConfigPluginHost) {
        *ppv = static_cast<IConfigPluginHost*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
        *ppv = static_cast<ISupportErrorInfo*>(this);
    } else if (Control && Control->Query(riid, ppv)) {
        return S_OK;
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT TTintmarkPlugin::InterfaceSupportsErrorInfo(REFIID riid) {
    return riid == IID_ITintmarkPlugin || riid == IID_IDispatch || riid == IID_IConfigPluginHost ? S_OK : S_FALSE;
}

ULONG TTintmarkPlugin::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG TTintmarkPlugin::Release() {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

// ---- IConfigPluginHost ----

HRESULT TTintmarkPlugin::Init(IConfigurator* configurator, BSTR* pluginName) {
    if (!pluginName) return E_POINTER;
    *pluginName = nullptr;
    if (!configurator) return E_POINTER;
    const HRESULT hr = ComBoundary([&] {
        Configurator = ComPtr<IConfigurator>(configurator);
        *pluginName = SysAllocString(L"Tintmark");
        if (!*pluginName) throw std::bad_alloc();

        ConfigEvents = std::make_unique<TOpenConfIConfigEvents>();
        AttachEventHandlers(*this);
        ConfigEvents->Connect(Configurator.get());

        TelepatTried = false;
        LastCaretLine = 0;
        LastCaretCol = 0;

        MethodHeaderExpr =
            CompiledExpression("^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+");
        MethodEndExpr = CompiledExpression("^\\s*((конецпроцедуры|endprocedure)|(конецфункции|endfunction))");

        DisplayMetrics metrics;
        ReadDisplaySettings(Config, Canvas, metrics);
        LineHeight = metrics.LineHeight;
        CharWidth = metrics.CharWidth;
        TabWidth = metrics.TabWidth;

        // Paint state and every appearance setting but BookMarkColor and
        // DisableAutoHighlight start at 0 until a script writes them.
        TextOriginX = 0;
        LastFirstLine = 0;
        LastVisibleLines = 0;
        LastHScrollPos = 0;
        Analysis.Pair = PairState{};
        Cross = CrossLineState{};
        Gdi.Clear();
        const Appearance kept = Look;
        Look = Appearance{};
        Look.BookMarkColor = kept.BookMarkColor;
        Look.DisableAutoHighlight = kept.DisableAutoHighlight;

        BuildKeyWordTable(Analysis.Keywords, KeywordSwitches());
        Analysis.KeyWordsMap.SetLength(kInitialTableLength);
        Analysis.MethMap.SetLength(kInitialTableLength);
        BookmarkLines.SetLength(kInitialTableLength);
        SetActivePlugin(this);
    });
    if (FAILED(hr) && *pluginName) {
        // A host does not free out-parameters of a failed call.
        SysFreeString(*pluginName);
        *pluginName = nullptr;
    }
    return hr;
}

HRESULT TTintmarkPlugin::Done() {
    return ComBoundary([&] {
        // With the guards about to go, no window may keep folded text that exists nowhere else.
        if (ActivePlugin() == this) PutBackAllFoldedText(*this);
        // From here on the installed window procedures pass every message on; those that
        // another procedure covers stay in place.
        if (ActivePlugin() == this) {
            SetActivePlugin(nullptr);
            UnhookAll();
        }
        if (ConfigEvents) {
            ConfigEvents->OnActivateWindow = nullptr;
            ConfigEvents->OnQueryQuit = nullptr;
            ConfigEvents->OnConfigWindowCreate = nullptr;
            ConfigEvents.reset();  // disconnects
        }
        if (TelepatEvents) {
            TelepatEvents->OnInsert = nullptr;
            TelepatEvents.reset();
        }
        Configurator.reset();
        MethodHeaderExpr.reset();
        MethodEndExpr.reset();
        Canvas.reset();
        Gdi.Clear();
        MenuStylerInstance.reset();
        Analysis.Keywords = KeywordTable{};
        Analysis.KeyWordsMap.SetLength(0);
        Analysis.MethMap.SetLength(0);
        BookmarkLines.SetLength(0);
    });
}

HRESULT TTintmarkPlugin::GetPluginCaps(LONG capability, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (capability == 0 || capability == 1) {
        value->vt = VT_I4;
        value->lVal = 0;
    }
    return S_OK;
}

HRESULT TTintmarkPlugin::ExecCommand(LONG, VARIANT, VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    return S_OK;
}

// ---- IDispatch ----

HRESULT TTintmarkPlugin::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT TTintmarkPlugin::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return ComBoundary([&] {
        *info = PluginTypeInfo(IID_ITintmarkPlugin);
        (*info)->AddRef();
    });
}

HRESULT TTintmarkPlugin::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return ComBoundary([&] { return DispGetIDsOfNames(PluginTypeInfo(IID_ITintmarkPlugin), names, count, ids); });
}

HRESULT TTintmarkPlugin::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excep, UINT* argErr) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return ComBoundary([&] {
        return DispInvoke(static_cast<ITintmarkPlugin*>(this), PluginTypeInfo(IID_ITintmarkPlugin), id, flags,
                          params, result, excep, argErr);
    });
}

}  // namespace tintmark
