// Building blocks of the simulator's COM objects: reference counting, a dual interface whose
// IDispatch half is not offered (the plugin calls the vtable), and a connection point.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

namespace cfgsim {

// Implements IUnknown and IDispatch (E_NOTIMPL) for one dual interface I.
template <typename I>
class ComObject : public I {
public:
    explicit ComObject(REFIID iid) : iid_(iid) {}
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_ || Also(riid)) {
            *ppv = static_cast<I*>(this);
        } else if (void* other = Other(riid)) {
            *ppv = other;
        } else {
            return E_NOINTERFACE;
        }
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    LONG RefCount() const { return refs_; }

protected:
    // Further interface ids answered by I itself (base interfaces of I).
    virtual bool Also(REFIID) { return false; }
    // Other interfaces of the object (connection point containers).
    virtual void* Other(REFIID) { return nullptr; }

private:
    IID iid_;
    LONG refs_ = 1;
};

// A connection point that keeps its sinks in slots (cookie = slot + 1, so firing survives a
// sink that unadvises while it is called).
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer* owner, REFIID iid) : owner_(owner), iid_(iid) {}
    ~ConnectionPoint();

    int Connected() const;
    int advises = 0, unadvises = 0;
    HRESULT failAdvise = S_OK;  // when set, Advise answers it (a refusing source)
    // Calls dispid on every sink; args are in call order (they are reversed for DISPPARAMS).
    // result receives the last sink's result. Returns the first failure, else S_OK.
    HRESULT Fire(DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    IConnectionPointContainer* owner_;
    IID iid_;
    std::vector<IDispatch*> sinks_;
};

}  // namespace cfgsim
