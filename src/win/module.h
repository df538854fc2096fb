// The module that holds the plugin: its handle, its live-object count and its type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace tintmark {

// The DLL's handle once DllMain has run; the executable's handle when linked into a program.
HMODULE ModuleHandle();
void SetModuleHandle(HMODULE module);
std::wstring ModulePath();

// Objects, server locks and record windows that keep the module loaded (DllCanUnloadNow
// answers from these). A release at zero leaves the count at zero.
void ModuleAddRef();
void ModuleRelease();
bool ModuleCanUnload();

// Keeps the module mapped until the process ends (done once; later calls do nothing). Called
// before a window procedure of ours is given to a window, so that no window ever calls into
// an unloaded DLL, whether the host asks DllCanUnloadNow first or frees the library directly.
void PinModule();

// The embedded type library (resource 1) and the type info of one of its interfaces.
// Both are loaded once and kept for the life of the module.
ITypeLib* PluginTypeLib();
ITypeInfo* PluginTypeInfo(REFGUID iid);
void ReleaseTypeLibCache();

}  // namespace tintmark
