// Entry points of the in-process server.
#include <windows.h>
#include <unknwn.h>

#include "win/module.h"
#include "control/plugin_form.h"
#include "menus/styler_manager.h"
#include "host/records.h"
#include "plugin/server.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        tintmark::SetModuleHandle(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) { return tintmark::GetClassObject(clsid, iid, ppv); }

STDAPI DllCanUnloadNow() {
    if (!tintmark::ModuleCanUnload()) return S_FALSE;
    tintmark::ReleaseTypeLibCache();
    tintmark::UnregisterRecordClasses();
    tintmark::UnregisterFormClass();
    tintmark::menus::UnregisterMenuClasses();
    return S_OK;
}

STDAPI DllRegisterServer() { return tintmark::RegisterServer(); }

STDAPI DllUnregisterServer() { return tintmark::UnregisterServer(); }

}  // extern "C"
