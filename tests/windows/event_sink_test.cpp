// Event sinks: connection, argument mapping, event tables and refusals.
#include <gtest/gtest.h>

#include <string>

#include "win/com_error.h"
#include "plugin/event_sinks.h"
#include "test_configurator.h"
#include "test_variants.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

// A window object for OnActivateWindow; only its identity matters here.
struct FakeWindow final : ICfgWindow {
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ICfgWindow) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetWindowHandle(LONG* h) override {
        *h = 42;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocument(ICfgDoc**) override { return E_NOTIMPL; }
};


HRESULT InvokeSink(IDispatch* sink, DISPID id, std::vector<VARIANT> args, std::vector<DISPID> named = {},
                   WORD flags = DISPATCH_METHOD, VARIANT* result = nullptr, EXCEPINFO* excep = nullptr) {
    DISPPARAMS p{args.data(), named.data(), static_cast<UINT>(args.size()), static_cast<UINT>(named.size())};
    return sink->Invoke(id, IID_NULL, 0, flags, &p, result, excep, nullptr);
}

// Records what the sink's activation handler receives.
struct ActivateRecorder {
    ICfgWindow* wnd = nullptr;
    VARIANT_BOOL active = 7;
    int calls = 0;
    void Attach(TOpenConfIConfigEvents& sink) {
        sink.OnActivateWindow = [this](TEventsBaseSink&, ICfgWindow* w, VARIANT_BOOL a) {
            wnd = w;
            active = a;
            ++calls;
        };
    }
};

}  // namespace

TEST(EventSink, ConnectDisconnectAndFiringThroughTheConnectionPoint) {
    TestConfigurator cfg(true);
    FakeWindow wnd;
    ActivateRecorder rec;
    {
        TOpenConfIConfigEvents sink;
        rec.Attach(sink);
        sink.Connect(cfg.get());
        EXPECT_TRUE(sink.Connected());
        EXPECT_EQ(cfg.point().Connected(), 1);
        // Fired in call order; the sink reads the reversed slots.
        EXPECT_EQ(cfg.point().Fire(8, {Disp(&wnd), Bool(true)}), S_OK);
        EXPECT_EQ(rec.calls, 1);
        EXPECT_EQ(rec.wnd, &wnd);
        EXPECT_EQ(rec.active, VARIANT_TRUE);
        sink.Connect(cfg.get());  // reconnecting disconnects first
        EXPECT_EQ(cfg.point().Connected(), 1);
    }
    EXPECT_EQ(cfg.point().Connected(), 0);  // destruction disconnects
    EXPECT_EQ(cfg.refs(), 1);
}

TEST(EventSink, NamedArgumentsAreTakenByDispid) {
    FakeWindow wnd;
    ActivateRecorder rec;
    TOpenConfIConfigEvents sink;
    rec.Attach(sink);
    // Named in the other order: slot 0 is argument 0 (Wnd), slot 1 argument 1 (bActive).
    EXPECT_EQ(InvokeSink(&sink, 8, {Disp(&wnd), Bool(false)}, {0, 1}), S_OK);
    EXPECT_EQ(rec.wnd, &wnd);
    EXPECT_EQ(rec.active, VARIANT_FALSE);
    // Wnd positional, bActive named: named arguments come first in the slots.
    EXPECT_EQ(InvokeSink(&sink, 8, {Bool(true), Disp(&wnd)}, {1}), S_OK);
    EXPECT_EQ(rec.active, VARIANT_TRUE);
    // A named argument outside those passed is refused, not written out of bounds.
    EXPECT_EQ(InvokeSink(&sink, 8, {Disp(&wnd), Bool(true)}, {5}), DISP_E_PARAMNOTFOUND);
}

TEST(EventSink, RefusalsAndUnknownMembers) {
    TOpenConfIConfigEvents sink;
    EXPECT_EQ(InvokeSink(&sink, 9, {}), DISP_E_MEMBERNOTFOUND);
    EXCEPINFO excep{};
    EXPECT_EQ(InvokeSink(&sink, 0, {}, {}, DISPATCH_PROPERTYGET, nullptr, &excep), DISP_E_EXCEPTION);
    EXPECT_STREQ(excep.bstrDescription, L"TOpenConfIConfigEvents only supports sinking of method calls!");
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    // Unassigned handlers do nothing and succeed; a missing argument is an error.
    EXPECT_EQ(InvokeSink(&sink, 0, {}), S_OK);
    sink.OnActivateWindow = [](TEventsBaseSink&, ICfgWindow*, VARIANT_BOOL) {};
    FakeWindow wnd;
    EXPECT_EQ(InvokeSink(&sink, 8, {Disp(&wnd)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeSink(&sink, 8, {Bool(true), I4(3)}), DISP_E_TYPEMISMATCH);  // not an interface
    // Fixed reference counts and no type information.
    EXPECT_EQ(sink.AddRef(), 2u);
    EXPECT_EQ(sink.Release(), 1u);
    UINT n = 9;
    EXPECT_EQ(sink.GetTypeInfoCount(&n), E_NOTIMPL);
    EXPECT_EQ(n, 0u);
    void* p = nullptr;
    EXPECT_EQ(sink.QueryInterface(DIID_IConfigEvents, &p), S_OK);
    EXPECT_EQ(p, static_cast<IDispatch*>(&sink));
}

TEST(EventSink, QueryQuitReturnsABooleanAndHandlerErrorsFailTheCall) {
    TOpenConfIConfigEvents sink;
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(InvokeSink(&sink, 11, {}, {}, DISPATCH_METHOD, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_FALSE);
    sink.OnQueryQuit = [](TEventsBaseSink&) -> VARIANT_BOOL { return VARIANT_TRUE; };
    EXPECT_EQ(InvokeSink(&sink, 11, {}, {}, DISPATCH_METHOD, &r), S_OK);
    EXPECT_EQ(r.boolVal, VARIANT_TRUE);
    sink.OnConfigWindowCreate = [](TEventsBaseSink&) { throw std::runtime_error("boom"); };
    EXPECT_TRUE(FAILED(InvokeSink(&sink, 0, {})));
}

TEST(EventSink, TelepatInsertIsReportedWhateverItsArguments) {
    TTELEPATLibDTelepatEvents sink;
    int inserts = 0;
    sink.OnInsert = [&](TEventsBaseSink&, LONG, const std::wstring&, VARIANT*) { ++inserts; };
    VARIANT text;
    VariantInit(&text);
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &text;
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(L"Процедура");
    EXPECT_EQ(InvokeSink(&sink, 4, {ref, name, I4(1)}), S_OK);
    EXPECT_EQ(InvokeSink(&sink, 4, {}), S_OK);
    EXPECT_EQ(InvokeSink(&sink, 4, {I4(1), Disp(nullptr), Disp(nullptr)}), S_OK);
    EXPECT_EQ(inserts, 3);
    VariantClear(&name);
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(InvokeSink(&sink, 5, {I4(2), I4(1)}, {}, DISPATCH_METHOD, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BSTR);
    VariantClear(&r);
    EXPECT_EQ(InvokeSink(&sink, 6, {}), DISP_E_MEMBERNOTFOUND);
}

namespace {
// Counts the Release calls it receives: stands in for whatever an uninitialised variant
// happens to point at.
struct ReleaseCounter final : IUnknown {
    int releases = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++releases;
        return 1;
    }
};
}  // namespace

TEST(EventSink, ResultsAreWrittenIntoUninitialisedVariants) {
    TOpenConfIConfigEvents config;
    TTELEPATLibDTelepatEvents telepat;
    telepat.OnShowMemberList = [](TEventsBaseSink&, LONG, LONG) { return std::wstring(L"members"); };
    struct Row { IDispatch* sink; DISPID id; std::vector<VARIANT> args; VARTYPE want; };
    const Row rows[] = {
        {&config, 11, {}, VT_BOOL},              // OnQueryQuit
        {&config, 0, {}, VT_EMPTY},              // ConfigWindowCreate: no result, still initialised
        {&telepat, 2, {}, VT_EMPTY},             // GetMenu
        {&telepat, 5, {I4(2), I4(1)}, VT_BSTR},  // OnShowMemberList
    };
    for (const Row& r : rows) {
        ReleaseCounter garbage;
        VARIANT result;
        result.vt = VT_UNKNOWN;  // what the caller's stack happened to hold
        result.punkVal = &garbage;
        EXPECT_EQ(InvokeSink(r.sink, r.id, r.args, {}, DISPATCH_METHOD, &result), S_OK) << r.id;
        EXPECT_EQ(garbage.releases, 0) << "the sink freed the caller's garbage, dispid " << r.id;
        EXPECT_EQ(result.vt, r.want) << r.id;
        VariantClear(&result);
    }
}

TEST(EventSink, ConnectWithoutSourceIsAnAssertion) {
    TTELEPATLibDTelepatEvents sink;
    try {
        sink.Connect(nullptr);
        FAIL() << "no error";
    } catch (const ComError& e) {
        EXPECT_EQ(e.message(), L"Assertion failure");
        EXPECT_EQ(e.source(), L"TELEPATLibEvents");
    }
}
