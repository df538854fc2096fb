// Script commands about plugins and the host's bookkeeping: loading, calls through
// IDispatch, script files, quitting, fault injection and call counts.
#include <cwchar>

#include "frame.h"
#include "host_objects.h"
#include "script_commands.h"
#include "script_host.h"

namespace cfgsim {

namespace {

VARIANT Value(const std::wstring& s) {
    VARIANT v;
    VariantInit(&v);
    if (s == L"true" || s == L"false") {
        v.vt = VT_BOOL;
        v.boolVal = s == L"true" ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    wchar_t* end = nullptr;
    const long long n = std::wcstoll(s.c_str(), &end, 0);
    if (!s.empty() && !*end) {
        v.vt = VT_I4;
        v.lVal = static_cast<long>(n);
    } else {
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(s.c_str());
    }
    return v;
}

// Calls a method or writes a property of a plugin through IDispatch, as a script engine does.
void Dispatch(const std::wstring& plugin, const std::wstring& member, const VARIANT* value, bool log = true) {
    IDispatch* d = Simulator::Get().PluginByName(plugin);
    if (!d) throw ScriptError{L"no plugin " + plugin};
    LPOLESTR names[] = {const_cast<LPOLESTR>(member.c_str())};
    DISPID id = 0;
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw ScriptError{L"no member " + member};
    VARIANT arg;
    VariantInit(&arg);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    if (value) {
        VariantCopy(&arg, const_cast<VARIANT*>(value));
        params = DISPPARAMS{&arg, &named, 1, 1};
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, value ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD, &params,
                   &result, &excep, nullptr);
    VariantClear(&arg);
    VariantClear(&result);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
    std::wstring why = excep.bstrDescription ? excep.bstrDescription : L"";
    SysFreeString(excep.bstrDescription);
    if (!log && SUCCEEDED(hr)) return;
    wchar_t code[32];
    swprintf(code, 32, L"0x%08lX", static_cast<unsigned long>(hr));
    Simulator::Get().Log(plugin + L"." + member + L" -> " + code + (why.empty() ? L"" : L" " + why));
}

}  // namespace

void CallPluginMethod(const std::wstring& plugin, const std::wstring& method) { Dispatch(plugin, method, nullptr, false); }

void AddPluginCommands(CommandTable& t) {
    t[L"load"] = {[](ScriptContext&, const Words& w) {
                      if (!Simulator::Get().LoadPlugin(w[1])) throw ScriptError{L"plugin " + w[1] + L" did not start"};
                  }, 2};
    t[L"unload"] = {[](ScriptContext&, const Words&) { Simulator::Get().UnloadPlugins(); }};
    t[L"call"] = {[](ScriptContext&, const Words& w) { Dispatch(w[1], w[2], nullptr); }, 3};
    t[L"set"] = {[](ScriptContext&, const Words& w) {
                     VARIANT v = Value(w[3]);
                     Dispatch(w[1], w[2], &v);
                     VariantClear(&v);
                 }, 4};
    t[L"run-script"] = {[](ScriptContext& ctx, const Words& w) {
                            std::wstring error;
                            if (!RunScriptFile(ctx.Path(w[1]), DecodeScript(ReadFile(ctx.Path(w[1]))), error))
                                throw ScriptError{w[1] + L": " + error};
                            Simulator::Get().Log(L"ran " + w[1]);
                        }, 2};
    t[L"load-script"] = {[](ScriptContext& ctx, const Words& w) {
                             std::wstring error;
                             if (!LoadScriptFile(ctx.Path(w[1]), DecodeScript(ReadFile(ctx.Path(w[1]))), error))
                                 throw ScriptError{w[1] + L": " + error};
                             Simulator::Get().Log(L"loaded " + w[1]);
                         }, 2};
    t[L"macros"] = {[](ScriptContext&, const Words& w) {
                        std::vector<std::wstring> macros;
                        std::wstring error;
                        if (!ListMacros(w[1], macros, error)) throw ScriptError{error};
                        std::wstring line = L"macros " + w[1] + L":";
                        for (const auto& m : macros) line += L" " + m;
                        Simulator::Get().Log(line);
                    }, 2};
    t[L"macro"] = {[](ScriptContext&, const Words& w) {
                       std::wstring error;
                       if (!RunMacro(w[1], w[2], error)) throw ScriptError{w[1] + L"." + w[2] + L": " + error};
                       Simulator::Get().Log(L"macro " + w[1] + L"." + w[2]);
                   }, 3};
    t[L"quit"] = {[](ScriptContext&, const Words&) {
                      if (RequestQuit()) throw ScriptQuit{};
                  }};
    t[L"fail"] = {[](ScriptContext&, const Words& w) {
                      Simulator::Get().InjectFault(Utf8(w[1]), static_cast<int>(Number(w[2])),
                                                   static_cast<HRESULT>(Number(w[3])));
                  }, 4};
    t[L"reset-calls"] = {[](ScriptContext&, const Words&) { Simulator::Get().calls.clear(); }};
    t[L"calls"] = {[](ScriptContext&, const Words&) {
                       std::wstring line = L"calls:";
                       for (const auto& [op, n] : Simulator::Get().calls)
                           if (n) line += L" " + Wide(op) + L" " + std::to_wstring(n);
                       Simulator::Get().Log(line);
                   }};
    t[L"remember-refs"] = {[](ScriptContext& ctx, const Words&) {
                               ctx.rememberedRefs = Simulator::Get().configurator->RefCount();
                           }};
    t[L"wait"] = {[](ScriptContext&, const Words& w) { Sleep(static_cast<DWORD>(Number(w[1]))); }, 2};
}

}  // namespace cfgsim
