// The plugin as an ActiveX control in a container: interfaces, in-place activation, the
// form on the screen, its events at a client sink, its properties from a script engine,
// persistence and the menu styler switched on by the form.
#include <gtest/gtest.h>

#include <string>

#include "plugin/plugin.h"
#include "plugin/server.h"
#include "menus/styler_manager.h"
#include "pixels.h"
#include "test_container.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

ComPtr<IUnknown> CreateControl() {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(GetClassObject(CLSID_TintmarkPlugin, IID_IClassFactory, factory.put_void()), S_OK);
    ComPtr<IUnknown> unk;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, unk.put_void()), S_OK);
    return unk;
}

template <typename T>
ComPtr<T> Q(IUnknown* unk, REFIID iid) {
    ComPtr<T> p;
    EXPECT_EQ(unk->QueryInterface(iid, p.put_void()), S_OK);
    return p;
}

TTintmarkPlugin* PluginOf(IUnknown* unk) {
    return static_cast<TTintmarkPlugin*>(Q<ITintmarkPlugin>(unk, IID_ITintmarkPlugin).get());
}

void Click(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(150);
}

void TypeKey(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(150);
}

// A control sited, advised and in-place activated in a test container.
struct ActiveControl {
    TestContainer container;
    RecordingSink sink;
    ComPtr<IUnknown> unk = CreateControl();
    ComPtr<IOleObject> ole = Q<IOleObject>(unk.get(), IID_IOleObject);
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;

    explicit ActiveControl(LONG verb = OLEIVERB_SHOW) {
        EXPECT_EQ(Q<IPersistStreamInit>(unk.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
        EXPECT_EQ(ole->SetClientSite(&container), S_OK);
        auto cpc = Q<IConnectionPointContainer>(unk.get(), IID_IConnectionPointContainer);
        EXPECT_EQ(cpc->FindConnectionPoint(DIID_ITintmarkPluginEvents, point.put()), S_OK);
        EXPECT_EQ(point->Advise(&sink, &cookie), S_OK);
        EXPECT_EQ(ole->DoVerb(verb, nullptr, &container, 0, container.Window(), &container.Position), S_OK);
        Pump(200);
    }
    ~ActiveControl() {
        ole->Close(OLECLOSE_NOSAVE);
        point->Unadvise(cookie);
        ole->SetClientSite(nullptr);
    }
    HWND Form() {
        HWND w = nullptr;
        Q<IOleInPlaceObject>(unk.get(), IID_IOleInPlaceObject)->GetWindow(&w);
        return w;
    }
};

}  // namespace

TEST(ControlFace, AnswersTheInterfacesOfAControl) {
    ComPtr<IUnknown> unk = CreateControl();
    const IID iids[] = {IID_IOleObject, IID_IOleWindow, IID_IOleInPlaceObject, IID_IOleInPlaceActiveObject,
                        IID_IOleControl, IID_IViewObject, IID_IViewObject2, IID_IPersist, IID_IPersistStreamInit,
                        IID_IProvideClassInfo, IID_IProvideClassInfo2, IID_IConnectionPointContainer,
                        IID_IDispatch, IID_ITintmarkPlugin, IID_IConfigPluginHost};
    for (const IID& iid : iids) {
        ComPtr<IUnknown> p;
        EXPECT_EQ(unk->QueryInterface(iid, p.put_void()), S_OK);
        // One identity: every interface leads back to the same IUnknown.
        ComPtr<IUnknown> back;
        ASSERT_EQ(p->QueryInterface(IID_IUnknown, back.put_void()), S_OK);
        EXPECT_EQ(back.get(), unk.get());
    }
    ComPtr<IUnknown> none;
    EXPECT_EQ(unk->QueryInterface(IID_IPersistStorage, none.put_void()), E_NOINTERFACE);

    auto ole = Q<IOleObject>(unk.get(), IID_IOleObject);
    DWORD status = 0;
    EXPECT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, 0x12000u);
    SIZEL extent{};
    EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(MulDiv(extent.cx, GetDeviceCaps(screen, LOGPIXELSX), 2540), 696);
    EXPECT_EQ(MulDiv(extent.cy, GetDeviceCaps(screen, LOGPIXELSY), 2540), 480);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, nullptr), E_POINTER);
    EXPECT_EQ(ole->GetExtent(DVASPECT_ICON, &extent), DV_E_DVASPECT);

    auto info = Q<IProvideClassInfo2>(unk.get(), IID_IProvideClassInfo2);
    GUID guid{};
    EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid), S_OK);
    EXPECT_EQ(guid, DIID_ITintmarkPluginEvents);
    EXPECT_EQ(info->GetGUID(7, &guid), E_INVALIDARG);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info->GetClassInfo(coclass.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_EQ(attr->guid, CLSID_TintmarkPlugin);
    coclass->ReleaseTypeAttr(attr);

    auto cpc = Q<IConnectionPointContainer>(unk.get(), IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> cp;
    EXPECT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, cp.put()), CONNECT_E_NOCONNECTION);
    ComPtr<IEnumConnectionPoints> e;
    ASSERT_EQ(cpc->EnumConnectionPoints(e.put()), S_OK);
    IConnectionPoint* points[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(2, points, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    IID iid{};
    points[0]->GetConnectionInterface(&iid);
    EXPECT_EQ(iid, DIID_ITintmarkPluginEvents);
    points[0]->Release();

    // A sink that is no dispatch interface cannot connect; a wrong cookie is refused.
    ASSERT_EQ(cpc->FindConnectionPoint(DIID_ITintmarkPluginEvents, cp.put()), S_OK);
    TestContainer notASink;
    DWORD cookie = 0;
    EXPECT_EQ(cp->Advise(static_cast<IOleClientSite*>(&notASink), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cp->Unadvise(42), CONNECT_E_NOCONNECTION);
}

TEST(ControlFace, InPlaceFormShowsItsLabelAndReportsEvents) {
    ActiveControl c;
    const HWND form = c.Form();
    ASSERT_NE(form, nullptr);
    wchar_t cls[64];
    GetClassNameW(form, cls, 64);
    EXPECT_STREQ(cls, L"TintmarkPluginForm");
    EXPECT_EQ(GetParent(form), c.container.Window());
    RECT r;
    GetWindowRect(form, &r);
    EXPECT_EQ(r.right - r.left, 696);
    EXPECT_EQ(r.bottom - r.top, 480);
    wchar_t caption[64];
    GetWindowTextW(form, caption, 64);
    EXPECT_STREQ(caption, L"TintmarkPlugin");
    EXPECT_EQ(c.container.InPlaceActivations, 1);
    EXPECT_EQ(c.container.UIActivations, 1);
    EXPECT_NE(c.container.ActiveObject, nullptr);
    EXPECT_EQ(c.sink.Count(203), 1) << "OnCreate";
    EXPECT_GE(c.sink.Count(208), 1) << "OnPaint";

    // The form with its label: the face colour, and dark label text from (8, 8) on.
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(100);
    const Image shot = CaptureWindow(form);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(shot.At(400, 300), face);
    int ink = 0, inkLeft = 1000;
    for (int y = 1; y < 40; ++y)  // inside the one-pixel border
        for (int x = 1; x < 400; ++x)
            if (shot.At(x, y) != face) {
                ++ink;
                inkLeft = std::min(inkLeft, x);
            }
    EXPECT_GT(ink, 100) << "the label is drawn";
    EXPECT_GE(inkLeft, 8 + 1) << "the label starts at x = 8 inside the border";
    EXPECT_EQ(CompareWithGolden(CaptureWindow(form), "control_form"), "");

    // A click and a double click on the form.
    Click(form, 300, 200);
    EXPECT_EQ(c.sink.Count(202), 1) << "OnClick";
    Click(form, 300, 200);
    EXPECT_EQ(c.sink.Count(204), 1) << "OnDblClick";

    // Keys: the client's change is the key the form passes on; a cleared key is swallowed.
    SetFocus(form);
    c.sink.ReplaceKeyWith = 'b';
    TypeKey('A');
    ASSERT_EQ(c.sink.KeysSeen.size(), 1u);
    EXPECT_EQ(c.sink.KeysSeen[0], 'a');
    ASSERT_EQ(c.container.Accelerators.size(), 1u);
    EXPECT_EQ(c.container.Accelerators[0].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(c.container.Accelerators[0].wParam, static_cast<WPARAM>('b'));
    c.sink.ReplaceKeyWith = 0;
    TypeKey('C');
    EXPECT_EQ(c.sink.KeysSeen.size(), 2u);
    EXPECT_EQ(c.container.Accelerators.size(), 1u) << "a cleared key goes nowhere";

    // Frozen events are not delivered.
    auto control = Q<IOleControl>(c.unk.get(), IID_IOleControl);
    control->FreezeEvents(TRUE);
    const size_t before = c.sink.Events.size();
    Click(form, 300, 250);
    Pump(600);
    EXPECT_EQ(c.sink.Events.size(), before);
    control->FreezeEvents(FALSE);

    // Deactivation destroys the form: OnDestroy.
    EXPECT_EQ(Q<IOleInPlaceObject>(c.unk.get(), IID_IOleInPlaceObject)->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(c.sink.Count(205), 1) << "OnDestroy";
    EXPECT_EQ(c.container.InPlaceDeactivations, 1);
    EXPECT_EQ(c.container.UIDeactivations, 1);
}

TEST(ControlFace, ASinkThatUnadvisesInsideAnEventDoesNotStopTheOthers) {
    TestContainer container;
    RecordingSink leaving, staying;
    ComPtr<IUnknown> unk = CreateControl();
    auto ole = Q<IOleObject>(unk.get(), IID_IOleObject);
    ASSERT_EQ(ole->SetClientSite(&container), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(Q<IConnectionPointContainer>(unk.get(), IID_IConnectionPointContainer)
                  ->FindConnectionPoint(DIID_ITintmarkPluginEvents, point.put()),
              S_OK);
    DWORD first = 0, second = 0;
    ASSERT_EQ(point->Advise(&leaving, &first), S_OK);
    ASSERT_EQ(point->Advise(&staying, &second), S_OK);
    EXPECT_NE(first, second);
    leaving.OnEvent = [&](DISPID) { EXPECT_EQ(point->Unadvise(first), S_OK); };
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &container, 0, container.Window(), &container.Position),
              S_OK);
    Pump(100);
    EXPECT_EQ(leaving.Events.size(), 1u) << "heard OnCreate, then left";
    EXPECT_EQ(staying.Count(203), 1);
    EXPECT_GE(staying.Events.size(), 2u) << "OnPaint still came";
    EXPECT_EQ(point->Unadvise(first), CONNECT_E_NOCONNECTION);
    // The freed slot is used again.
    RecordingSink third;
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(&third, &cookie), S_OK);
    EXPECT_EQ(cookie, first);
    ole->Close(OLECLOSE_NOSAVE);
    point->Unadvise(cookie);
    point->Unadvise(second);
    ole->SetClientSite(nullptr);
}

TEST(ControlFace, FocusInAndOutIsActivateAndDeactivate) {
    ActiveControl c;
    HWND other = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 720, 10, 20, 20, c.container.Window(),
                                 nullptr, nullptr, nullptr);
    SetFocus(c.Form());
    Pump(50);
    const int activations = c.sink.Count(201);
    SetFocus(other);
    Pump(50);
    EXPECT_EQ(c.sink.Count(206), 1) << "OnDeactivate";
    SetFocus(c.Form());
    Pump(50);
    EXPECT_EQ(c.sink.Count(201), activations + 1) << "OnActivate";
    VARIANT_BOOL active = VARIANT_FALSE;
    EXPECT_EQ(Q<ITintmarkPlugin>(c.unk.get(), IID_ITintmarkPlugin)->get_Active(&active), S_OK);
    EXPECT_EQ(active, VARIANT_TRUE);
    DestroyWindow(other);
}

TEST(ControlFace, FormCreationSwitchesTheMenuStylerOn) {
    ComPtr<IUnknown> keep;
    {
        ActiveControl c(OLEIVERB_INPLACEACTIVATE);
        TTintmarkPlugin* plugin = PluginOf(c.unk.get());
        ASSERT_NE(plugin->MenuStylerInstance, nullptr);
        EXPECT_TRUE(plugin->MenuStylerInstance->Active());
        EXPECT_EQ(plugin->MenuStylerInstance->Owner().Handle(), c.Form());
        EXPECT_EQ(c.container.UIActivations, 0) << "in-place activation only";
        // Created in code and switched on: it never registers with the manager.
        ASSERT_NE(menus::TMenuStylerManager::Instance(), nullptr);
        EXPECT_TRUE(menus::TMenuStylerManager::Instance()->Registered().empty());
        EXPECT_EQ(Q<IOleInPlaceObject>(c.unk.get(), IID_IOleInPlaceObject)->InPlaceDeactivate(), S_OK);
        EXPECT_EQ(plugin->MenuStylerInstance, nullptr) << "the styler goes with the form";
    }
}

TEST(ControlFace, DrawsIntoAContainersDeviceContext) {
    ComPtr<IUnknown> unk = CreateControl();
    auto view = Q<IViewObject2>(unk.get(), IID_IViewObject2);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 100);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECTL bounds{0, 0, 300, 100};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(GetPixel(dc, 250, 90), GetSysColor(COLOR_BTNFACE));
    int ink = 0;
    for (int x = 8; x < 300; ++x)
        for (int y = 8; y < 30; ++y) ink += GetPixel(dc, x, y) != GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(ink, 50);
    EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), DV_E_DVASPECT);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(ControlFace, PropertiesSurviveSaveAndLoad) {
    ComPtr<IUnknown> first = CreateControl();
    auto p = Q<ITintmarkPlugin>(first.get(), IID_ITintmarkPlugin);
    BSTR caption = SysAllocString(L"Saved форма");
    ASSERT_EQ(p->put_Caption(caption), S_OK);
    SysFreeString(caption);
    ASSERT_EQ(p->put_Color(RGB(10, 20, 30)), S_OK);
    ASSERT_EQ(p->put_SnapBuffer(17), S_OK);
    ASSERT_EQ(p->put_AxBorderStyle(2), S_OK);
    ASSERT_EQ(p->put_Visible(VARIANT_FALSE), S_OK);
    ComPtr<IFontDisp> font;
    ASSERT_EQ(p->get_Font(font.put()), S_OK);
    ComPtr<IFont> f = Q<IFont>(font.get(), IID_IFont);
    CY size{};
    size.int64 = 120000;
    f->put_Size(size);
    f->put_Bold(TRUE);
    // The platform's font object may round the size to what the face offers (12 pt can read
    // back as 11.25 pt): the round trip keeps what it reports, whatever that is.
    CY reported{};
    ASSERT_EQ(f->get_Size(&reported), S_OK);
    EXPECT_NEAR(static_cast<double>(reported.int64), 120000.0, 10000.0);

    auto persist = Q<IPersistStreamInit>(first.get(), IID_IPersistStreamInit);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    ULARGE_INTEGER max{};
    ASSERT_EQ(persist->GetSizeMax(&max), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(max.QuadPart, stat.cbSize.QuadPart);

    ComPtr<IUnknown> second = CreateControl();
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(Q<IPersistStreamInit>(second.get(), IID_IPersistStreamInit)->Load(stream.get()), S_OK);
    auto q = Q<ITintmarkPlugin>(second.get(), IID_ITintmarkPlugin);
    BSTR got = nullptr;
    q->get_Caption(&got);
    EXPECT_STREQ(got, L"Saved форма");
    SysFreeString(got);
    OLE_COLOR colour = 0;
    q->get_Color(&colour);
    EXPECT_EQ(colour, RGB(10, 20, 30));
    LONG snap = 0, border = 0;
    q->get_SnapBuffer(&snap);
    q->get_AxBorderStyle(&border);
    EXPECT_EQ(snap, 17);
    EXPECT_EQ(border, 2);
    VARIANT_BOOL visible = VARIANT_TRUE;
    q->get_Visible(&visible);
    EXPECT_EQ(visible, VARIANT_FALSE);
    ComPtr<IFontDisp> font2;
    q->get_Font(font2.put());
    ComPtr<IFont> f2 = Q<IFont>(font2.get(), IID_IFont);
    CY size2{};
    BOOL bold = FALSE;
    f2->get_Size(&size2);
    f2->get_Bold(&bold);
    EXPECT_EQ(size2.int64, reported.int64);
    EXPECT_TRUE(bold);

    // A stream cut short or of another kind changes nothing and fails.
    ComPtr<IStream> bad;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, bad.put()), S_OK);
    const char junk[] = "not a control";
    bad->Write(junk, sizeof junk, nullptr);
    bad->Seek(zero, STREAM_SEEK_SET, nullptr);
    EXPECT_NE(Q<IPersistStreamInit>(second.get(), IID_IPersistStreamInit)->Load(bad.get()), S_OK);
    q->get_SnapBuffer(&snap);
    EXPECT_EQ(snap, 17);
}

namespace {
// Calls a member of a dispatch object by name (as a script engine's host does).
HRESULT CallByName(IDispatch* d, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &put : nullptr, static_cast<UINT>(reversed.size()),
                 flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO excep{};
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, result, &excep, nullptr);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return hr;
}

VARIANT Str(const wchar_t* s) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(s);
    return v;
}

// A VBScript engine (the system's script control) with the control as the named item "Form".
struct ScriptEngine {
    ComPtr<IDispatch> control;
    explicit ScriptEngine(IUnknown* target) {
        CLSID cls{};
        EXPECT_EQ(CLSIDFromProgID(L"MSScriptControl.ScriptControl", &cls), S_OK);
        EXPECT_EQ(CoCreateInstance(cls, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()), S_OK);
        VARIANT lang = Str(L"VBScript");
        EXPECT_EQ(CallByName(control.get(), L"Language", DISPATCH_PROPERTYPUT, {lang}, nullptr), S_OK);
        VariantClear(&lang);
        VARIANT name = Str(L"Form"), object, members;
        VariantInit(&object);
        object.vt = VT_DISPATCH;
        target->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object.pdispVal));
        VariantInit(&members);
        members.vt = VT_BOOL;
        members.boolVal = VARIANT_FALSE;
        EXPECT_EQ(CallByName(control.get(), L"AddObject", DISPATCH_METHOD, {name, object, members}, nullptr), S_OK);
        VariantClear(&name);
        VariantClear(&object);
    }
    HRESULT Run(const wchar_t* statement) {
        VARIANT s = Str(statement);
        const HRESULT hr = CallByName(control.get(), L"ExecuteStatement", DISPATCH_METHOD, {s}, nullptr);
        VariantClear(&s);
        return hr;
    }
    std::wstring Eval(const wchar_t* expression) {
        VARIANT e = Str(expression), r;
        VariantInit(&r);
        EXPECT_EQ(CallByName(control.get(), L"Eval", DISPATCH_METHOD, {e}, &r), S_OK) << "eval";
        VariantClear(&e);
        VariantChangeType(&r, &r, 0, VT_BSTR);
        std::wstring s = r.vt == VT_BSTR && r.bstrVal ? r.bstrVal : L"";
        VariantClear(&r);
        return s;
    }
};

int InkHeight(const Image& img, COLORREF face) {
    int top = -1, bottom = -1;
    for (int y = 1; y < 80; ++y)  // inside the border
        for (int x = 1; x < 400; ++x)
            if (img.At(x, y) != face) {
                if (top < 0) top = y;
                bottom = y;
            }
    return top < 0 ? 0 : bottom - top + 1;
}
}  // namespace

TEST(ControlFace, StandardPropertiesFromAScriptEngineChangeTheForm) {
    ActiveControl c;
    const HWND form = c.Form();
    ASSERT_NE(form, nullptr);
    ScriptEngine vbs(c.unk.get());

    ASSERT_EQ(vbs.Run(L"Form.Caption = \"Из скрипта\""), S_OK);
    EXPECT_EQ(vbs.Eval(L"Form.Caption"), L"Из скрипта");
    wchar_t text[64];
    GetWindowTextW(form, text, 64);
    EXPECT_STREQ(text, L"Из скрипта");

    ASSERT_EQ(vbs.Run(L"Form.Color = RGB(200, 30, 40)"), S_OK);
    EXPECT_EQ(vbs.Eval(L"Form.Color"), std::to_wstring(RGB(200, 30, 40)));
    UpdateWindow(form);
    Pump(100);
    EXPECT_EQ(CaptureWindow(form).At(400, 300), RGB(200, 30, 40));

    const int smallInk = InkHeight(CaptureWindow(form), RGB(200, 30, 40));
    ASSERT_EQ(vbs.Run(L"Form.Font.Size = 20"), S_OK);
    EXPECT_EQ(vbs.Eval(L"Round(Form.Font.Size)"), L"20");
    UpdateWindow(form);
    Pump(100);
    EXPECT_GT(InkHeight(CaptureWindow(form), RGB(200, 30, 40)), smallInk + 5) << "the label grows with the font";

    ASSERT_EQ(vbs.Run(L"Form.Visible = False"), S_OK);
    EXPECT_EQ(vbs.Eval(L"CStr(CInt(Form.Visible))"), L"0");
    EXPECT_FALSE(IsWindowVisible(form));
    UpdateWindow(c.container.Window());
    Pump(100);
    EXPECT_EQ(CaptureWindow(c.container.Window()).At(300, 300), RGB(255, 255, 255)) << "the container shows through";
    ASSERT_EQ(vbs.Run(L"Form.Visible = True"), S_OK);
    EXPECT_TRUE(IsWindowVisible(form));

    ASSERT_EQ(vbs.Run(L"Form.Enabled = False"), S_OK);
    EXPECT_FALSE(IsWindowEnabled(form));
    EXPECT_EQ(vbs.Eval(L"CStr(CInt(Form.Enabled))"), L"0");
    ASSERT_EQ(vbs.Run(L"Form.AxBorderStyle = 0"), S_OK);
    EXPECT_EQ(GetWindowLongPtrW(form, GWL_STYLE) & WS_BORDER, 0);
    ASSERT_EQ(vbs.Run(L"Form.AxBorderStyle = 2"), S_OK);
    EXPECT_NE(GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    // Values the form cannot take are refused with the controls' "invalid property value".
    ASSERT_EQ(vbs.Run(L"On Error Resume Next : Form.AxBorderStyle = 7 : e1 = Err.Number : Err.Clear : "
                      L"Form.PrintScale = 3 : e2 = Err.Number : Err.Clear : Form.PixelsPerInch = 10 : e3 = Err.Number"),
              S_OK);
    EXPECT_EQ(vbs.Eval(L"e1 & \" \" & e2 & \" \" & e3"), L"380 380 380");
    EXPECT_EQ(vbs.Eval(L"Form.AxBorderStyle"), L"2");
}
