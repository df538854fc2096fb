// The form events' connection point, the container that offers it, and the class
// information containers read to find the events interface.
#include "win/com_error.h"
#include "control/control.h"
#include "win/module.h"
#include "tintmark_h.h"

namespace tintmark {

namespace {
// Enumerates the control's one connection point.
class PointEnumerator final : public IEnumConnectionPoints {
public:
    explicit PointEnumerator(IConnectionPoint* point, ULONG position = 0) : point_(point), position_(position) {
        point_->AddRef();
    }
    ~PointEnumerator() { point_->Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumConnectionPoints) {
            *ppv = static_cast<IEnumConnectionPoints*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        if (!points || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        if (count > 0 && position_ == 0) {
            points[0] = point_;
            point_->AddRef();
            n = 1;
            position_ = 1;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const ULONG left = 1 - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** e) override {
        if (!e) return E_POINTER;
        *e = new (std::nothrow) PointEnumerator(point_, position_);
        return *e ? S_OK : E_OUTOFMEMORY;
    }

private:
    IConnectionPoint* point_;
    ULONG position_;
    LONG refs_ = 1;
};
}  // namespace

// ---- TEventConnectionPoint ----

TEventConnectionPoint::TEventConnectionPoint(IUnknown& outer, IConnectionPointContainer& container)
    : outer_(outer), container_(container) {}

TEventConnectionPoint::~TEventConnectionPoint() {
    for (IDispatch* sink : sinks_)
        if (sink) sink->Release();
}

int TEventConnectionPoint::SinkCount() const {
    int n = 0;
    for (IDispatch* sink : sinks_) n += sink ? 1 : 0;
    return n;
}

void TEventConnectionPoint::Fire(DISPID id, short* key) {
    // By index and re-reading the slots: a sink may unadvise (or advise) while it is called.
    for (size_t i = 0; i < sinks_.size(); ++i) {
        IDispatch* sink = sinks_[i];
        if (!sink) continue;
        sink->AddRef();
        VARIANT arg;
        VariantInit(&arg);
        DISPPARAMS params{nullptr, nullptr, 0, 0};
        if (key) {
            arg.vt = VT_I2 | VT_BYREF;
            arg.piVal = key;
            params.rgvarg = &arg;
            params.cArgs = 1;
        }
        // A sink's failure is its own: the other sinks still hear the event.
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        sink->Release();
    }
}

HRESULT TEventConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TEventConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID_ITintmarkPluginEvents;
    return S_OK;
}

HRESULT TEventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** c) {
    if (!c) return E_POINTER;
    *c = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT TEventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    IDispatch* disp = nullptr;
    if (FAILED(sink->QueryInterface(DIID_ITintmarkPluginEvents, reinterpret_cast<void**>(&disp))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))))
        return CONNECT_E_CANNOTCONNECT;
    size_t slot = 0;
    while (slot < sinks_.size() && sinks_[slot]) ++slot;
    if (slot == sinks_.size()) sinks_.push_back(nullptr);
    sinks_[slot] = disp;
    *cookie = static_cast<DWORD>(slot + 1);
    return S_OK;
}

HRESULT TEventConnectionPoint::Unadvise(DWORD cookie) {
    if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
    IDispatch* sink = std::exchange(sinks_[cookie - 1], nullptr);
    sink->Release();
    return S_OK;
}

HRESULT TEventConnectionPoint::EnumConnections(IEnumConnections** e) {
    if (e) *e = nullptr;
    return E_NOTIMPL;
}

// ---- IConnectionPointContainer ----

HRESULT TPluginControl::EnumConnectionPoints(IEnumConnectionPoints** e) {
    if (!e) return E_POINTER;
    *e = new (std::nothrow) PointEnumerator(&Events);
    return *e ? S_OK : E_OUTOFMEMORY;
}

HRESULT TPluginControl::FindConnectionPoint(REFIID riid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    if (riid != DIID_ITintmarkPluginEvents) return CONNECT_E_NOCONNECTION;
    *cp = &Events;
    Events.AddRef();
    return S_OK;
}

// ---- IProvideClassInfo2 ----

HRESULT TPluginControl::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return ComBoundary([&] {
        *info = PluginTypeInfo(CLSID_TintmarkPlugin);
        (*info)->AddRef();
    });
}

HRESULT TPluginControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = DIID_ITintmarkPluginEvents;
    return S_OK;
}

}  // namespace tintmark
