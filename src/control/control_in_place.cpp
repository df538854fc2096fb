// In-place activation of the control: the form window inside the container's window,
// UI activation with the container's frame, and deactivation.
#include "win/com_error.h"
#include "control/control.h"

namespace tintmark {

void TPluginControl::InPlaceActivate(HWND parent, LPCRECT pos, bool uiActivate) {
    if (!site_) throw ComError(E_UNEXPECTED, L"The control has no client site");
    if (!inPlaceSite_) {
        ComPtr<IOleInPlaceSite> ipSite;
        ThrowIfFailed(site_->QueryInterface(IID_IOleInPlaceSite, ipSite.put_void()), L"IOleInPlaceSite");
        if (ipSite->CanInPlaceActivate() != S_OK) throw ComError(E_FAIL, L"The container refuses in-place activation");
        ThrowIfFailed(ipSite->OnInPlaceActivate(), L"OnInPlaceActivate");
        inPlaceSite_ = ipSite;
    }
    if (!Form.Handle()) {
        HWND window = nullptr;
        ThrowIfFailed(inPlaceSite_->GetWindow(&window), L"IOleInPlaceSite::GetWindow");
        RECT posRect{}, clipRect{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        frame_.reset();
        uiWindow_.reset();
        ThrowIfFailed(inPlaceSite_->GetWindowContext(frame_.put(), uiWindow_.put(), &posRect, &clipRect, &info),
                      L"GetWindowContext");
        if (pos) posRect = *pos;
        Form.Create(window ? window : parent, posRect);
    } else if (Form.Properties().Visible) {
        ShowWindow(Form.Handle(), SW_SHOWNA);
    }
    if (uiActivate) UIActivate();
}

void TPluginControl::UIActivate() {
    if (uiActive_) return;
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    SetFocus(Form.Handle());
    IOleInPlaceActiveObject* active = this;
    if (frame_) {
        frame_->SetActiveObject(active, L"TintmarkPlugin");
        frame_->SetBorderSpace(nullptr);
    }
    if (uiWindow_) {
        uiWindow_->SetActiveObject(active, L"TintmarkPlugin");
        uiWindow_->SetBorderSpace(nullptr);
    }
}

HRESULT TPluginControl::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT TPluginControl::InPlaceDeactivate() {
    return ComBoundary([&] {
        if (!inPlaceSite_) return;
        UIDeactivate();
        Form.Destroy();
        frame_.reset();
        uiWindow_.reset();
        ComPtr<IOleInPlaceSite> site = inPlaceSite_;
        inPlaceSite_.reset();
        site->OnInPlaceDeactivate();
    });
}

HRESULT TPluginControl::GetWindow(HWND* wnd) {
    if (!wnd) return E_POINTER;
    *wnd = Form.Handle();
    return *wnd ? S_OK : E_FAIL;
}

HRESULT TPluginControl::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    Form.SetBounds(*pos);
    return S_OK;
}

}  // namespace tintmark
