// Hidden record windows: creation, look-up and release with their host windows.
#include "host/records.h"

#include "win/com_error.h"
#include "win/module.h"

namespace tintmark {

const wchar_t kCfgWndDataClass[] = L"TCfgWndData";
const wchar_t kEditorDataClass[] = L"TEditorData";

namespace {

// The record goes with its window. Each attached record is counted as a live object; a
// window destroyed before its record was attached (creation failed half-way) holds none and
// releases nothing. The module is pinned, so this procedure stays mapped as long as any
// record window exists.
template <typename Record>
LRESULT CALLBACK RecordWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        if (auto* record = reinterpret_cast<Record*>(SetWindowLongPtrW(wnd, GWLP_USERDATA, 0))) {
            delete record;
            ModuleRelease();
        }
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

template <typename Record>
void RegisterRecordClass(const wchar_t* name) {
    WNDCLASSW wc{};
    if (GetClassInfoW(ModuleHandle(), name, &wc)) return;
    PinModule();
    wc.lpfnWndProc = RecordWindowProc<Record>;
    wc.hInstance = ModuleHandle();
    wc.lpszClassName = name;
    if (!RegisterClassW(&wc)) throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"RegisterClass failed");
}

template <typename Record>
Record* CreateRecord(HWND parent, const wchar_t* className) {
    RegisterRecordClass<Record>(className);
    // The window comes first, so that a failure leaves nothing to free.
    HWND wnd = CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr, ModuleHandle(), nullptr);
    if (!wnd) throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"CreateWindow failed");
    auto* record = new (std::nothrow) Record();
    if (!record) {
        DestroyWindow(wnd);
        throw std::bad_alloc();
    }
    record->Handle = wnd;
    ModuleAddRef();
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    return record;
}

bool HasClass(HWND wnd, const wchar_t* name) {
    wchar_t buffer[64];
    const int n = GetClassNameW(wnd, buffer, 64);
    return n > 0 && lstrcmpW(buffer, name) == 0;
}

}  // namespace

void UnregisterRecordClasses() {
    UnregisterClassW(kCfgWndDataClass, ModuleHandle());
    UnregisterClassW(kEditorDataClass, ModuleHandle());
}

TCfgWndData* CreateCfgWndData(HWND cfgWindow) { return CreateRecord<TCfgWndData>(cfgWindow, kCfgWndDataClass); }

TEditorData* CreateEditorData(HWND editor, TCfgWndData* owner) {
    TEditorData* data = CreateRecord<TEditorData>(editor, kEditorDataClass);
    data->CfgWndData = owner;
    // The look-up reads the editor's first child, so the marker goes to the top of the order.
    SetWindowPos(data->Handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return data;
}

TCfgWndData* FindCfgWndData(HWND cfgWindow) {
    if (!cfgWindow) return nullptr;
    HWND child = FindWindowExW(cfgWindow, nullptr, kCfgWndDataClass, nullptr);
    return child ? reinterpret_cast<TCfgWndData*>(GetWindowLongPtrW(child, GWLP_USERDATA)) : nullptr;
}

namespace {

BOOL CALLBACK CollectRecord(HWND child, LPARAM out) {
    if (HasClass(child, kCfgWndDataClass))
        if (auto* r = reinterpret_cast<TCfgWndData*>(GetWindowLongPtrW(child, GWLP_USERDATA)))
            reinterpret_cast<std::vector<TCfgWndData*>*>(out)->push_back(r);
    return TRUE;
}

BOOL CALLBACK CollectRecordsBelow(HWND top, LPARAM out) {
    EnumChildWindows(top, CollectRecord, out);
    return TRUE;
}

}  // namespace

std::vector<TCfgWndData*> AllCfgWndData() {
    std::vector<TCfgWndData*> out;
    EnumThreadWindows(GetCurrentThreadId(), CollectRecordsBelow, reinterpret_cast<LPARAM>(&out));
    return out;
}

TEditorData* FindEditorData(HWND editor) {
    if (!editor) return nullptr;
    HWND first = GetWindow(editor, GW_CHILD);
    // Only our own class's user data is a record: another window's user data is not ours to read.
    if (!first || !HasClass(first, kEditorDataClass)) return nullptr;
    return reinterpret_cast<TEditorData*>(GetWindowLongPtrW(first, GWLP_USERDATA));
}

TCfgWndData* CfgWndDataOfEditor(HWND editor) {
    TEditorData* data = FindEditorData(editor);
    return data ? data->CfgWndData : nullptr;
}

}  // namespace tintmark
