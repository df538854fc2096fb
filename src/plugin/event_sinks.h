// Event sinks for the configurator's events and for the other plugin's ("Телепат") events.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

#include "win/handles.h"
#include "host_h.h"

namespace tintmark {

// Reads the arguments of an event call: positional arguments arrive in reverse order,
// named ones by their argument index.
class EventArgs {
public:
    explicit EventArgs(const DISPPARAMS* params);
    int Count() const { return static_cast<int>(map_.size()); }
    // Argument k of the event; throws DISP_E_BADPARAMCOUNT when it was not passed.
    VARIANT& At(int k) const;
    VARIANT_BOOL Bool(int k) const;
    LONG Long(int k) const;
    std::wstring String(int k) const;
    // The variant a by-reference argument points at (or the argument itself).
    VARIANT* Ref(int k) const;
    // The argument queried for an interface; throws DISP_E_TYPEMISMATCH when it has none.
    template <typename T>
    ComPtr<T> Interface(int k, REFIID iid) const {
        ComPtr<T> out;
        QueryArg(k, iid, out.put_void());
        return out;
    }

private:
    void QueryArg(int k, REFIID iid, void** out) const;
    const DISPPARAMS* params_;
    std::vector<int> map_;
};

// Shared mechanism of both sinks: connection to a source's connection point and the
// IDispatch that the source calls. The owner controls the lifetime (AddRef/Release are fixed).
class TEventsBaseSink : public IDispatch {
public:
    TEventsBaseSink(REFIID sinkIid, const wchar_t* componentName, const wchar_t* className,
                    const wchar_t* sourceName);
    virtual ~TEventsBaseSink();
    TEventsBaseSink(const TEventsBaseSink&) = delete;
    TEventsBaseSink& operator=(const TEventsBaseSink&) = delete;

    // Connects to source's connection point for the sink interface (disconnecting first).
    // Throws "Unable to connect <component>.\r<system message of the failure>" on any failure.
    void Connect(IUnknown* source);
    void Disconnect();
    bool Connected() const { return static_cast<bool>(Source); }

    DWORD Cookie = 0;
    ComPtr<IConnectionPoint> ConnectionPoint;
    IID SinkIid;
    ComPtr<IUnknown> Source;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                     UINT* argErr) override;

protected:
    // Calls the event's handler; returns false for a dispid that is not an event.
    virtual bool CallEvent(DISPID dispid, const EventArgs& args, VARIANT* result) = 0;

private:
    std::wstring componentName_;
    std::wstring className_;
    std::wstring sourceName_;
};

// Sink of the configurator's events (IConfigEvents).
class TOpenConfIConfigEvents : public TEventsBaseSink {
public:
    TOpenConfIConfigEvents();
    ~TOpenConfIConfigEvents() override;

    std::function<void(TEventsBaseSink& sender)> OnConfigWindowCreate;
    std::function<void(TEventsBaseSink& sender, ICfgWindow* wnd, VARIANT_BOOL active)> OnActivateWindow;
    std::function<VARIANT_BOOL(TEventsBaseSink& sender)> OnQueryQuit;

protected:
    bool CallEvent(DISPID dispid, const EventArgs& args, VARIANT* result) override;
};

// Sink of the other plugin's events (DTelepatEvents).
class TTELEPATLibDTelepatEvents : public TEventsBaseSink {
public:
    TTELEPATLibDTelepatEvents();
    ~TTELEPATLibDTelepatEvents() override;

    std::function<void(TEventsBaseSink&, const std::wstring& name, VARIANT* text, VARIANT* cancel)> OnTemplate;
    std::function<void(TEventsBaseSink&, VARIANT* menu)> GetMenu;
    std::function<void(TEventsBaseSink&, const std::wstring& command)> OnCustomMenu;
    std::function<void(TEventsBaseSink&, LONG type, const std::wstring& name, VARIANT* text)> OnInsert;
    std::function<std::wstring(TEventsBaseSink&, LONG line, LONG col)> OnShowMemberList;

protected:
    bool CallEvent(DISPID dispid, const EventArgs& args, VARIANT* result) override;
};

}  // namespace tintmark
