// Module handle, object counting and the cached type library.
#include "win/module.h"

#include <cstring>
#include <map>
#include <utility>

#include "win/com_error.h"
#include "win/handles.h"

namespace tintmark {
namespace {
HMODULE g_module = nullptr;
LONG g_liveCount = 0;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return memcmp(&a, &b, sizeof(GUID)) < 0; }
};

// Kept in plain pointers so that no Release runs from static destructors, which may run
// after oleaut32 has gone at process exit; ReleaseTypeLibCache frees them on unload.
ITypeLib* g_typeLib = nullptr;
std::map<GUID, ITypeInfo*, GuidLess>* g_typeInfos = nullptr;
}  // namespace

HMODULE ModuleHandle() { return g_module ? g_module : GetModuleHandleW(nullptr); }
void SetModuleHandle(HMODULE module) { g_module = module; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(ModuleHandle(), path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"GetModuleFileName failed");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ModuleAddRef() { InterlockedIncrement(&g_liveCount); }

void ModuleRelease() {
    for (LONG n = g_liveCount; n > 0;) {
        const LONG seen = InterlockedCompareExchange(&g_liveCount, n - 1, n);
        if (seen == n) return;
        n = seen;
    }
}

bool ModuleCanUnload() { return g_liveCount == 0; }

void PinModule() {
    static LONG pinned = 0;
    if (InterlockedExchange(&pinned, 1)) return;
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&PinModule), &self);
}

ITypeLib* PluginTypeLib() {
    if (!g_typeLib) {
        const std::wstring path = ModulePath();
        ThrowIfFailed(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &g_typeLib), L"LoadTypeLibEx");
    }
    return g_typeLib;
}

ITypeInfo* PluginTypeInfo(REFGUID iid) {
    if (!g_typeInfos) g_typeInfos = new std::map<GUID, ITypeInfo*, GuidLess>();
    ITypeInfo*& slot = (*g_typeInfos)[iid];
    if (!slot) ThrowIfFailed(PluginTypeLib()->GetTypeInfoOfGuid(iid, &slot), L"GetTypeInfoOfGuid");
    return slot;
}

void ReleaseTypeLibCache() {
    if (g_typeInfos) {
        for (auto& entry : *g_typeInfos)
            if (entry.second) entry.second->Release();
        delete g_typeInfos;
        g_typeInfos = nullptr;
    }
    if (g_typeLib) std::exchange(g_typeLib, nullptr)->Release();
}

}  // namespace tintmark
