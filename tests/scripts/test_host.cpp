// TintmarkTest.Host: a COM object through which a script plays the plugin host. It creates
// the plugin, starts it with the simulator's configurator and hands the outcome to the
// script as an automation object must: a callee's error object is passed on only when the
// callee announces one for the interface called (ISupportErrorInfo); otherwise the script
// sees the bare HRESULT.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "host_h.h"
#include "host_objects.h"

namespace {

// {8D5C6BA1-FCF3-410A-B15E-58256AE14033}
const CLSID kClsid = {0x8d5c6ba1, 0xfcf3, 0x410a, {0xb1, 0x5e, 0x58, 0x25, 0x6a, 0xe1, 0x40, 0x33}};
const wchar_t kProgId[] = L"TintmarkTest.Host";
const wchar_t kClsidKey[] = L"CLSID\\{8D5C6BA1-FCF3-410A-B15E-58256AE14033}";
constexpr DISPID kStartPlugin = 1;

HMODULE g_module = nullptr;

// Fills excep from the callee's error object when it announces one for iid.
HRESULT CalleeFailed(IUnknown* callee, REFIID iid, HRESULT hr, EXCEPINFO* excep) {
    EXCEPINFO out{};
    out.scode = hr;
    ISupportErrorInfo* support = nullptr;
    if (SUCCEEDED(callee->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
        IErrorInfo* info = nullptr;
        if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &info) == S_OK && info) {
            info->GetDescription(&out.bstrDescription);
            info->GetSource(&out.bstrSource);
            info->Release();
        }
        support->Release();
    }
    SetErrorInfo(0, nullptr);  // an error object not announced is not the caller's to read
    if (!excep) {
        SysFreeString(out.bstrDescription);
        SysFreeString(out.bstrSource);
        return hr;
    }
    *excep = out;
    return DISP_E_EXCEPTION;
}

// StartPlugin(offerEvents, adviseResult): Init with a configurator that offers its events or
// not and whose connection point answers Advise with adviseResult (0: accepts). Returns the
// name Init answered, after Done.
HRESULT StartPlugin(bool offerEvents, HRESULT adviseResult, VARIANT* result, EXCEPINFO* excep) {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(L"Tintmark.TintmarkPlugin", &clsid);
    IConfigPluginHost* plugin = nullptr;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IConfigPluginHost,
                              reinterpret_cast<void**>(&plugin));
    if (FAILED(hr)) return hr;
    auto* configurator = new cfgsim::ConfiguratorObject(offerEvents);
    configurator->events.failAdvise = adviseResult;
    BSTR name = nullptr;
    hr = plugin->Init(configurator, &name);
    if (FAILED(hr)) {
        hr = CalleeFailed(plugin, IID_IConfigPluginHost, hr, excep);
    } else {
        if (result) {
            VariantInit(result);
            result->vt = VT_BSTR;
            result->bstrVal = name;
            name = nullptr;
        }
        plugin->Done();
    }
    SysFreeString(name);
    plugin->Release();
    configurator->Release();
    return hr;
}

class Host final : public cfgsim::ComObject<IDispatch> {
public:
    Host() : ComObject(IID_IDispatch) {}
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
        if (n != 1 || _wcsicmp(names[0], L"StartPlugin") != 0) {
            if (n) ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = kStartPlugin;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* result,
                                     EXCEPINFO* excep, UINT*) override {
        if (id != kStartPlugin) return DISP_E_MEMBERNOTFOUND;
        if (!p || p->cArgs != 2 || p->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
        VARIANT offer, advise;  // arguments arrive in reverse order
        VariantInit(&offer);
        VariantInit(&advise);
        if (FAILED(VariantChangeType(&offer, &p->rgvarg[1], 0, VT_BOOL)) ||
            FAILED(VariantChangeType(&advise, &p->rgvarg[0], 0, VT_I4)))
            return DISP_E_TYPEMISMATCH;
        return StartPlugin(offer.boolVal != VARIANT_FALSE, advise.lVal, result, excep);
    }
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = riid == IID_IUnknown || riid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* host = new Host();
        const HRESULT hr = host->QueryInterface(riid, ppv);
        host->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

LSTATUS SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return clsid == kClsid ? g_factory.QueryInterface(iid, ppv) : CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return S_FALSE; }

STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW(g_module, path, MAX_PATH)) return E_FAIL;
    const std::wstring server = std::wstring(kClsidKey) + L"\\InprocServer32";
    if (SetString(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidKey + 6) != ERROR_SUCCESS ||
        SetString(server, nullptr, path) != ERROR_SUCCESS ||
        SetString(server, L"ThreadingModel", L"Apartment") != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

STDAPI DllUnregisterServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClsidKey);
    return S_OK;
}

}  // extern "C"
