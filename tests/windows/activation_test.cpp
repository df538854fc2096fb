// Activation, hooking and the guards in the simulated configurator: which documents are
// served, what activating twice does, that the user's caret stays, what the guards say, and
// that every window keeps working after the plugin stops.
#include "host/records.h"
#include "editor_harness.h"
#include "editor_window.h"
#include "hook/subclass.h"
#include "text/cp1251.h"

#include <set>

using namespace tintmark;
using namespace tintmark::test;

namespace {

std::u16string ManyLines(int n) {
    std::u16string s;
    for (int i = 0; i < n; ++i) s += (i ? u"\r\n" : u"") + std::u16string(u"А = 1;");
    return s;
}

const char kModule[] =
    "Процедура Первая()\r\n"
    "  Если А Тогда\r\n"
    "    А = 1;\r\n"
    "  КонецЕсли;\r\n"
    "КонецПроцедуры";

using ActivationTest = EditorHarness;

}  // namespace

TEST_F(ActivationTest, ServedDocumentsByNameAndSize) {
    struct Case {
        const wchar_t* name;
        int lines;
        bool served;
    };
    const Case cases[] = {
        {L"a.vbs", 5, false}, {L"a.htm", 5, false}, {L"a.ht", 5, false},  {L"a.p", 5, false},
        {L"a.h", 5, false},   {L"a.JS", 5, true},   {L"a.txt", 5, true},   {L"a", 5, true},
        {L"a.", 5, true},     {L"big", 30000, true}, {L"bigger", 30001, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        cfgsim::Document* d = Open(c.name, ManyLines(c.lines));
        EXPECT_EQ(Record(d) != nullptr, c.served);
        EXPECT_EQ(IsHooked(d->editor, HookKind::Editor), c.served);
        EXPECT_EQ(IsHooked(d->window, HookKind::CfgWindow), c.served);
        CloseAll();
    }
}

TEST_F(ActivationTest, ActivatingTwiceMakesNoSecondRecordAndTheCaretStays) {
    cfgsim::Document* a = Open(L"a.txt", U(kModule));
    cfgsim::Document* b = Open(L"b.txt", U(kModule));
    ASSERT_TRUE(Record(a) && Record(b));
    a->text.MoveCaret({3, 4}, {1, 2});
    SendMessageW(a->editor, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 0);
    plugin->TextOriginX = 0;  // measured again, from the caret where it stands
    cfgsim::ActivateDocument(a);
    cfgsim::ActivateDocument(b);
    cfgsim::ActivateDocument(a);
    cfgsim::Pump();
    EXPECT_EQ(GetScrollPos(a->editor, SB_VERT), 1) << "the view did not move";
    auto count = [](HWND parent, const wchar_t* cls) {
        int n = 0;
        for (HWND c = FindWindowExW(parent, nullptr, cls, nullptr); c; c = FindWindowExW(parent, c, cls, nullptr)) ++n;
        return n;
    };
    EXPECT_EQ(count(a->window, kCfgWndDataClass), 1);
    EXPECT_EQ(count(a->editor, kEditorDataClass), 1);
    // Neither measuring the text origin nor the analysis moved the user's caret.
    EXPECT_EQ(a->text.SelStart().line, 3);
    EXPECT_EQ(a->text.SelStart().col, 4);
    EXPECT_EQ(a->text.SelEnd().line, 1);
    EXPECT_EQ(a->text.SelEnd().col, 2);
    EXPECT_EQ(plugin->TextOriginX, cfgsim::GetEditorGeometry(a->editor).margin);
}

TEST_F(ActivationTest, GuardsRefuseClosingAndQuittingWhileMethodsAreFolded) {
    cfgsim::Document* a = Open(L"a.txt", U(kModule));
    cfgsim::Document* b = Open(L"b.txt", U(kModule));
    cfgsim::Document* c = Open(L"c.txt", U(kModule));
    cfgsim::ActivateDocument(b);
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    cfgsim::ActivateDocument(c);
    SetFocus(c->editor);
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    cfgsim::ActivateDocument(a);

    SendMessageW(a->window, WM_CLOSE, 0, 0);
    cfgsim::Pump();
    EXPECT_FALSE(IsWindow(a->window)) << "a window without folded methods closes";

    sim.messageBoxes.clear();
    SendMessageW(b->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(b->window));
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.messageBoxes[0], L"ВНИМАНИЕ!\r\nПеред закрытием окна необходимо развернуть все процедуры модуля!");

    cfgsim::ActivateDocument(c);
    sim.messageBoxes.clear();
    SendMessageW(sim.configWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(sim.configWindow));
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.messageBoxes[0], L"ВНИМАНИЕ!\r\nОбнаружены открытые окна со свернутыми процедурами.\r\n"
                                   L"Перед закрытием конфигурации необходимо их развернуть!");
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(sim.mdiClient, WM_MDIGETACTIVE, 0, 0)), b->window)
        << "the first window with folded methods comes to the front";

    sim.messageBoxes.clear();
    cfgsim::ActivateDocument(c);
    EXPECT_TRUE(sim.FireQueryQuit());
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_EQ(sim.messageBoxes[0], L"Внимание!\r\nОбнаружены открытые окна со свернутыми процедурами.\r\n"
                                   L"Перед выходом необходимо их развернуть.");
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(sim.mdiClient, WM_MDIGETACTIVE, 0, 0)), b->window);

    for (cfgsim::Document* d : {b, c}) {
        cfgsim::ActivateDocument(d);
        SetFocus(d->editor);
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
    }
    sim.messageBoxes.clear();
    EXPECT_FALSE(sim.FireQueryQuit());
    EXPECT_TRUE(sim.messageBoxes.empty());
}

TEST_F(ActivationTest, GuardsHoldWhenTheHostCannotListItsWindows) {
    cfgsim::Document* a = Open(L"a.txt", U(kModule));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    sim.InjectFault("GetFirstCfgWindow", 1, E_FAIL);
    sim.messageBoxes.clear();
    EXPECT_TRUE(sim.FireQueryQuit());
    EXPECT_EQ(sim.messageBoxes.size(), 1u);
    sim.InjectFault("GetWindowList", 1, E_FAIL);
    SendMessageW(sim.configWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(sim.configWindow));
    SetFocus(a->editor);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
}

TEST_F(ActivationTest, WindowsKeepWorkingAfterDoneAndRelease) {
    cfgsim::Document* a = Open(L"a.txt", U(kModule));
    HWND editor = a->editor;
    // Another program subclasses the editor on top of the plugin.
    static WNDPROC below = nullptr;
    below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        editor, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProcW(below, w, m, wp, lp); })));
    ASSERT_EQ(plugin->Done(), S_OK);
    EXPECT_FALSE(IsHooked(a->window, HookKind::CfgWindow)) << "restored where ours was on top";
    plugin.reset();
    for (HWND w : {a->window, editor, sim.configWindow}) {
        SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 20));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(40, 20));
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
    }
    EXPECT_EQ(a->text.SelStart().line, 1) << "the editor still edits";
    // The harness's TearDown needs a plugin object.
    plugin = ComPtr<TTintmarkPlugin>(new TTintmarkPlugin(), false);
    BSTR name = nullptr;
    plugin->Init(sim.configurator, &name);
    SysFreeString(name);
}

// Every host call failing once during activation, a key, a click and a paint: the
// configurator keeps running and the next action is served.
TEST_F(ActivationTest, HostFailuresInHandlersAreContained) {
    const std::string operations[] = {"GetWindowHandle", "GetDocument", "GetDocKind", "GetDocName", "GetTextFlag",
                                      "GetLineCount",    "GetSelStartLine", "GetSelStartCol", "GetSelEndLine",
                                      "GetSelEndCol",    "GetRangeText", "GetLineLength", "GetBookmark",
                                      "NextBookmark",    "MoveCaret"};
    cfgsim::Document* a = Open(L"a.txt", U(kModule));
    cfgsim::Document* b = Open(L"b.txt", U(kModule));
    for (const std::string& op : operations) {
        for (int n = 1; n <= 3; ++n) {
            SCOPED_TRACE(op + " #" + std::to_string(n));
            sim.InjectFault(op, n, E_FAIL);
            cfgsim::ActivateDocument(a);
            SetFocus(a->editor);
            SendMessageW(a->editor, WM_KEYDOWN, VK_DOWN, 0);
            POINT p = cfgsim::EditorPointOf(a->editor, 1, 3);
            SendMessageW(a->editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            SendMessageW(a->editor, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            InvalidateRect(a->editor, nullptr, FALSE);
            UpdateWindow(a->editor);
            sim.faults.clear();
            EXPECT_EQ(a->text.SelStart().line, 1) << "the host handled the click";
            cfgsim::ActivateDocument(b);
            cfgsim::Pump();
        }
    }
    // Afterwards everything is served again: a fold works.
    cfgsim::ActivateDocument(a);
    SetFocus(a->editor);
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EXPECT_EQ(a->text.LineCount(), 2);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    // Failures were told once each, not once per message.
    std::set<std::wstring> distinct(sim.messageLines.begin(), sim.messageLines.end());
    EXPECT_EQ(distinct.size(), sim.messageLines.size());
}
