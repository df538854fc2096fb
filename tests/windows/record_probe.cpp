// record_probe.dll: the per-window records in a DLL of their own, so that a test can free
// the library while one of its record windows exists.
#include <windows.h>

#include "win/module.h"
#include "host/records.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) tintmark::SetModuleHandle(instance);
    return TRUE;
}

// A configurator-window record under parent; its window handle, or null on failure.
__declspec(dllexport) HWND CreateProbeRecord(HWND parent) {
    try {
        return tintmark::CreateCfgWndData(parent)->Handle;
    } catch (...) {
        return nullptr;
    }
}

}  // extern "C"
