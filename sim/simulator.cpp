// The simulator's state: log, faults, documents, events and plugins.
#include "simulator.h"

#include <cstdio>

#include "host_objects.h"
#include "script_host.h"

namespace cfgsim {

Simulator& Simulator::Get() {
    static Simulator instance;
    return instance;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

void Simulator::Log(const std::wstring& line) {
    log.push_back(line);
    std::printf("%s\n", Utf8(line).c_str());
    std::fflush(stdout);
}

HRESULT Simulator::Enter(const char* operation) {
    ++calls[operation];
    auto it = faults.find(operation);
    if (it == faults.end() || it->second.countdown <= 0) return S_OK;
    if (--it->second.countdown > 0) return S_OK;
    const HRESULT hr = it->second.hr;
    faults.erase(it);
    char text[128];
    std::snprintf(text, sizeof text, "fault: %s failed with 0x%08lX", operation, static_cast<unsigned long>(hr));
    Log(Wide(text));
    return hr;
}

void Simulator::InjectFault(const std::string& operation, int nth, HRESULT hr) { faults[operation] = Fault{nth, hr}; }

Document* Simulator::DocumentOfWindow(HWND window) {
    for (auto& d : documents)
        if (d->window == window && window) return d.get();
    return nullptr;
}

Document* Simulator::DocumentByName(const std::wstring& name) {
    for (auto& d : documents)
        if (d->name == name && d->window && IsWindow(d->window)) return d.get();
    return nullptr;
}

Document* Simulator::ActiveDocument() {
    if (!mdiClient) return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDIGETACTIVE, 0, 0));
    return DocumentOfWindow(active);
}

void Simulator::FireConfigWindowCreate() {
    if (!configurator) return;
    Log(L"event ConfigWindowCreate");
    const HRESULT hr = configurator->events.Fire(0, {});
    if (FAILED(hr)) Log(L"event ConfigWindowCreate failed");
}

void Simulator::FireActivate(HWND window, bool active) {
    if (!configurator || !DocumentOfWindow(window)) return;
    Document* d = DocumentOfWindow(window);
    Log(std::wstring(L"event OnActivateWindow ") + d->name + (active ? L" active" : L" inactive"));
    ICfgWindow* w = WindowObject(window);
    VARIANT v, b;
    VariantInit(&v);
    VariantInit(&b);
    v.vt = VT_DISPATCH;
    v.pdispVal = w;
    b.vt = VT_BOOL;
    b.boolVal = active ? VARIANT_TRUE : VARIANT_FALSE;
    const HRESULT hr = configurator->events.Fire(8, {v, b});
    w->Release();
    if (FAILED(hr)) Log(L"event OnActivateWindow failed");
}

bool Simulator::FireQueryQuit() {
    if (!configurator) return false;
    VARIANT r;
    VariantInit(&r);
    configurator->events.Fire(11, {}, &r);
    const bool refuse = r.vt == VT_BOOL && r.boolVal != VARIANT_FALSE;
    VariantClear(&r);
    Log(refuse ? L"event OnQueryQuit: refused" : L"event OnQueryQuit: allowed");
    return refuse;
}

bool Simulator::LoadPlugin(const std::wstring& progId) {
    CLSID clsid{};
    Plugin p;
    p.progId = progId;
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IConfigPluginHost,
                              reinterpret_cast<void**>(&p.host));
    if (FAILED(hr)) {
        char text[64];
        std::snprintf(text, sizeof text, " (0x%08lX)", static_cast<unsigned long>(hr));
        Log(L"plugin " + progId + L": cannot create" + Wide(text));
        return false;
    }
    BSTR name = nullptr;
    hr = p.host->Init(configurator, &name);
    if (FAILED(hr)) {
        std::wstring why;
        IErrorInfo* info = nullptr;
        if (GetErrorInfo(0, &info) == S_OK && info) {
            BSTR d = nullptr;
            info->GetDescription(&d);
            if (d) why = L": " + std::wstring(d, SysStringLen(d));
            SysFreeString(d);
            info->Release();
        }
        Log(L"plugin " + progId + L": Init failed" + why);
        p.host->Release();
        return false;
    }
    p.name = name ? std::wstring(name, SysStringLen(name)) : L"";
    SysFreeString(name);
    p.host->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&p.dispatch));
    Log(L"plugin " + progId + L": Init answered \"" + p.name + L"\"");
    plugins.push_back(p);
    return true;
}

void Simulator::UnloadPlugins() {
    UnloadScripts();  // scripts hold the plugins' objects
    for (auto& p : plugins) {
        p.host->Done();
        Log(L"plugin " + p.name + L": Done");
        if (p.dispatch) p.dispatch->Release();
        p.host->Release();
    }
    plugins.clear();
}

IDispatch* Simulator::PluginByName(const std::wstring& name) {
    if (name == L"\x0422\x0435\x043B\x0435\x043F\x0430\x0442" && telepat) return telepat;  // «Телепат»
    for (auto& p : plugins)
        if (_wcsicmp(p.name.c_str(), name.c_str()) == 0) return p.dispatch;
    return nullptr;
}

}  // namespace cfgsim
