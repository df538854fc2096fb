// A small plugin host: creates a plugin by ProgID, starts it with a minimal configurator
// and prints the name it answers, then stops it.
//   plugin_host [PROGID]
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "mini_configurator.h"

int wmain(int argc, wchar_t** argv) {
    const wchar_t* progId = argc > 1 ? argv[1] : L"Tintmark.TintmarkPlugin";
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int rc = 1;
    CLSID clsid{};
    IConfigPluginHost* plugin = nullptr;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IConfigPluginHost,
                              reinterpret_cast<void**>(&plugin));
    if (FAILED(hr)) {
        fwprintf(stderr, L"plugin_host: cannot create %ls (0x%08lX); is it registered?\n", progId,
                 static_cast<unsigned long>(hr));
    } else {
        tintmark::minihost::FakeConfigurator configurator(true);
        BSTR name = nullptr;
        hr = plugin->Init(static_cast<IConfigurator*>(&configurator), &name);
        if (SUCCEEDED(hr)) {
            // The name is UTF-16; print it as UTF-8.
            char utf8[256] = {};
            WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
            printf("plugin name: %s\n", utf8);
            printf("events connected: %d\n", configurator.point.Connected());
            SysFreeString(name);
            plugin->Done();
            printf("after Done: events connected %d, configurator references %ld\n",
                   configurator.point.Connected(), configurator.refs);
            rc = 0;
        } else {
            fwprintf(stderr, L"plugin_host: Init failed (0x%08lX)\n", static_cast<unsigned long>(hr));
        }
        plugin->Release();
    }
    CoUninitialize();
    return rc;
}
