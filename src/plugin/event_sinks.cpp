// Connection and dispatch of host event sinks.
#include "plugin/event_sinks.h"

#include "win/com_error.h"

namespace tintmark {

namespace {
VARIANT* Deref(VARIANT* v) {
    return (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) ? v->pvarVal : v;
}

VARIANT Coerced(VARIANT* v, VARTYPE type) {
    VARIANT out;
    VariantInit(&out);
    const HRESULT hr = VariantChangeType(&out, Deref(v), 0, type);
    if (FAILED(hr)) throw ComError(DISP_E_TYPEMISMATCH, L"Event argument of the wrong type");
    return out;
}
}  // namespace

// ---- EventArgs ----

EventArgs::EventArgs(const DISPPARAMS* params) : params_(params) {
    const int n = params ? static_cast<int>(params->cArgs) : 0;
    map_.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) map_[static_cast<size_t>(i)] = n - 1 - i;
    const int named = params ? static_cast<int>(params->cNamedArgs) : 0;
    for (int j = 0; j < named; ++j) {
        const DISPID id = params->rgdispidNamedArgs[j];
        // A named argument outside the passed ones cannot be placed: refuse rather than
        // write past the map.
        if (id < 0 || id >= n) throw ComError(DISP_E_PARAMNOTFOUND, L"Unknown named event argument");
        map_[static_cast<size_t>(id)] = j;
    }
}

VARIANT& EventArgs::At(int k) const {
    if (k < 0 || k >= Count()) throw ComError(DISP_E_BADPARAMCOUNT, L"Missing event argument");
    return params_->rgvarg[map_[static_cast<size_t>(k)]];
}

VARIANT_BOOL EventArgs::Bool(int k) const {
    VARIANT v = Coerced(&At(k), VT_BOOL);
    return v.boolVal;
}

LONG EventArgs::Long(int k) const {
    VARIANT v = Coerced(&At(k), VT_I4);
    return v.lVal;
}

std::wstring EventArgs::String(int k) const {
    VARIANT v = Coerced(&At(k), VT_BSTR);
    std::wstring s(v.bstrVal ? v.bstrVal : L"", v.bstrVal ? SysStringLen(v.bstrVal) : 0);
    VariantClear(&v);
    return s;
}

VARIANT* EventArgs::Ref(int k) const { return Deref(&At(k)); }

void EventArgs::QueryArg(int k, REFIID iid, void** out) const {
    VARIANT* v = Deref(&At(k));
    IUnknown* unk = nullptr;
    switch (v->vt) {
        case VT_DISPATCH: unk = v->pdispVal; break;
        case VT_UNKNOWN: unk = v->punkVal; break;
        case VT_DISPATCH | VT_BYREF: unk = v->ppdispVal ? *v->ppdispVal : nullptr; break;
        case VT_UNKNOWN | VT_BYREF: unk = v->ppunkVal ? *v->ppunkVal : nullptr; break;
        default: break;
    }
    if (!unk || FAILED(unk->QueryInterface(iid, out)))
        throw ComError(DISP_E_TYPEMISMATCH, L"Event argument does not have the expected interface");
}

// ---- TEventsBaseSink ----

TEventsBaseSink::TEventsBaseSink(REFIID sinkIid, const wchar_t* componentName, const wchar_t* className,
                                 const wchar_t* sourceName)
    : SinkIid(sinkIid), componentName_(componentName), className_(className), sourceName_(sourceName) {}

TEventsBaseSink::~TEventsBaseSink() { Disconnect(); }

void TEventsBaseSink::Connect(IUnknown* source) {
    if (!source) throw ComError(E_POINTER, L"Assertion failure", sourceName_);
    Disconnect();
    try {
        ComPtr<IConnectionPointContainer> container;
        ThrowIfFailed(source->QueryInterface(IID_IConnectionPointContainer, container.put_void()),
                      L"IConnectionPointContainer");
        ComPtr<IConnectionPoint> point;
        ThrowIfFailed(container->FindConnectionPoint(SinkIid, point.put()), L"FindConnectionPoint");
        DWORD cookie = 0;
        ThrowIfFailed(point->Advise(static_cast<IDispatch*>(this), &cookie), L"Advise");
        Cookie = cookie;
        ConnectionPoint = point;
        Source = ComPtr<IUnknown>(source);
    } catch (const ComError& e) {
        throw ComError(e.hr(), L"Unable to connect " + componentName_ + L".\r" + HresultMessage(e.hr()), sourceName_);
    }
}

void TEventsBaseSink::Disconnect() {
    if (!Source) return;
    if (ConnectionPoint) ConnectionPoint->Unadvise(Cookie);  // a failure drops the links all the same
    ConnectionPoint.reset();
    Source.reset();
    Cookie = 0;
}

HRESULT TEventsBaseSink::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == SinkIid) {
        *ppv = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TEventsBaseSink::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return E_NOTIMPL;
}

HRESULT TEventsBaseSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TEventsBaseSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT TEventsBaseSink::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excep, UINT*) {
    return ComBoundary(
        [&]() -> HRESULT {
            if (!(flags & DISPATCH_METHOD))
                throw ComError(DISP_E_MEMBERNOTFOUND, className_ + L" only supports sinking of method calls!",
                               sourceName_);
            const EventArgs args(params);
            // The result is an out-parameter: it is initialised, never freed, since what the
            // caller left in it may be garbage (an uninitialised variant).
            UniqueVariant local;
            if (result) VariantInit(result);
            return CallEvent(dispid, args, result ? result : local.get()) ? S_OK : DISP_E_MEMBERNOTFOUND;
        },
        excep);
}

// ---- TOpenConfIConfigEvents ----

TOpenConfIConfigEvents::TOpenConfIConfigEvents()
    : TEventsBaseSink(DIID_IConfigEvents, L"ConfigEvents", L"TOpenConfIConfigEvents", L"OpenConfEvents") {}

TOpenConfIConfigEvents::~TOpenConfIConfigEvents() { Disconnect(); }

bool TOpenConfIConfigEvents::CallEvent(DISPID dispid, const EventArgs& args, VARIANT* result) {
    switch (dispid) {
        case 0:
            if (OnConfigWindowCreate) OnConfigWindowCreate(*this);
            return true;
        case 8: {
            if (!OnActivateWindow) return true;
            ComPtr<ICfgWindow> wnd = args.Interface<ICfgWindow>(0, IID_ICfgWindow);
            const VARIANT_BOOL active = args.Bool(1);
            OnActivateWindow(*this, wnd.get(), active);
            return true;
        }
        case 11: {
            const VARIANT_BOOL refuse = OnQueryQuit ? OnQueryQuit(*this) : VARIANT_FALSE;
            result->vt = VT_BOOL;
            result->boolVal = refuse;
            return true;
        }
        default:
            return false;
    }
}

// ---- TTELEPATLibDTelepatEvents ----

TTELEPATLibDTelepatEvents::TTELEPATLibDTelepatEvents()
    : TEventsBaseSink(DIID_DTelepatEvents, L"TelepatEvents", L"TTELEPATLibDTelepatEvents",
                      L"TELEPATLibEvents") {}

TTELEPATLibDTelepatEvents::~TTELEPATLibDTelepatEvents() { Disconnect(); }

bool TTELEPATLibDTelepatEvents::CallEvent(DISPID dispid, const EventArgs& args, VARIANT* result) {
    switch (dispid) {
        case 1:
            if (OnTemplate) OnTemplate(*this, args.String(0), args.Ref(1), args.Ref(2));
            return true;
        case 2:
            if (GetMenu) GetMenu(*this, result);
            return true;
        case 3:
            if (OnCustomMenu) OnCustomMenu(*this, args.String(0));
            return true;
        case 4: {
            // The insertion is reported whatever the arguments look like: the plugin only
            // needs to know that text was inserted.
            if (!OnInsert) return true;
            LONG type = 0;
            std::wstring name;
            VARIANT* text = nullptr;
            try {
                type = args.Long(0);
                name = args.String(1);
                text = args.Ref(2);
            } catch (const ComError&) {
            }
            OnInsert(*this, type, name, text);
            return true;
        }
        case 5: {
            std::wstring text;
            if (OnShowMemberList) text = OnShowMemberList(*this, args.Long(0), args.Long(1));
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            return true;
        }
        default:
            return false;
    }
}

}  // namespace tintmark
