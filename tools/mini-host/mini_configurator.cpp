// The test configurator and its connection point.
#include "mini_configurator.h"

namespace tintmark::minihost {

HRESULT FakeConnectionPoint::Fire(DISPID id, std::vector<VARIANT> args, VARIANT* result, WORD flags) {
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    HRESULT last = S_OK;
    for (size_t i = 0; i < sinks.size(); ++i)  // by index: a sink may unadvise while called
        if (IDispatch* s = sinks[i]) last = s->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
    return last;
}

HRESULT FakeConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeConnectionPoint::GetConnectionInterface(IID* iid) {
    *iid = iid_;
    return S_OK;
}

HRESULT FakeConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** c) {
    *c = owner_;
    owner_->AddRef();
    return S_OK;
}

HRESULT FakeConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    ++advises;
    if (FAILED(failAdvise)) return failAdvise;
    IDispatch* d = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&d)))) return CONNECT_E_CANNOTCONNECT;
    sinks.push_back(d);
    *cookie = static_cast<DWORD>(sinks.size());
    return S_OK;
}

HRESULT FakeConnectionPoint::Unadvise(DWORD cookie) {
    ++unadvises;
    if (cookie == 0 || cookie > sinks.size() || !sinks[cookie - 1]) return CONNECT_E_NOCONNECTION;
    std::exchange(sinks[cookie - 1], nullptr)->Release();
    return S_OK;
}

HRESULT FakeConfigurator::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IConfigurator) {
        *ppv = static_cast<IConfigurator*>(this);
    } else if (riid == IID_IConnectionPointContainer && withCp_) {
        *ppv = static_cast<IConnectionPointContainer*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT FakeConfigurator::FindConnectionPoint(REFIID riid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    if (riid != DIID_IConfigEvents) return CONNECT_E_NOCONNECTION;
    *cp = &point;
    point.AddRef();
    return S_OK;
}

}  // namespace tintmark::minihost
