// The control's identity inside the plugin object and its IOleObject: site, verbs, extent,
// status and advise sinks.
#include "win/com_error.h"
#include "control/control.h"
#include "tintmark_h.h"

namespace tintmark {

namespace {
constexpr DWORD kMiscStatus = OLEMISC_SIMPLEFRAME | OLEMISC_ACTSLIKELABEL;  // 0x12000

LONG PixelsToHimetric(int pixels, int dpi) { return MulDiv(pixels, 2540, dpi); }
}  // namespace

TPluginControl::TPluginControl(IUnknown& outer)
    : Events(outer, *static_cast<IConnectionPointContainer*>(this)), outer_(outer) {
    HDC screen = GetDC(nullptr);
    extent_.cx = PixelsToHimetric(TPluginForm::kWidth, GetDeviceCaps(screen, LOGPIXELSX));
    extent_.cy = PixelsToHimetric(TPluginForm::kHeight, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    Form.OnEvent = [this](DISPID id) { FireEvent(id); };
    Form.OnKeyPress = [this](short& key) { FireEvent(kOnKeyPress, &key); };
    Form.OnKeyUnused = [this](WPARAM key) {
        // Characters the form does not use go to the container, as the client left them.
        ComPtr<IOleControlSite> controlSite;
        if (!site_ || FAILED(site_->QueryInterface(IID_IOleControlSite, controlSite.put_void()))) return;
        MSG msg{Form.Handle(), WM_CHAR, key, 0, static_cast<DWORD>(GetMessageTime()), {}};
        GetCursorPos(&msg.pt);
        DWORD modifiers = 0;
        if (GetKeyState(VK_SHIFT) < 0) modifiers |= 1;
        if (GetKeyState(VK_CONTROL) < 0) modifiers |= 2;
        if (GetKeyState(VK_MENU) < 0) modifiers |= 4;
        controlSite->TranslateAccelerator(&msg, modifiers);
    };
    Form.OnChanged = [this] { ViewChanged(); };
}

TPluginControl::~TPluginControl() {
    // The window goes while the members it reports to still exist, and tells nobody.
    Form.OnEvent = nullptr;
    Form.OnKeyPress = nullptr;
    Form.OnKeyUnused = nullptr;
    Form.OnChanged = nullptr;
    Form.OnCreated = nullptr;
    Form.OnDestroying = nullptr;
    Form.Destroy();
}

bool TPluginControl::Query(REFIID riid, void** ppv) {
    void* p = nullptr;
    if (riid == IID_IOleObject) p = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) p = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject) p = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IOleControl) p = static_cast<IOleControl*>(this);
    else if (riid == IID_IViewObject || riid == IID_IViewObject2) p = static_cast<IViewObject2*>(this);
    else if (riid == IID_IPersist || riid == IID_IPersistStreamInit) p = static_cast<IPersistStreamInit*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2) p = static_cast<IProvideClassInfo2*>(this);
    else if (riid == IID_IConnectionPointContainer) p = static_cast<IConnectionPointContainer*>(this);
    if (!p) return false;
    *ppv = p;
    outer_.AddRef();
    return true;
}

void TPluginControl::FireEvent(DISPID id, short* key) {
    if (frozen_ > 0) return;  // a container that froze events does not want them
    Events.Fire(id, key);
}

void TPluginControl::ViewChanged() {
    dirty_ = true;
    if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

// ---- IOleObject ----

HRESULT TPluginControl::SetClientSite(IOleClientSite* site) {
    site_ = ComPtr<IOleClientSite>(site);
    return S_OK;
}

HRESULT TPluginControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = site_.get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

HRESULT TPluginControl::Close(DWORD saveOption) {
    return ComBoundary([&] {
        InPlaceDeactivate();
        if (saveOption == OLECLOSE_SAVEIFDIRTY && dirty_ && site_) site_->SaveObject();
        if (adviseHolder_) adviseHolder_->SendOnClose();
    });
}

HRESULT TPluginControl::GetMoniker(DWORD assign, DWORD which, IMoniker** m) {
    if (!m) return E_POINTER;
    *m = nullptr;
    return site_ ? site_->GetMoniker(assign, which, m) : E_UNEXPECTED;
}

HRESULT TPluginControl::GetClipboardData(DWORD, IDataObject** d) {
    if (d) *d = nullptr;
    return E_NOTIMPL;
}

HRESULT TPluginControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) {
    return ComBoundary([&]() -> HRESULT {
        if (site && !site_) site_ = ComPtr<IOleClientSite>(site);
        switch (verb) {
            case OLEIVERB_PRIMARY:
            case OLEIVERB_SHOW:
            case OLEIVERB_UIACTIVATE:
                InPlaceActivate(parent, pos, true);
                return S_OK;
            case OLEIVERB_INPLACEACTIVATE:
                InPlaceActivate(parent, pos, false);
                return S_OK;
            case OLEIVERB_HIDE:
                UIDeactivate();
                if (Form.Handle()) ShowWindow(Form.Handle(), SW_HIDE);
                return S_OK;
            case OLEIVERB_DISCARDUNDOSTATE:
                return S_OK;
            default:
                // No property pages and no window of its own to open; unknown positive
                // verbs run the primary one.
                if (verb > 0) {
                    InPlaceActivate(parent, pos, true);
                    return OLEOBJ_S_INVALIDVERB;
                }
                return E_NOTIMPL;
        }
    });
}

HRESULT TPluginControl::EnumVerbs(IEnumOLEVERB** e) {
    if (!e) return E_POINTER;
    return OleRegEnumVerbs(CLSID_TintmarkPlugin, e);
}

HRESULT TPluginControl::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_TintmarkPlugin;
    return S_OK;
}

HRESULT TPluginControl::GetUserType(DWORD form, LPOLESTR* type) {
    if (!type) return E_POINTER;
    return OleRegGetUserType(CLSID_TintmarkPlugin, form, type);
}

HRESULT TPluginControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *size;
    dirty_ = true;
    return S_OK;
}

HRESULT TPluginControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

HRESULT TPluginControl::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    if (!adviseHolder_) {
        const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.put());
        if (FAILED(hr)) return hr;
    }
    return adviseHolder_->Advise(sink, cookie);
}

HRESULT TPluginControl::Unadvise(DWORD cookie) {
    return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT TPluginControl::EnumAdvise(IEnumSTATDATA** e) {
    if (!e) return E_POINTER;
    *e = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(e) : S_OK;
}

HRESULT TPluginControl::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status) return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
    return S_OK;
}

}  // namespace tintmark
