// The simulator's connection point.
#include "com_base.h"

#include <algorithm>
#include <utility>

namespace cfgsim {

ConnectionPoint::~ConnectionPoint() {
    for (IDispatch* s : sinks_)
        if (s) s->Release();
}

int ConnectionPoint::Connected() const {
    return static_cast<int>(std::count_if(sinks_.begin(), sinks_.end(), [](IDispatch* s) { return s != nullptr; }));
}

HRESULT ConnectionPoint::Fire(DISPID id, std::vector<VARIANT> args, VARIANT* result) {
    std::reverse(args.begin(), args.end());
    DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    HRESULT first = S_OK;
    for (size_t i = 0; i < sinks_.size(); ++i) {
        IDispatch* sink = sinks_[i];
        if (!sink) continue;
        sink->AddRef();
        VARIANT r;
        VariantInit(&r);
        const HRESULT hr = sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &r, nullptr, nullptr);
        sink->Release();
        if (FAILED(hr) && SUCCEEDED(first)) first = hr;
        if (result) {
            VariantClear(result);
            *result = r;
        } else {
            VariantClear(&r);
        }
    }
    return first;
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** c) {
    if (!c) return E_POINTER;
    *c = owner_;
    owner_->AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    ++advises;
    if (FAILED(failAdvise)) return failAdvise;
    IDispatch* d = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&d))) || !d) return CONNECT_E_CANNOTCONNECT;
    for (size_t i = 0; i < sinks_.size(); ++i)
        if (!sinks_[i]) {
            sinks_[i] = d;
            *cookie = static_cast<DWORD>(i + 1);
            return S_OK;
        }
    sinks_.push_back(d);
    *cookie = static_cast<DWORD>(sinks_.size());
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    ++unadvises;
    if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
    std::exchange(sinks_[cookie - 1], nullptr)->Release();
    return S_OK;
}

}  // namespace cfgsim
