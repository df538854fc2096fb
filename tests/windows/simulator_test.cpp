// The simulator's own semantics: host objects, windows, events, faults and message boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "com_base.h"
#include "png.h"
#include "simulator_fixture.h"

using namespace cfgsim;
using namespace cfgsim::test;

namespace {

// Records the configurator's events as "dispid:argument" strings.
class RecordingSink final : public IDispatch {
public:
    std::vector<std::wstring> events;
    VARIANT_BOOL refuseQuit = VARIANT_FALSE;
    bool editorFocusedWhenActivated = false;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_IConfigEvents) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* r, EXCEPINFO*,
                                     UINT*) override {
        std::wstring e = std::to_wstring(id);
        if (id == 8 && p->cArgs == 2) {
            ICfgWindow* w = nullptr;
            p->rgvarg[1].pdispVal->QueryInterface(IID_ICfgWindow, reinterpret_cast<void**>(&w));
            ICfgDoc* d = nullptr;
            w->GetDocument(&d);
            BSTR name = nullptr;
            d->GetDocName(&name);
            e += L":" + std::wstring(name) + (p->rgvarg[0].boolVal ? L"+" : L"-");
            if (p->rgvarg[0].boolVal) {
                LONG h = 0;
                w->GetWindowHandle(&h);
                const Document* doc = Simulator::Get().DocumentOfWindow(reinterpret_cast<HWND>(static_cast<LONG_PTR>(h)));
                editorFocusedWhenActivated = doc && GetFocus() == doc->editor;
            }
            SysFreeString(name);
            d->Release();
            w->Release();
        }
        if (id == 11 && r) {
            r->vt = VT_BOOL;
            r->boolVal = refuseQuit;
        }
        events.push_back(e);
        return S_OK;
    }
};

}  // namespace

TEST_F(SimulatorTest, TextDocumentOperations) {
    Document* d = OpenDocument(L"a.txt", kTextDoc, 7, L"C:\\a.txt", u"Если А Тогда\r\n\tБ = 1;\r\nКонецЕсли");
    ITextDoc* t = NewTextDocument(d);
    LONG n = 0;
    t->GetLineCount(&n);
    EXPECT_EQ(n, 3);
    t->GetLineLength(1, &n);
    EXPECT_EQ(n, 7);
    BSTR s = nullptr;
    t->GetRangeText(0, I4(5), I4(2), I4(5), &s);
    EXPECT_EQ(Text(s), L"А Тогда\r\n\tБ = 1;\r\nКонец");
    t->GetText(&s);
    EXPECT_EQ(Text(s), L"Если А Тогда\r\n\tБ = 1;\r\nКонецЕсли");
    VARIANT bad;
    VariantInit(&bad);
    bad.vt = VT_BSTR;
    bad.bstrVal = SysAllocString(L"x");
    EXPECT_EQ(t->GetRangeText(0, bad, I4(0), I4(1), &s), DISP_E_TYPEMISMATCH);
    VariantClear(&bad);

    BSTR repl = SysAllocString(L"В = 2;\r\n\tГ = 3;");
    EXPECT_EQ(t->ReplaceRange(1, I4(1), I4(1), I4(7), repl), S_OK);
    SysFreeString(repl);
    t->GetLineCount(&n);
    EXPECT_EQ(n, 4);
    t->GetRangeText(1, I4(0), I4(2), I4(7), &s);
    EXPECT_EQ(Text(s), L"\tВ = 2;\r\n\tГ = 3;");

    EXPECT_EQ(t->MoveCaret(2, 1, I4(0), I4(2)), S_OK);
    LONG a, b, c, e;
    t->GetSelStartLine(&a);
    t->GetSelStartCol(&b);
    t->GetSelEndLine(&c);
    t->GetSelEndCol(&e);
    EXPECT_EQ(std::vector<LONG>({a, b, c, e}), std::vector<LONG>({2, 1, 0, 2}));
    // The system caret follows when the editor has the focus.
    SetFocus(d->editor);
    t->MoveCaret(1, 0, I4(1), I4(0));
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_GT(caret.y, 0);

    VARIANT_BOOL on = VARIANT_FALSE;
    t->SetBookmark(3, VARIANT_TRUE);
    t->SetBookmark(1, VARIANT_TRUE);
    t->GetBookmark(3, &on);
    EXPECT_EQ(on, VARIANT_TRUE);
    t->NextBookmark(1, &n);
    EXPECT_EQ(n, 3);
    t->NextBookmark(3, &n);
    EXPECT_EQ(n, 1);

    ICfgDoc* doc = nullptr;
    t->QueryInterface(IID_ICfgDoc, reinterpret_cast<void**>(&doc));
    LONG kind = 0, id = 0;
    doc->GetDocKind(&kind);
    doc->GetDocId(&id);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(id, 7);
    doc->GetDocPath(&s);
    EXPECT_EQ(Text(s), L"C:\\a.txt");
    doc->Release();
    t->Release();
}

TEST_F(SimulatorTest, WindowsAreShapedAsThePluginLooksForThem) {
    Document* text = OpenDocument(L"b.txt", kTextDoc, 0, L"", u"x");
    Document* pages = OpenDocument(L"c.ert", kMultiPageDoc, 0, L"", u"y");
    wchar_t cls[64];
    HWND frame = FindWindowExW(text->window, nullptr, L"AfxMDIFrame42", nullptr);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetWindow(frame, GW_CHILD), text->editor);
    HWND container = GetWindow(pages->window, GW_CHILD);
    HWND pageFrame = FindWindowExW(container, nullptr, L"AfxMDIFrame42", nullptr);
    ASSERT_NE(pageFrame, nullptr);
    EXPECT_EQ(GetWindow(pageFrame, GW_CHILD), pages->editor);
    GetClassNameW(GetParent(text->window), cls, 64);
    EXPECT_STREQ(cls, L"MDIClient");

    // The host defines no interface id for multi-page documents: QueryInterface refuses the
    // declared one, and slots 18 and 19 are called through the ICfgDoc pointer.
    ICfgDoc* doc = NewDocumentObject(pages);
    IUnknown* refused = nullptr;
    EXPECT_EQ(doc->QueryInterface(IID_IMultiPageDoc, reinterpret_cast<void**>(&refused)), E_NOINTERFACE);
    EXPECT_EQ(refused, nullptr);
    IMultiPageDoc* multi = static_cast<IMultiPageDoc*>(doc);
    multi->AddRef();
    VARIANT page;
    multi->GetActivePage(&page);
    EXPECT_EQ(page.lVal, 1);
    ICfgDoc* first = nullptr;
    ASSERT_EQ(multi->GetPage(I4(1), &first), S_OK);
    ITextDoc* t = nullptr;
    EXPECT_EQ(first->QueryInterface(IID_ITextDoc, reinterpret_cast<void**>(&t)), S_OK);
    t->Release();
    first->Release();
    multi->Release();
    doc->Release();

    // The window list walks the open configurator windows.
    ICfgWindowList* list = nullptr;
    sim.configurator->GetWindowList(&list);
    ICfgWindow* w = nullptr;
    list->GetFirstCfgWindow(&w);
    int count = 0;
    while (w) {
        ++count;
        ICfgWindow* next = nullptr;
        list->GetNextCfgWindow(w, &next);
        w->Release();
        w = next;
    }
    int open = 0;
    for (auto& d : sim.documents) open += IsWindow(d->window) ? 1 : 0;
    EXPECT_EQ(count, open);  // closed windows are skipped
    ICfgWindow* active = nullptr;
    list->GetActiveCfgWindow(&active);
    LONG h = 0;
    active->GetWindowHandle(&h);
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(h)), pages->window);
    active->Release();
    list->Release();
    BSTR folder = nullptr;
    sim.configurator->GetWorkFolder(&folder);
    EXPECT_EQ(Text(folder).back(), L'\\');
}

TEST_F(SimulatorTest, EventsActivationOrderAndQuitRefusal) {
    RecordingSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(sim.configurator->events.Advise(&sink, &cookie), S_OK);
    Document* d1 = OpenDocument(L"d1.txt", kTextDoc, 0, L"", u"1");
    Document* d2 = OpenDocument(L"d2.txt", kTextDoc, 0, L"", u"2");
    sink.events.clear();
    ActivateDocument(d1);
    Pump();
    EXPECT_EQ(sink.events, (std::vector<std::wstring>{L"8:d2.txt-", L"8:d1.txt+"}));
    EXPECT_TRUE(sink.editorFocusedWhenActivated);  // as a plugin measuring the caret needs
    sink.events.clear();
    sim.FireConfigWindowCreate();
    EXPECT_EQ(sink.events, (std::vector<std::wstring>{L"0"}));
    sink.refuseQuit = VARIANT_TRUE;
    EXPECT_FALSE(RequestQuit());
    EXPECT_TRUE(IsWindow(sim.mainWindow));
    sink.refuseQuit = VARIANT_FALSE;
    EXPECT_TRUE(sim.FireQueryQuit() == false);
    (void)d2;
    sim.configurator->events.Unadvise(cookie);
}

TEST_F(SimulatorTest, FaultInjectionAndCallCounts) {
    Document* d = OpenDocument(L"f.txt", kTextDoc, 0, L"", u"a\r\nb");
    ITextDoc* t = NewTextDocument(d);
    sim.calls.clear();
    sim.InjectFault("GetLineCount", 2, E_ACCESSDENIED);
    LONG n = 0;
    EXPECT_EQ(t->GetLineCount(&n), S_OK);
    EXPECT_EQ(t->GetLineCount(&n), E_ACCESSDENIED);
    EXPECT_EQ(t->GetLineCount(&n), S_OK);  // only the chosen call fails
    EXPECT_EQ(sim.calls["GetLineCount"], 3);
    t->Release();
}

TEST_F(SimulatorTest, MessageBoxesAreCapturedAndDismissed) {
    const size_t before = sim.messageBoxes.size();
    const int answer = MessageBoxW(sim.mainWindow, L"Внимание!\r\nТекст", L"Tintmark", MB_OK | MB_ICONWARNING);
    EXPECT_EQ(answer, IDOK);
    ASSERT_EQ(sim.messageBoxes.size(), before + 1);
    EXPECT_NE(sim.messageBoxes.back().find(L"Внимание!"), std::wstring::npos);
}

TEST_F(SimulatorTest, TelepatStandInFiresInsert) {
    IDispatch* t = sim.PluginByName(L"Телепат");
    ASSERT_EQ(t, static_cast<IDispatch*>(sim.telepat));
    IConnectionPointContainer* c = nullptr;
    ASSERT_EQ(t->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&c)), S_OK);
    IConnectionPoint* cp = nullptr;
    EXPECT_EQ(c->FindConnectionPoint(DIID_DTelepatEvents, &cp), S_OK);
    EXPECT_EQ(sim.telepat->FireInsert(1, L"n", L"t"), S_OK);  // no sink: nothing to call
    cp->Release();
    c->Release();
}

TEST_F(SimulatorTest, TextFlagAndAPageOneOfAnotherKind) {
    Document* text = OpenDocument(L"flag.txt", kTextDoc, 0, L"", u"x");
    ITextDoc* t = NewTextDocument(text);
    VARIANT_BOOL flag = VARIANT_FALSE;
    t->GetTextFlag(&flag);
    EXPECT_EQ(flag, VARIANT_TRUE);
    text->textFlag = false;
    t->GetTextFlag(&flag);
    EXPECT_EQ(flag, VARIANT_FALSE);
    t->Release();

    Document* form = OpenDocument(L"form.frm", kMultiPageDoc, 0, L"", u"y", kOtherDoc);
    ICfgDoc* doc = NewDocumentObject(form);
    ICfgDoc* page = nullptr;
    ASSERT_EQ(static_cast<IMultiPageDoc*>(doc)->GetPage(I4(1), &page), S_OK);
    LONG kind = 0;
    page->GetDocKind(&kind);
    EXPECT_EQ(kind, kOtherDoc);
    ITextDoc* notText = nullptr;
    EXPECT_EQ(page->QueryInterface(IID_ITextDoc, reinterpret_cast<void**>(&notText)), E_NOINTERFACE);
    page->Release();
    doc->Release();
}

TEST_F(SimulatorTest, ReopenedConfigurationWindowIsAnnouncedAgain) {
    RecordingSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(sim.configurator->events.Advise(&sink, &cookie), S_OK);
    const HWND before = sim.configWindow;
    ReopenConfigWindow();
    EXPECT_FALSE(IsWindow(before));
    ASSERT_TRUE(IsWindow(sim.configWindow));
    ASSERT_FALSE(sink.events.empty());  // the window that lost activation may come first
    EXPECT_EQ(sink.events.back(), L"0");
    EXPECT_EQ(std::count(sink.events.begin(), sink.events.end(), L"0"), 1);
    wchar_t cls[16] = {};
    GetClassNameW(GetWindow(sim.configWindow, GW_CHILD), cls, 16);
    EXPECT_EQ(_wcsicmp(cls, L"listbox"), 0);  // the configuration's list takes the focus there
    LONG h = 0;
    IMDWindow* md = nullptr;
    sim.configurator->GetConfigWindow(&md);
    md->GetConfigWindowHandle(&h);
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(h)), sim.configWindow);
    md->Release();
    sim.configurator->events.Unadvise(cookie);
}

TEST_F(SimulatorTest, PicturesSurviveTheirFile) {
    Image image;
    image.width = 3;
    image.height = 2;
    image.rgb = {1, 2, 3, 255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 200, 100, 50};
    const std::wstring path = TempFolder(L"cfgsim-png") + L"p.png";
    ASSERT_TRUE(WritePng(path, image));
    Image back;
    ASSERT_TRUE(ReadPng(path, back));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.rgb, image.rgb);
    EXPECT_EQ(back.At(1, 0), 0xFF0000u);
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fputs("not a picture", f);
    std::fclose(f);
    EXPECT_FALSE(ReadPng(path, back));
    EXPECT_FALSE(ReadPng(path + L".missing", back));
}

// The configurator's users have Windows-1251 as their ANSI code page; the test runs under
// Wine are set up alike (tools/wine-run.sh), so that files written in the ANSI code page
// come out as on their machines.
TEST_F(SimulatorTest, RunsUnderCodePage1251) {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "not under Wine";
    EXPECT_EQ(GetACP(), 1251u);
    char ansi[8] = {};
    const int n = WideCharToMultiByte(CP_ACP, 0, L"Жё", 2, ansi, sizeof ansi, nullptr, nullptr);
    EXPECT_EQ(std::string(ansi, static_cast<size_t>(n)), "\xC6\xB8");
}
