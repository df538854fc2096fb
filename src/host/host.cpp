// Host operations: each call's HRESULT is tested and a failure throws with the operation's name.
#include "host/host.h"

#include "win/com_error.h"

namespace tintmark::host {

namespace {

std::wstring Take(BSTR b) {
    UniqueBstr owned(b);
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

VARIANT Long(LONG n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

template <typename T>
ComPtr<T> Required(ComPtr<T> p, const wchar_t* operation) {
    if (!p) throw ComError(E_POINTER, std::wstring(operation) + L" returned nothing");
    return p;
}

}  // namespace

HWND ToHwnd(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<ULONG>(handle))); }

std::wstring GetWorkFolder(IConfigurator* cfg) {
    BSTR folder = nullptr;
    ThrowIfFailed(cfg->GetWorkFolder(&folder), L"GetWorkFolder");
    return Take(folder);
}

void ShowMessageLine(IConfigurator* cfg, const std::wstring& text, LONG kind) {
    UniqueBstr b(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    ThrowIfFailed(cfg->ShowMessageLine(b.get(), kind), L"ShowMessageLine");
}

void RunCommand(IConfigurator* cfg, LONG command) { ThrowIfFailed(cfg->RunCommand(command), L"RunCommand"); }

ComPtr<IDispatch> PluginByName(IConfigurator* cfg, const std::wstring& name) {
    ComPtr<IPluginList> list;
    ThrowIfFailed(cfg->GetPluginList(list.put()), L"GetPluginList");
    Required(list, L"GetPluginList");
    UniqueVariant arg;
    arg.get()->vt = VT_BSTR;
    arg.get()->bstrVal = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    ComPtr<IDispatch> plugin;
    ThrowIfFailed(list->PluginByName(*arg.get(), plugin.put()), L"PluginByName");
    return Required(plugin, L"PluginByName");
}

ComPtr<ICfgWindowList> GetWindowList(IConfigurator* cfg) {
    ComPtr<ICfgWindowList> list;
    ThrowIfFailed(cfg->GetWindowList(list.put()), L"GetWindowList");
    return Required(list, L"GetWindowList");
}

HWND GetConfigWindowHandle(IConfigurator* cfg) {
    ComPtr<IMDWindow> wnd;
    ThrowIfFailed(cfg->GetConfigWindow(wnd.put()), L"GetConfigWindow");
    Required(wnd, L"GetConfigWindow");
    LONG h = 0;
    ThrowIfFailed(wnd->GetConfigWindowHandle(&h), L"GetConfigWindowHandle");
    return ToHwnd(h);
}

HWND GetMainWindowHandle(IConfigurator* cfg) {
    ComPtr<ICfgWindow> main;
    ThrowIfFailed(GetWindowList(cfg)->GetMainWindow(main.put()), L"GetMainWindow");
    return GetWindowHandle(Required(main, L"GetMainWindow").get());
}

ComPtr<ICfgWindow> GetActiveCfgWindow(IConfigurator* cfg) {
    ComPtr<ICfgWindow> wnd;
    ThrowIfFailed(GetWindowList(cfg)->GetActiveCfgWindow(wnd.put()), L"GetActiveCfgWindow");
    return wnd;
}

ComPtr<ICfgWindow> GetFirstCfgWindow(ICfgWindowList* list) {
    ComPtr<ICfgWindow> wnd;
    ThrowIfFailed(list->GetFirstCfgWindow(wnd.put()), L"GetFirstCfgWindow");
    return wnd;
}

ComPtr<ICfgWindow> GetNextCfgWindow(ICfgWindowList* list, ICfgWindow* after) {
    ComPtr<ICfgWindow> wnd;
    ThrowIfFailed(list->GetNextCfgWindow(after, wnd.put()), L"GetNextCfgWindow");
    return wnd;
}

HWND GetWindowHandle(ICfgWindow* wnd) {
    LONG h = 0;
    ThrowIfFailed(wnd->GetWindowHandle(&h), L"GetWindowHandle");
    return ToHwnd(h);
}

ComPtr<ICfgDoc> GetDocument(ICfgWindow* wnd) {
    ComPtr<ICfgDoc> doc;
    ThrowIfFailed(wnd->GetDocument(doc.put()), L"GetDocument");
    return Required(doc, L"GetDocument");
}

LONG GetDocKind(ICfgDoc* doc) {
    LONG kind = 0;
    ThrowIfFailed(doc->GetDocKind(&kind), L"GetDocKind");
    return kind;
}

LONG GetDocId(ICfgDoc* doc) {
    LONG id = 0;
    ThrowIfFailed(doc->GetDocId(&id), L"GetDocId");
    return id;
}

std::wstring GetDocName(ICfgDoc* doc) {
    BSTR name = nullptr;
    ThrowIfFailed(doc->GetDocName(&name), L"GetDocName");
    return Take(name);
}

std::wstring GetDocPath(ICfgDoc* doc) {
    BSTR path = nullptr;
    ThrowIfFailed(doc->GetDocPath(&path), L"GetDocPath");
    return Take(path);
}

ComPtr<ICfgDoc> GetPage(ICfgDoc* multiPage, LONG index) {
    auto* pages = reinterpret_cast<IMultiPageDoc*>(multiPage);
    ComPtr<ICfgDoc> page;
    ThrowIfFailed(pages->GetPage(Long(index), page.put()), L"GetPage");
    return Required(page, L"GetPage");
}

bool ActivePageIsFirst(ICfgDoc* multiPage) {
    auto* pages = reinterpret_cast<IMultiPageDoc*>(multiPage);
    UniqueVariant index;
    ThrowIfFailed(pages->GetActivePage(index.put()), L"GetActivePage");
    VARIANT n;
    VariantInit(&n);
    if (FAILED(VariantChangeType(&n, index.get(), 0, VT_I4))) return false;
    return n.lVal == 1;
}

ComPtr<ITextDoc> AsTextDocument(ICfgDoc* doc) {
    ComPtr<ITextDoc> text;
    ThrowIfFailed(doc->QueryInterface(IID_ITextDoc, text.put_void()), L"QueryInterface(ITextDoc)");
    return text;
}

bool GetTextFlag(ITextDoc* doc) {
    VARIANT_BOOL flag = VARIANT_FALSE;
    ThrowIfFailed(doc->GetTextFlag(&flag), L"GetTextFlag");
    return flag != VARIANT_FALSE;
}

LONG GetLineCount(ITextDoc* doc) {
    LONG n = 0;
    ThrowIfFailed(doc->GetLineCount(&n), L"GetLineCount");
    return n;
}

std::wstring GetText(ITextDoc* doc) {
    BSTR text = nullptr;
    ThrowIfFailed(doc->GetText(&text), L"GetText");
    return Take(text);
}

bool GetBookmark(ITextDoc* doc, LONG line) {
    VARIANT_BOOL set = VARIANT_FALSE;
    ThrowIfFailed(doc->GetBookmark(line, &set), L"GetBookmark");
    return set != VARIANT_FALSE;
}

void SetBookmark(ITextDoc* doc, LONG line, bool on) {
    ThrowIfFailed(doc->SetBookmark(line, on ? VARIANT_TRUE : VARIANT_FALSE), L"SetBookmark");
}

LONG NextBookmark(ITextDoc* doc, LONG line) {
    LONG next = -1;
    ThrowIfFailed(doc->NextBookmark(line, &next), L"NextBookmark");
    return next;
}

}  // namespace tintmark::host
