// Runs VBScript and JScript files through the system's script engines as the configurator's
// script host does: the loaded plugins reachable by name and through a "Plugins" collection
// (Plugins("Tintmark")), the host's Message function, and no objects of the Windows script
// host (WScript). A loaded script stays loaded so that its procedures can be run as macros.
#include "script_host.h"

#include <activscp.h>

#include <memory>
#include <string>
#include <vector>

#include "simulator.h"
#include "text/cp1251.h"

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
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }   // lives as long as its script
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

std::wstring Text(const VARIANT& v) {
    VARIANT s;
    VariantInit(&s);
    std::wstring text;
    if (SUCCEEDED(VariantChangeType(&s, const_cast<VARIANT*>(&v), 0, VT_BSTR)))
        text.assign(s.bstrVal, SysStringLen(s.bstrVal));
    VariantClear(&s);
    return text;
}

// The configurator's global members: Message(text[, kind]) writes a line to the message
// window.
class HostGlobals final : public NamedDispatch {
public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
        if (n >= 1 && _wcsicmp(names[0], L"Message") == 0) {
            ids[0] = 1;
            return S_OK;
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != 1) return DISP_E_MEMBERNOTFOUND;
        if (!p || p->cArgs < 1 || p->cArgs > 2) return DISP_E_BADPARAMCOUNT;
        const std::wstring line = Text(p->rgvarg[p->cArgs - 1]);
        Simulator::Get().messageLines.push_back(line);
        Simulator::Get().Log(L"script message: " + line);
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
        IDispatch* plugin = Simulator::Get().PluginByName(Text(p->rgvarg[0]));
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
        if (_wcsicmp(name, L"Configurator") == 0) d = &globals_;
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
    HostGlobals globals_;
    PluginsObject plugins_;
};

// One script in its own engine, closed with it.
struct LoadedScript {
    std::wstring name;  // file name without folder and extension, as the host lists it
    IActiveScript* engine = nullptr;
    IActiveScriptParse* parse = nullptr;
    std::unique_ptr<Site> site = std::make_unique<Site>();

    LoadedScript() = default;
    LoadedScript(const LoadedScript&) = delete;
    LoadedScript& operator=(const LoadedScript&) = delete;
    ~LoadedScript() {
        if (parse) parse->Release();
        if (engine) {
            engine->Close();
            engine->Release();
        }
    }
};

std::vector<std::unique_ptr<LoadedScript>>& Loaded() {
    static std::vector<std::unique_ptr<LoadedScript>> scripts;
    return scripts;
}

std::wstring ScriptName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// Starts an engine on the source and runs its top-level code.
std::unique_ptr<LoadedScript> Start(const std::wstring& path, const std::wstring& source, std::wstring& error) {
    auto script = std::make_unique<LoadedScript>();
    script->name = ScriptName(path);
    const size_t dot = path.find_last_of(L'.');
    const std::wstring ext = dot == std::wstring::npos ? L"" : path.substr(dot);
    const wchar_t* language = _wcsicmp(ext.c_str(), L".js") == 0 ? L"JScript" : L"VBScript";
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(language, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIActiveScript,
                                reinterpret_cast<void**>(&script->engine)))) {
        error = std::wstring(L"no ") + language + L" engine";
        return nullptr;
    }
    Site& site = *script->site;
    bool ok = SUCCEEDED(script->engine->QueryInterface(kIActiveScriptParse, reinterpret_cast<void**>(&script->parse))) &&
              SUCCEEDED(script->parse->InitNew()) && SUCCEEDED(script->engine->SetScriptSite(&site));
    if (ok) {
        script->engine->AddNamedItem(L"Configurator", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_GLOBALMEMBERS);
        script->engine->AddNamedItem(L"Plugins", SCRIPTITEM_ISVISIBLE);
        for (const auto& p : Simulator::Get().plugins) script->engine->AddNamedItem(p.name.c_str(), SCRIPTITEM_ISVISIBLE);
        EXCEPINFO e{};
        const HRESULT hr = script->parse->ParseScriptText(source.c_str(), nullptr, nullptr, nullptr, 0, 0,
                                                          SCRIPTTEXT_ISVISIBLE, nullptr, &e);
        ok = SUCCEEDED(hr) && SUCCEEDED(script->engine->SetScriptState(SCRIPTSTATE_CONNECTED)) && site.failure.empty();
        if (!ok && site.failure.empty()) site.failure = L"the engine refused the script";
    }
    error = site.failure;
    if (!ok) return nullptr;
    return script;
}

LoadedScript* Find(const std::wstring& name) {
    for (auto& s : Loaded())
        if (_wcsicmp(s->name.c_str(), name.c_str()) == 0) return s.get();
    return nullptr;
}

IDispatch* ScriptDispatch(LoadedScript& script) {
    IDispatch* d = nullptr;
    if (FAILED(script.engine->GetScriptDispatch(nullptr, &d))) return nullptr;
    return d;
}

}  // namespace

std::wstring DecodeScript(const std::string& bytes) {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return Wide(bytes.substr(3));
    if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        std::wstring text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         static_cast<unsigned char>(bytes[i + 1]) << 8);
        return text;
    }
    const std::u16string text = tintmark::Decode1251(bytes);
    return std::wstring(text.begin(), text.end());
}

bool RunScriptFile(const std::wstring& path, const std::wstring& source, std::wstring& error) {
    return Start(path, source, error) != nullptr;
}

bool LoadScriptFile(const std::wstring& path, const std::wstring& source, std::wstring& error) {
    const std::wstring name = ScriptName(path);
    auto& loaded = Loaded();
    for (auto it = loaded.begin(); it != loaded.end(); ++it)
        if (_wcsicmp((*it)->name.c_str(), name.c_str()) == 0) {
            loaded.erase(it);  // loading again replaces the earlier copy, as the host's reload does
            break;
        }
    auto script = Start(path, source, error);
    if (!script) return false;
    loaded.push_back(std::move(script));
    return true;
}

bool ListMacros(const std::wstring& scriptName, std::vector<std::wstring>& macros, std::wstring& error) {
    LoadedScript* script = Find(scriptName);
    if (!script) {
        error = L"no loaded script " + scriptName;
        return false;
    }
    IDispatch* d = ScriptDispatch(*script);
    ITypeInfo* info = nullptr;
    TYPEATTR* attr = nullptr;
    if (!d || FAILED(d->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || FAILED(info->GetTypeAttr(&attr))) {
        if (info) info->Release();
        if (d) d->Release();
        error = L"the engine does not describe " + scriptName;
        return false;
    }
    for (WORD i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f))) continue;
        if (f->cParams == 0 && f->invkind == INVOKE_FUNC && !(f->wFuncFlags & FUNCFLAG_FRESTRICTED)) {
            BSTR name = nullptr;
            UINT n = 0;
            if (SUCCEEDED(info->GetNames(f->memid, &name, 1, &n)) && n == 1)
                macros.emplace_back(name, SysStringLen(name));
            SysFreeString(name);
        }
        info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);
    info->Release();
    d->Release();
    return true;
}

bool RunMacro(const std::wstring& scriptName, const std::wstring& procedure, std::wstring& error) {
    LoadedScript* script = Find(scriptName);
    if (!script) {
        error = L"no loaded script " + scriptName;
        return false;
    }
    IDispatch* d = ScriptDispatch(*script);
    if (!d) {
        error = L"the engine gives no dispatch for " + scriptName;
        return false;
    }
    LPOLESTR names[] = {const_cast<LPOLESTR>(procedure.c_str())};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (SUCCEEDED(hr)) {
        script->site->failure.clear();
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO e{};
        hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, &e, nullptr);
        VariantClear(&result);
        SysFreeString(e.bstrSource);
        SysFreeString(e.bstrHelpFile);
        if (FAILED(hr)) {
            error = !script->site->failure.empty() ? script->site->failure
                    : e.bstrDescription             ? std::wstring(e.bstrDescription)
                                                    : L"the macro failed";
        }
        SysFreeString(e.bstrDescription);
    } else {
        error = L"no procedure " + procedure + L" in " + scriptName;
    }
    d->Release();
    return SUCCEEDED(hr);
}

void UnloadScripts() { Loaded().clear(); }

}  // namespace cfgsim
