// The in-process server: class factory and registration of the control and its type library.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace tintmark {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv);
HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace tintmark
