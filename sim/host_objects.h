// The host objects of the simulated configurator, at the slots the plugin calls.
#pragma once

#include "com_base.h"
#include "simulator.h"

namespace cfgsim {

class ConfiguratorObject final : public ComObject<IConfigurator>, public IConnectionPointContainer {
public:
    // Without offerEvents the object has no connection point container (a host that cannot
    // report events, for tests of the plugin's connection error).
    explicit ConfiguratorObject(bool offerEvents = true)
        : ComObject(IID_IConfigurator), events(this, DIID_IConfigEvents), offerEvents_(offerEvents) {}
    ConnectionPoint events;

    ULONG STDMETHODCALLTYPE AddRef() override { return ComObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComObject::Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return ComObject::QueryInterface(riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWorkFolder(BSTR* folder) override;
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowMessageLine(BSTR text, LONG kind) override;
    HRESULT STDMETHODCALLTYPE Reserved13() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved14() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RunCommand(LONG command) override;
    HRESULT STDMETHODCALLTYPE Reserved18() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPluginList(IPluginList** plugins) override;
    HRESULT STDMETHODCALLTYPE Reserved20() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindowList(ICfgWindowList** windows) override;
    HRESULT STDMETHODCALLTYPE Reserved22() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved23() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved24() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved25() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved26() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved27() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetConfigWindow(IMDWindow** wnd) override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** cp) override;

protected:
    void* Other(REFIID riid) override {
        return offerEvents_ && riid == IID_IConnectionPointContainer ? static_cast<IConnectionPointContainer*>(this)
                                                                     : nullptr;
    }

private:
    bool offerEvents_;
};

// The stand-in for the other plugin ("Телепат"): only its events connection point.
class TelepatObject final : public ComObject<IDispatch>, public IConnectionPointContainer {
public:
    TelepatObject() : ComObject(IID_IDispatch), events(this, DIID_DTelepatEvents) {}
    ConnectionPoint events;

    ULONG STDMETHODCALLTYPE AddRef() override { return ComObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComObject::Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return ComObject::QueryInterface(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** cp) override;
    // Reports an insertion (type, name, text) to the connected sinks.
    HRESULT FireInsert(long type, const std::wstring& name, const std::wstring& text);

protected:
    void* Other(REFIID riid) override {
        return riid == IID_IConnectionPointContainer ? static_cast<IConnectionPointContainer*>(this) : nullptr;
    }
};

// A new object for the text document of doc (the document itself or page 1).
ITextDoc* NewTextDocument(Document* doc);
ICfgDoc* NewDocumentObject(Document* doc);

}  // namespace cfgsim
