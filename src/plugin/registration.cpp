// Registry entries of the control (CLSID, ProgID, control keys) and of its type library.
#include <string>

#include "win/com_error.h"
#include "win/handles.h"
#include "win/module.h"
#include "plugin/server.h"
#include "tintmark_h.h"

namespace tintmark {

namespace {
constexpr UINT kProgIdResource = 100;
const wchar_t kControlDescription[] = L"TintmarkPlugin Control";

std::wstring GuidString(REFGUID guid) {
    wchar_t buffer[40];
    if (!StringFromGUID2(guid, buffer, 40)) throw ComError(E_FAIL, L"StringFromGUID2 failed");
    return buffer;
}

std::wstring ProgId() {
    const wchar_t* text = nullptr;
    const int n = LoadStringW(ModuleHandle(), kProgIdResource, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) throw ComError(E_FAIL, L"ProgID string resource is missing");
    return std::wstring(text, static_cast<size_t>(n));
}

// Writes the default value (or a named value) of HKCR\path, creating the key.
void SetValue(const std::wstring& path, const wchar_t* name, const std::wstring& data) {
    UniqueHkey key;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    if (rc != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(rc), L"Cannot create HKCR\\" + path);
    rc = RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(rc), L"Cannot write HKCR\\" + path);
}

void DeleteTree(const std::wstring& path) {
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ComError(HRESULT_FROM_WIN32(rc), L"Cannot delete HKCR\\" + path);
}

// The type library's "major.minor", the version a control's clients look for.
std::wstring TypeLibVersion() {
    TLIBATTR* attr = nullptr;
    ITypeLib* lib = PluginTypeLib();
    ThrowIfFailed(lib->GetLibAttr(&attr), L"GetLibAttr");
    const std::wstring version = std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum);
    lib->ReleaseTLibAttr(attr);
    return version;
}
}  // namespace

HRESULT RegisterServer() {
    return ComBoundary([] {
        const std::wstring path = ModulePath();
        const std::wstring clsid = L"CLSID\\" + GuidString(CLSID_TintmarkPlugin);
        const std::wstring progId = ProgId();

        SetValue(clsid, nullptr, kControlDescription);
        SetValue(clsid + L"\\InprocServer32", nullptr, path);
        SetValue(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        SetValue(clsid + L"\\ProgID", nullptr, progId);
        SetValue(clsid + L"\\Control", nullptr, L"");
        SetValue(clsid + L"\\MiscStatus", nullptr, L"0");
        SetValue(clsid + L"\\MiscStatus\\1", nullptr, std::to_wstring(0x12000));
        SetValue(clsid + L"\\ToolboxBitmap32", nullptr, path + L",1");
        SetValue(clsid + L"\\TypeLib", nullptr, GuidString(LIBID_Tintmark));
        SetValue(clsid + L"\\Version", nullptr, TypeLibVersion());
        SetValue(progId, nullptr, kControlDescription);
        SetValue(progId + L"\\CLSID", nullptr, GuidString(CLSID_TintmarkPlugin));

        std::wstring pathCopy = path;  // the API takes a non-const string
        ThrowIfFailed(RegisterTypeLib(PluginTypeLib(), pathCopy.data(), nullptr), L"RegisterTypeLib");
    });
}

HRESULT UnregisterServer() {
    return ComBoundary([] {
        DeleteTree(L"CLSID\\" + GuidString(CLSID_TintmarkPlugin));
        DeleteTree(ProgId());
        TLIBATTR* attr = nullptr;
        ITypeLib* lib = PluginTypeLib();
        ThrowIfFailed(lib->GetLibAttr(&attr), L"GetLibAttr");
        const TLIBATTR copy = *attr;
        lib->ReleaseTLibAttr(attr);
        // Unregistering twice is not an error: what is not registered is already gone.
        BSTR registered = nullptr;
        if (FAILED(QueryPathOfRegTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, &registered)))
            return;
        SysFreeString(registered);
        ThrowIfFailed(UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind),
                      L"UnRegisterTypeLib");
    });
}

}  // namespace tintmark
