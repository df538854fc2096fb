// Runs VBScript and JScript files through the system's script engines, with the loaded
// plugins reachable by name, a "Plugins" collection (Plugins("Tintmark")) and WScript.Echo.
#include "script_host.h"

#include <activscp.h>

#include <cstdio>
#include <string>

#include "simulator.h"

namespace cfgsim {

namespace {

// Interface ids of the script engine interfaces (not all of them are in MinGW's libuuid).
const IID kIActiveScript = {0xBB1A2AE1, 0xA4F9, 0x11CF, {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
const IID kIActiveScriptSite = {0xDB01A1E3, 0xA42B, 0x11CF, {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
#ifdef _WIN64
const IID kIActiveScriptParse = {0xC7EF7658, 0xE1EE, 0x480E, {0x97, 0xEA, 0xD5, 0x2C, 0xB4, 0xD7, 0x6D, 0x17}};
#else
const IID kIActiveScriptParse = {0xBB1A2AE2, 0xA4F9, 0x11CF, {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
#endif

// A small IDispatch whose members are resolved by name in Invoke-time callbacks.
class NamedDispatch : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }   // lives on the host's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

// WScript: Echo writes its arguments to the simulator's log.
class WScriptObject final : public NamedDispatch {
public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
        if (n != 1) return DISP_E_UNKNOWNNAME;
        if (_wcsicmp(names[0], L"Echo") == 0) {
            ids[0] = 1;
            return S_OK;
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != 1) return DISP_E_MEMBERNOTFOUND;
        std::wstring line;
        for (UINT i = p ? p->cArgs : 0; i > 0; --i) {
            VARIANT s;
            VariantInit(&s);
            if (SUCCEEDED(VariantChangeType(&s, &p->rgvarg[i - 1], 0, VT_BSTR))) {
                if (!line.empty()) line += L" ";
                line += std::wstring(s.bstrVal, SysStringLen(s.bstrVal));
            }
            VariantClear(&s);
        }
        Simulator::Get().Log(L"script: " + line);
        return S_OK;
    }
};

// Plugins: the default member, also named Item, takes a plugin name and gives its dispatch
// object. (Wine's VBScript cannot call an object's default member with arguments, so
// scripts run here say Plugins.Item("Name"); JScript and Windows' VBScript take both.)
class PluginsObject final : public NamedDispatch {
public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
        if (n == 1 && _wcsicmp(names[0], L"Item") == 0) {
            ids[0] = DISPID_VALUE;
            return S_OK;
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_VALUE || !p || p->cArgs != 1) return DISP_E_MEMBERNOTFOUND;
        VARIANT s;
        VariantInit(&s);
        if (FAILED(VariantChangeType(&s, &p->rgvarg[0], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
        IDispatch* plugin = Simulator::Get().PluginByName(std::wstring(s.bstrVal, SysStringLen(s.bstrVal)));
        VariantClear(&s);
        if (!plugin) return DISP_E_MEMBERNOTFOUND;
        if (result) {
            VariantInit(result);
            result->vt = VT_DISPATCH;
            result->pdispVal = plugin;
            plugin->AddRef();
        }
        return S_OK;
    }
};

class Site final : public IActiveScriptSite {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == kIActiveScriptSite) {
            *ppv = static_cast<IActiveScriptSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override {
        *lcid = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** unk, ITypeInfo** ti) override {
        if (ti) *ti = nullptr;
        if (!(mask & SCRIPTINFO_IUNKNOWN)) return S_OK;
        IDispatch* d = nullptr;
        if (_wcsicmp(name, L"WScript") == 0) d = &wscript_;
        else if (_wcsicmp(name, L"Plugins") == 0) d = &plugins_;
        else d = Simulator::Get().PluginByName(name);
        if (!d) return TYPE_E_ELEMENTNOTFOUND;
        d->AddRef();
        *unk = d;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
        EXCEPINFO e{};
        error->GetExceptionInfo(&e);
        DWORD context = 0;
        ULONG line = 0;
        LONG col = 0;
        error->GetSourcePosition(&context, &line, &col);
        std::wstring text = e.bstrDescription ? e.bstrDescription : L"error";
        SysFreeString(e.bstrDescription);
        SysFreeString(e.bstrSource);
        SysFreeString(e.bstrHelpFile);
        failure = L"line " + std::to_wstring(line + 1) + L": " + text;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

    std::wstring failure;

private:
    WScriptObject wscript_;
    PluginsObject plugins_;
};

}  // namespace

bool RunScriptFile(const std::wstring& path, const std::wstring& source, std::wstring& error) {
    const size_t dot = path.find_last_of(L'.');
    const std::wstring ext = dot == std::wstring::npos ? L"" : path.substr(dot);
    const wchar_t* language = _wcsicmp(ext.c_str(), L".js") == 0 ? L"JScript" : L"VBScript";
    CLSID clsid;
    IActiveScript* engine = nullptr;
    IActiveScriptParse* parse = nullptr;
    if (FAILED(CLSIDFromProgID(language, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIActiveScript,
                                reinterpret_cast<void**>(&engine)))) {
        error = std::wstring(L"no ") + language + L" engine";
        return false;
    }
    Site site;
    bool ok = SUCCEEDED(engine->QueryInterface(kIActiveScriptParse, reinterpret_cast<void**>(&parse))) &&
              SUCCEEDED(parse->InitNew()) && SUCCEEDED(engine->SetScriptSite(&site));
    if (ok) {
        engine->AddNamedItem(L"WScript", SCRIPTITEM_ISVISIBLE);
        engine->AddNamedItem(L"Plugins", SCRIPTITEM_ISVISIBLE);
        for (const auto& p : Simulator::Get().plugins) engine->AddNamedItem(p.name.c_str(), SCRIPTITEM_ISVISIBLE);
        EXCEPINFO e{};
        const HRESULT hr = parse->ParseScriptText(source.c_str(), nullptr, nullptr, nullptr, 0, 0,
                                                  SCRIPTTEXT_ISVISIBLE, nullptr, &e);
        ok = SUCCEEDED(hr) && SUCCEEDED(engine->SetScriptState(SCRIPTSTATE_CONNECTED)) && site.failure.empty();
        if (!ok && site.failure.empty()) site.failure = L"the engine refused the script";
    }
    error = site.failure;
    if (parse) parse->Release();
    engine->Close();
    engine->Release();
    return ok;
}

}  // namespace cfgsim
