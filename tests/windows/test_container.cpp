// The tests' ActiveX container.
#include "test_container.h"

namespace tintmark::test {

int RecordingSink::Count(DISPID id) const {
    int n = 0;
    for (DISPID e : Events) n += e == id ? 1 : 0;
    return n;
}

HRESULT RecordingSink::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingSink::GetTypeInfoCount(UINT* n) {
    if (n) *n = 0;
    return S_OK;
}

HRESULT RecordingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    Events.push_back(id);
    if (OnEvent) OnEvent(id);
    if (id == 207 && params && params->cArgs == 1 && params->rgvarg[0].vt == (VT_I2 | VT_BYREF)) {
        short* key = params->rgvarg[0].piVal;
        KeysSeen.push_back(*key);
        if (ReplaceKeyWith >= 0) *key = ReplaceKeyWith;
    }
    return S_OK;
}

namespace {
const wchar_t kContainerClass[] = L"TintmarkTestContainer";
}

TestContainer::TestContainer() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kContainerClass;
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kContainerClass, L"container", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 760,
                              540, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window_);
}

TestContainer::~TestContainer() { DestroyWindow(window_); }

HRESULT TestContainer::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IOleControlSite)
        *ppv = static_cast<IOleControlSite*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

HRESULT TestContainer::GetMoniker(DWORD, DWORD, IMoniker** m) {
    if (m) *m = nullptr;
    return E_NOTIMPL;
}

HRESULT TestContainer::GetContainer(IOleContainer** c) {
    if (c) *c = nullptr;
    return E_NOINTERFACE;
}

HRESULT TestContainer::GetWindow(HWND* wnd) {
    *wnd = window_;
    return S_OK;
}

HRESULT TestContainer::OnInPlaceActivate() {
    ++InPlaceActivations;
    return S_OK;
}

HRESULT TestContainer::OnUIActivate() {
    ++UIActivations;
    return S_OK;
}

HRESULT TestContainer::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                        LPOLEINPLACEFRAMEINFO info) {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    *doc = nullptr;
    *pos = Position;
    GetClientRect(window_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT TestContainer::OnUIDeactivate(BOOL) {
    ++UIDeactivations;
    return S_OK;
}

HRESULT TestContainer::OnInPlaceDeactivate() {
    ++InPlaceDeactivations;
    return S_OK;
}

HRESULT TestContainer::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    ActiveObject = active;
    return S_OK;
}

HRESULT TestContainer::GetExtendedControl(IDispatch** d) {
    if (d) *d = nullptr;
    return E_NOTIMPL;
}

HRESULT TestContainer::TranslateAccelerator(MSG* msg, DWORD) {
    Accelerators.push_back(*msg);
    return S_FALSE;
}

}  // namespace tintmark::test
