// The real DLL as a COM server: regsvr32 round trip, creation by ProgID, honest unloading.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "host_h.h"
#include "tintmark_h.h"

namespace {

std::wstring g_dll;  // Windows path of tintmark.dll

std::wstring ToWindowsPath(const char* path) {
    std::wstring w;
    for (const char* p = path; *p; ++p) w += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return path[0] == '/' ? L"Z:" + w : w;  // a Unix path reaches the program as is under Wine
}

DWORD RunProgram(std::wstring command) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0xFFFFFFFE;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::wstring Guid(REFGUID g) {
    wchar_t b[40];
    StringFromGUID2(g, b, 40);
    return b;
}

bool KeyExists(const std::wstring& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buf;
}

std::string N(const std::wstring& w) { return std::string(w.begin(), w.end()); }

const std::wstring kClsid = L"CLSID\\" + Guid(CLSID_TintmarkPlugin);

std::vector<std::wstring> WrittenKeys() {
    return {kClsid, L"Tintmark.TintmarkPlugin", L"TypeLib\\" + Guid(LIBID_Tintmark),
            L"Interface\\" + Guid(IID_ITintmarkPlugin)};
}

}  // namespace

TEST(ComServer, RegisterCreateAndUnregisterRoundTrip) {
    ASSERT_EQ(RunProgram(L"regsvr32.exe /s /u \"" + g_dll + L"\""), 0u);  // start clean
    for (const auto& k : WrittenKeys()) ASSERT_FALSE(KeyExists(k)) << N(k);

    ASSERT_EQ(RunProgram(L"regsvr32.exe /s \"" + g_dll + L"\""), 0u);
    EXPECT_EQ(Value(kClsid), L"TintmarkPlugin Control");
    EXPECT_EQ(lstrcmpiW(Value(kClsid + L"\\InprocServer32").c_str(), g_dll.c_str()), 0)
        << N(Value(kClsid + L"\\InprocServer32"));
    EXPECT_EQ(Value(kClsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Value(kClsid + L"\\ProgID"), L"Tintmark.TintmarkPlugin");
    EXPECT_TRUE(KeyExists(kClsid + L"\\Control"));
    EXPECT_EQ(Value(kClsid + L"\\MiscStatus\\1"), L"73728");
    EXPECT_EQ(lstrcmpiW(Value(kClsid + L"\\ToolboxBitmap32").c_str(), (g_dll + L",1").c_str()), 0);
    EXPECT_EQ(Value(kClsid + L"\\TypeLib"), Guid(LIBID_Tintmark));
    EXPECT_EQ(Value(kClsid + L"\\Version"), TINTMARK_TLB_VERSION);
    EXPECT_EQ(Value(L"Tintmark.TintmarkPlugin\\CLSID"), Guid(CLSID_TintmarkPlugin));
    EXPECT_EQ(Value(L"TypeLib\\" + Guid(LIBID_Tintmark) + L"\\" + TINTMARK_TLB_VERSION), L"TintmarkPlugin Library");
    EXPECT_TRUE(KeyExists(L"Interface\\" + Guid(IID_ITintmarkPlugin)));

    // Created by ProgID as a host does, answering both of its interfaces.
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Tintmark.TintmarkPlugin", &clsid), S_OK);
    IConfigPluginHost* host = nullptr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IConfigPluginHost,
                               reinterpret_cast<void**>(&host)),
              S_OK);
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(host->GetPluginCaps(1, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    ITintmarkPlugin* plugin = nullptr;
    ASSERT_EQ(host->QueryInterface(IID_ITintmarkPlugin, reinterpret_cast<void**>(&plugin)), S_OK);
    EXPECT_EQ(plugin->put_GutterColor(0x00FFEEDD), S_OK);
    plugin->Release();
    host->Release();
    CoFreeUnusedLibraries();

    ASSERT_EQ(RunProgram(L"regsvr32.exe /s /u \"" + g_dll + L"\""), 0u);
    for (const auto& k : WrittenKeys()) EXPECT_FALSE(KeyExists(k)) << N(k);
}

TEST(ComServer, CanUnloadNowOnlyWhenNothingLives) {
    HMODULE dll = LoadLibraryW(g_dll.c_str());
    ASSERT_NE(dll, nullptr);
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    auto canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_TRUE(getClassObject && canUnload);

    EXPECT_EQ(canUnload(), S_OK);
    IClassFactory* factory = nullptr;
    EXPECT_EQ(getClassObject(IID_IDispatch, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(getClassObject(CLSID_TintmarkPlugin, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    IUnknown* object = nullptr;
    IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&object)), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(canUnload(), S_FALSE);  // the object and the lock
    object->Release();
    EXPECT_EQ(canUnload(), S_FALSE);  // the lock
    ASSERT_EQ(getClassObject(CLSID_TintmarkPlugin, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(canUnload(), S_OK);
    FreeLibrary(dll);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: com_server_tests PATH_TO_TINTMARK_DLL\n");
        return 2;
    }
    g_dll = ToWindowsPath(argv[1]);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int rc = RUN_ALL_TESTS();
    CoUninitialize();
    return rc;
}
