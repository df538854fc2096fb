// The minimal configurator.
#include "mini_configurator.h"

namespace tintmark::minihost {

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
