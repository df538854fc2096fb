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

// Objects and server locks that keep the module loaded (DllCanUnloadNow answers from these).
void ModuleAddRef();
void ModuleRelease();
bool ModuleCanUnload();

// Keeps the DLL mapped until the process ends; done before the first window procedure or
// window class of ours goes into the host's windows, whose messages may outlive the plugin.
void PinModule();

// The embedded type library (resource 1) and the type info of one of its interfaces.
// Both are loaded once and kept for the life of the module.
ITypeLib* PluginTypeLib();
ITypeInfo* PluginTypeInfo(REFGUID iid);
void ReleaseTypeLibCache();

}  // namespace tintmark
