// The simulated editor as a host for a plugin: what it repaints, how input reaches it, what a
// window procedure on top of it sees, and its virtual space.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_window.h"
#include "measure.h"
#include "screenshot.h"
#include "simulator_fixture.h"

using namespace cfgsim;
using namespace cfgsim::test;

namespace {

std::u16string NumberedLines(int n) {
    std::u16string text;
    for (int i = 0; i < n; ++i) {
        const std::string line = "line " + std::to_string(i) + " = (" + std::to_string(i) + ");\r\n";
        text += std::u16string(line.begin(), line.end());
    }
    return text;
}

std::string Box(RECT r) {
    if (IsRectEmpty(&r)) return "none";
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
}

class EditorTest : public SimulatorTest {
public:
    // Opens text in an editor of the worked geometry (line height 16, margin 20) with the focus.
    void Open(const std::u16string& text) {
        SetOption(L"Fonts\\BLang", L"DejaVu Sans Mono,-14,0,400,204");
        sim.editor.margin = 20;
        doc = OpenDocument(L"editor-test.txt", kTextDoc, 0, L"", text);
        BringToFront();
        SetFocus(doc->editor);
        Pump();
        g = GetEditorGeometry(doc->editor);
        ASSERT_EQ(g.lineHeight, 16);
        Reset();
    }
    void TearDown() override {
        if (doc && IsWindow(doc->window))
            SendMessageW(sim.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(doc->window), 0);
        SimulatorTest::TearDown();
    }
    void Reset() {
        Pump();
        ResetEditorPaints(doc->editor);
        ResetEditorMessages(doc->editor);
    }
    EditorStats Stats() {
        Pump();
        return GetEditorStats(doc->editor);
    }
    RECT Band(int firstRow, int lastRow) const { return RECT{0, firstRow * g.lineHeight, g.clientWidth, (lastRow + 1) * g.lineHeight}; }
    TextPos Caret() const { return doc->text.SelStart(); }
    POINT At(int line, int col) const { return EditorPointOf(doc->editor, line, col); }

    Document* doc = nullptr;
    EditorGeometry g;
};

// A window procedure on top of the editor's, as a plugin installs one.
class Subclass {
public:
    using Hook = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, WNDPROC host);
    Subclass(HWND wnd, Hook hook) : wnd_(wnd) {
        hook_ = hook;
        host_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~Subclass() { SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host_)); }
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return hook_(w, m, wp, lp, host_); }
    HWND wnd_;
    static inline Hook hook_ = nullptr;
    static inline WNDPROC host_ = nullptr;
};

}  // namespace

TEST_F(EditorTest, WorkedGeometry) {
    Open(NumberedLines(5));
    EXPECT_EQ(g.margin, 20);
    POINT caret;
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(caret.x, 20);  // line 0, column 0 stands at the text origin
    EXPECT_EQ(caret.y, 0);
    EditorMoveCaret(doc, {2, 3}, {2, 3});
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 20 + 3 * 8);  // a fixed-pitch font of 8 pixels
    EXPECT_EQ(caret.y, 32);
}

TEST_F(EditorTest, CaretMovesLeaveTheClientAreaValid) {
    Open(NumberedLines(40));
    ITextDoc* t = NewTextDocument(doc);
    struct Step {
        const char* what;
        void (*run)(EditorTest&, ITextDoc*);
        TextPos caret;
    } steps[] = {
        {"Down", [](EditorTest&, ITextDoc*) { PressKey(VK_DOWN, {}); }, {1, 0}},
        {"End", [](EditorTest&, ITextDoc*) { PressKey(VK_END, {}); }, {1, 13}},
        {"Left", [](EditorTest&, ITextDoc*) { PressKey(VK_LEFT, {}); }, {1, 12}},
        {"Up", [](EditorTest&, ITextDoc*) { PressKey(VK_UP, {}); }, {0, 12}},
        {"Home", [](EditorTest&, ITextDoc*) { PressKey(VK_HOME, {}); }, {0, 0}},
        {"click", [](EditorTest& f, ITextDoc*) { MouseClick(f.doc->editor, f.At(3, 2), {}); }, {3, 2}},
        {"MoveCaret", [](EditorTest&, ITextDoc* d) { d->MoveCaret(5, 4, I4(5), I4(4)); }, {5, 4}},
    };
    for (const Step& s : steps) {
        Reset();
        s.run(*this, t);
        const EditorStats st = Stats();
        EXPECT_EQ(Caret(), s.caret) << s.what;
        EXPECT_EQ(st.paints, 0) << s.what;
        EXPECT_EQ(st.invalidations, 0) << s.what;
    }
    t->Release();
}

TEST_F(EditorTest, TypingRepaintsOneLineBandAndLineBreaksEverythingBelow) {
    Open(NumberedLines(40));
    EditorMoveCaret(doc, {2, 3}, {2, 3});
    struct Step {
        const char* what;
        void (*run)();
        int firstRow, lastRow;
    } steps[] = {
        {"a character", [] { TypeText(L"x"); }, 2, 2},
        {"a Cyrillic character", [] { TypeText(L"Ж"); }, 2, 2},
        {"Backspace", [] { PressKey(VK_BACK, {}); }, 2, 2},
        {"Delete", [] { PressKey(VK_DELETE, {}); }, 2, 2},
        {"Enter", [] { PressKey(VK_RETURN, {}); }, 2, 27},  // down to the partly visible last row
        {"Backspace joining lines", [] { PressKey(VK_BACK, {}); }, 2, 27},
    };
    for (const Step& s : steps) {
        Reset();
        s.run();
        const EditorStats st = Stats();
        EXPECT_EQ(st.paints, 1) << s.what;
        RECT want = Band(s.firstRow, s.lastRow);
        want.bottom = std::min(want.bottom, static_cast<LONG>(g.clientHeight));
        EXPECT_EQ(Box(st.painted), Box(want)) << s.what;
    }
    EXPECT_EQ(doc->text.Line(2), u"linx 2 = (2);");
}

TEST_F(EditorTest, ScrollingMovesPixelsAndRepaintsOnlyTheUncoveredBand) {
    Open(NumberedLines(60));
    const int w = g.clientWidth, h = g.clientHeight, lh = g.lineHeight;
    struct Step {
        const char* what;
        void (*run)(HWND);
        int dx, dy;  // how far the pixels move
        RECT uncovered;
    } steps[] = {
        {"line down", [](HWND e) { SendMessageW(e, WM_VSCROLL, SB_LINEDOWN, 0); }, 0, -lh, {0, h - lh, w, h}},
        {"line up", [](HWND e) { SendMessageW(e, WM_VSCROLL, SB_LINEUP, 0); }, 0, lh, {0, 0, w, lh}},
        {"wheel one notch down", [](HWND e) { MouseWheel(e, -1); }, 0, -3 * lh, {0, h - 3 * lh, w, h}},
        {"horizontally", [](HWND e) { SendMessageW(e, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 24), 0); }, -24, 0,
         {w - 24, 0, w, h}},
    };
    for (const Step& s : steps) {
        Reset();
        const Image before = CaptureClient(doc->editor);
        s.run(doc->editor);
        const EditorStats st = Stats();
        EXPECT_EQ(st.paints, 1) << s.what;
        EXPECT_EQ(Box(st.painted), Box(s.uncovered)) << s.what;
        // Everything outside the uncovered band shows the pixels from before, moved.
        const Image after = CaptureClient(doc->editor);
        int moved = 0, wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                POINT p{x, y};
                if (PtInRect(&s.uncovered, p)) continue;
                const bool inScrolledArea = s.dx == 0 || x >= g.margin;
                const int sx = inScrolledArea ? x - s.dx : x, sy = y - s.dy;
                ++moved;
                wrong += after.At(x, y) != before.At(sx, sy);
            }
        EXPECT_GT(moved, 0) << s.what;
        EXPECT_EQ(wrong, 0) << s.what;
    }
}

// Dragging past an edge, as in a Win32 edit control: the selection stops at the last whole
// line in view (the pointer is confined to the text), and each tick of the autoscroll timer
// moves it one line on and scrolls the view by one line (pixels moved, one band uncovered).
TEST_F(EditorTest, DraggingPastTheBottomAutoscrollsALineATick) {
    Open(NumberedLines(60));
    const int rows = g.clientHeight / g.lineHeight;
    MousePress(doc->editor, At(2, 3), {});
    KillTimer(doc->editor, 1);  // the ticks are given by hand below
    MouseMove(doc->editor, POINT{At(2, 3).x, g.clientHeight + 40});
    Pump();
    EXPECT_EQ(doc->text.SelStart(), (TextPos{rows - 1, 3}));
    EXPECT_EQ(GetEditorGeometry(doc->editor).firstLine, 0);
    for (int tick = 1; tick <= 2; ++tick) {
        Reset();
        SendMessageW(doc->editor, WM_TIMER, 1, 0);
        const EditorStats st = Stats();
        EXPECT_EQ(GetEditorGeometry(doc->editor).firstLine, tick);
        EXPECT_EQ(doc->text.SelStart(), (TextPos{rows - 1 + tick, 3}));
        EXPECT_EQ(doc->text.SelEnd(), (TextPos{2, 3}));
        EXPECT_EQ(st.invalidations, 2) << "the scroll and the band of the line newly selected";
    }
    // Back inside the text the ticks do nothing; after the release there are none.
    MouseMove(doc->editor, At(10, 3));
    Pump();
    SendMessageW(doc->editor, WM_TIMER, 1, 0);
    EXPECT_EQ(GetEditorGeometry(doc->editor).firstLine, 2);
    EXPECT_EQ(doc->text.SelStart(), (TextPos{10, 3}));
    MouseMove(doc->editor, POINT{At(2, 3).x, -30});
    MouseRelease(doc->editor, POINT{At(2, 3).x, -30}, {});
    Pump();
    EXPECT_EQ(doc->text.SelStart(), (TextPos{2, 3})) << "confined to the first line in view";
    SendMessageW(doc->editor, WM_TIMER, 1, 0);
    EXPECT_EQ(GetEditorGeometry(doc->editor).firstLine, 2);
}

TEST_F(EditorTest, ShiftClickExtendsOnlyAnExistingSelection) {
    Open(NumberedLines(10));
    EditorMoveCaret(doc, {1, 0}, {1, 0});
    MouseClick(doc->editor, At(3, 2), {true, false, false});
    EXPECT_EQ(doc->text.SelStart(), (TextPos{3, 2}));
    EXPECT_EQ(doc->text.SelEnd(), (TextPos{3, 2}));  // only the caret moved

    EditorMoveCaret(doc, {1, 4}, {1, 0});
    MouseClick(doc->editor, At(3, 2), {true, false, false});
    EXPECT_EQ(doc->text.SelStart(), (TextPos{3, 2}));
    EXPECT_EQ(doc->text.SelEnd(), (TextPos{1, 0}));  // the selection grew from its other end

    MouseClick(doc->editor, At(4, 1), {false, true, false});  // Ctrl: a plain caret move
    EXPECT_EQ(doc->text.SelStart(), (TextPos{4, 1}));
    EXPECT_EQ(doc->text.SelEnd(), (TextPos{4, 1}));
}

namespace {
// What a window procedure on top of the editor sees of the mouse.
struct Seen {
    int downs = 0, moves = 0;
    WPARAM downFlags = 0, moveFlags = 0;
    bool buttonDownInDown = false, shiftDownInDown = false;
    POINT cursor{}, messagePos{}, client{};
} g_seen;

LRESULT Probe(HWND w, UINT m, WPARAM wp, LPARAM lp, WNDPROC host) {
    if (m == WM_LBUTTONDOWN) {
        ++g_seen.downs;
        g_seen.downFlags = wp;
        g_seen.buttonDownInDown = GetKeyState(VK_LBUTTON) < 0;
        g_seen.shiftDownInDown = GetKeyState(VK_SHIFT) < 0;
        GetCursorPos(&g_seen.cursor);
        const DWORD pos = GetMessagePos();
        g_seen.messagePos = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        g_seen.client = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    } else if (m == WM_MOUSEMOVE && (wp & MK_LBUTTON)) {
        ++g_seen.moves;
        g_seen.moveFlags = wp;
    }
    return CallWindowProcW(host, w, m, wp, lp);
}
}  // namespace

TEST_F(EditorTest, ButtonAndModifierStateAsAWindowProcedureAsksForIt) {
    Open(NumberedLines(10));
    g_seen = Seen{};
    Subclass probe(doc->editor, Probe);
    const POINT p = At(2, 3);
    POINT screen = p;
    ClientToScreen(doc->editor, &screen);

    MousePress(doc->editor, p, {true, false, false});
    EXPECT_EQ(g_seen.downs, 1);
    EXPECT_EQ(g_seen.downFlags, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
    EXPECT_TRUE(g_seen.buttonDownInDown);
    EXPECT_TRUE(g_seen.shiftDownInDown);
    EXPECT_EQ(g_seen.client.x, p.x);
    EXPECT_EQ(g_seen.client.y, p.y);
    EXPECT_EQ(g_seen.cursor.x, screen.x);
    EXPECT_EQ(g_seen.cursor.y, screen.y);
    EXPECT_EQ(g_seen.messagePos.x, screen.x);
    EXPECT_EQ(g_seen.messagePos.y, screen.y);
    // Between press and release: the button is down, the editor has the capture, and the
    // modifier of the press is up again.
    EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
    EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
    EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetCapture(), doc->editor);

    MouseMove(doc->editor, At(3, 5));
    EXPECT_GE(g_seen.moves, 1);
    EXPECT_EQ(g_seen.moveFlags, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(doc->text.SelStart(), (TextPos{3, 5}));  // dragging selects
    EXPECT_EQ(doc->text.SelEnd(), (TextPos{2, 3}));

    MouseRelease(doc->editor, At(3, 5), {});
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

namespace {
// Paints the margin itself and keeps the host's paint out of it, as a plugin's gutter does.
LRESULT GutterOwner(HWND w, UINT m, WPARAM wp, LPARAM lp, WNDPROC host) {
    if (m != WM_PAINT) return CallWindowProcW(host, w, m, wp, lp);
    RECT gutter{0, 0, 19, 0};
    GetClientRect(w, &gutter);
    gutter.right = 19;
    HDC dc = GetDC(w);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &gutter, green);
    DeleteObject(green);
    ReleaseDC(w, dc);
    ValidateRect(w, &gutter);
    return CallWindowProcW(host, w, m, wp, lp);
}
}  // namespace

TEST_F(EditorTest, APartValidatedBeforeTheHostPaintsStaysUntouched) {
    Open(NumberedLines(10));
    EditorSetBookmark(doc, 0, true);  // its marker would be painted in the margin
    Subclass owner(doc->editor, GutterOwner);
    Reset();
    InvalidateRect(doc->editor, nullptr, FALSE);
    const EditorStats st = Stats();
    EXPECT_EQ(st.paints, 1);
    EXPECT_EQ(Box(st.painted), Box(RECT{19, 0, g.clientWidth, g.clientHeight}));
    const Image image = CaptureClient(doc->editor);
    for (POINT p : {POINT{0, 0}, POINT{8, 8}, POINT{18, g.clientHeight - 1}}) EXPECT_EQ(image.At(p.x, p.y), 0x00FF00u);
    EXPECT_EQ(image.At(19, 5), 0xFFFFFFu);  // the host paints from the text origin's column - 1
}

namespace {
// Swallows a release with Ctrl held, as a plugin does after a Ctrl+click.
LRESULT CtrlReleaseEater(HWND w, UINT m, WPARAM wp, LPARAM lp, WNDPROC host) {
    if (m == WM_LBUTTONUP && (wp & MK_CONTROL)) {
        ReleaseCapture();
        return 0;
    }
    return CallWindowProcW(host, w, m, wp, lp);
}
}  // namespace

TEST_F(EditorTest, MessagesAreCountedWhereTheHostReceivesThem) {
    Open(NumberedLines(10));
    Subclass eater(doc->editor, CtrlReleaseEater);
    MouseClick(doc->editor, At(1, 1), {false, true, false});
    MouseClick(doc->editor, At(2, 1), {});
    const EditorStats st = Stats();
    const auto count = [&](UINT m) { return st.messages.count(m) ? st.messages.at(m) : 0; };
    EXPECT_EQ(count(WM_LBUTTONDOWN), 2);
    EXPECT_EQ(count(WM_LBUTTONUP), 1);  // the release with Ctrl never reached the host
    EXPECT_EQ(count(WM_KEYDOWN), 1);    // Ctrl
    EXPECT_EQ(count(WM_KEYUP), 1);
}

TEST_F(EditorTest, VirtualSpace) {
    Open(u"short\r\nlonger line\r\nx");
    const auto clickAt = [&](int x, int y) { MouseClick(doc->editor, POINT{x, y}, {}); };
    clickAt(20 + 10 * 8 + 2, 8);  // ten columns in, past "short"
    EXPECT_EQ(Caret(), (TextPos{0, 10}));
    PressKey(VK_DOWN, {});
    EXPECT_EQ(Caret(), (TextPos{1, 10}));  // Down keeps the column
    PressKey(VK_DOWN, {});
    EXPECT_EQ(Caret(), (TextPos{2, 10}));
    ITextDoc* t = NewTextDocument(doc);
    LONG col = 0;
    t->GetSelStartCol(&col);
    EXPECT_EQ(col, 10);
    t->MoveCaret(0, 8, I4(0), I4(8));  // the plugin's MoveCaret keeps a virtual column too
    t->GetSelStartCol(&col);
    EXPECT_EQ(col, 8);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 20 + 8 * 8);
    TypeText(L"!");  // typing there pads with blanks first
    EXPECT_EQ(doc->text.Line(0), u"short   !");

    // Below the last line: the last line, unless lines past the end are allowed.
    clickAt(30, 10 * 16 + 4);
    EXPECT_EQ(Caret().line, 2);
    sim.editor.linesPastEnd = true;
    clickAt(30, 10 * 16 + 4);
    EXPECT_EQ(Caret(), (TextPos{10, 1}));
    LONG line = 0, count = 0;
    t->GetSelStartLine(&line);
    t->GetLineCount(&count);
    EXPECT_GT(line, count - 1);
    t->Release();
}

namespace {
// ReplaceRange within one line, as a plugin calls it.
void Replace(ITextDoc* d, long line, long from, long to, const wchar_t* text) {
    BSTR s = SysAllocString(text);
    d->ReplaceRange(line, I4(from), I4(line), I4(to), s);
    SysFreeString(s);
}
}  // namespace

TEST_F(EditorTest, HostObjectsRepaintAsTheEditorDoes) {
    Open(NumberedLines(60));
    ITextDoc* t = NewTextDocument(doc);
    const int rows = g.clientHeight / g.lineHeight;  // 27 whole rows
    struct Step {
        const char* what;
        void (*run)(ITextDoc*, int rows);
        RECT painted;
    } steps[] = {
        {"ReplaceRange inside a line (from its line down all the same)",
         [](ITextDoc* d, int) { Replace(d, 3, 0, 4, L"LINE"); }, RECT{0, 3 * 16, g.clientWidth, g.clientHeight}},
        {"ReplaceRange over a line break",
         [](ITextDoc* d, int) { Replace(d, 5, 0, 1, L"a\r\nb"); }, RECT{0, 5 * 16, g.clientWidth, g.clientHeight}},
        {"SetBookmark", [](ITextDoc* d, int) { d->SetBookmark(7, VARIANT_TRUE); }, Band(7, 7)},
        {"MoveCaret one line below the view",
         [](ITextDoc* d, int r) { d->MoveCaret(r, 0, I4(r), I4(0)); },
         RECT{0, g.clientHeight - 16, g.clientWidth, g.clientHeight}},
        {"MoveCaret selecting two lines",
         [](ITextDoc* d, int r) { d->MoveCaret(r - 2, 0, I4(r), I4(0)); },
         RECT{0, (rows - 2 - 1) * 16, g.clientWidth, (rows - 1) * 16}},
    };
    for (const Step& s : steps) {
        Reset();
        s.run(t, rows);
        const EditorStats st = Stats();
        EXPECT_EQ(Box(st.painted), Box(s.painted)) << s.what;
    }
    EXPECT_EQ(GetEditorGeometry(doc->editor).firstLine, 1);  // the caret was scrolled into view by one line
    // The bookmark marker in the margin, in the registry's bookmark colour (blue).
    EditorMoveCaret(doc, {7, 0}, {7, 0});
    Pump();
    EXPECT_EQ(ClientPixel(doc->editor, 8, (7 - 1) * 16 + 8), 0x0000FFu);
    t->Release();
}

namespace {
// A slow window procedure on top of the editor's.
LRESULT SlowKeys(HWND w, UINT m, WPARAM wp, LPARAM lp, WNDPROC host) {
    if (m == WM_KEYDOWN) Sleep(4);
    return CallWindowProcW(host, w, m, wp, lp);
}

// A window procedure that keeps the processor busy for 30 ms on every key.
LRESULT BusyKeys(HWND w, UINT m, WPARAM wp, LPARAM lp, WNDPROC host) {
    if (m == WM_KEYDOWN) {
        const DWORD start = GetTickCount();
        volatile unsigned spin = 0;
        while (GetTickCount() - start < 30) spin = spin + 1;
    }
    return CallWindowProcW(host, w, m, wp, lp);
}
}  // namespace

TEST_F(EditorTest, MeasuringTimesEverythingOnTopOfTheEditorAndCountsHostCalls) {
    Open(NumberedLines(40));
    ITextDoc* t = NewTextDocument(doc);
    const auto action = [&] {
        LONG n = 0;
        t->GetLineCount(&n);
        PressKey(VK_DOWN, {});
    };
    const Measurement plain = Measure(doc->editor, 6, action);
    EXPECT_EQ(plain.actions, 6);
    EXPECT_DOUBLE_EQ(plain.hostCalls, 1.0);
    EXPECT_GT(plain.medianMs, 0.0);
    EXPECT_LE(plain.medianMs, plain.p99Ms);
    EXPECT_EQ(plain.paintedPx, 0) << "a caret move paints nothing";
    EXPECT_EQ(plain.changedPx, 0);
    const EditorGeometry g = GetEditorGeometry(doc->editor);
    const Measurement whole = Measure(doc->editor, 2, [&] { InvalidateRect(doc->editor, nullptr, TRUE); });
    EXPECT_EQ(whole.paintedPx, long{g.clientWidth} * g.clientHeight);
    EXPECT_EQ(whole.changedPx, 0);
    {
        Subclass slow(doc->editor, SlowKeys);
        const Measurement m = Measure(doc->editor, 6, action);
        EXPECT_GE(m.medianMs, 4.0);
        EXPECT_LT(m.cpuMs, 4.0) << "waiting is no processor time";
    }
    {
        Subclass busy(doc->editor, BusyKeys);
        const Measurement m = Measure(doc->editor, 6, action);
        EXPECT_GE(m.cpuMs, 20.0) << "busy time counts, read over the whole run";
    }
    Measurement fixed;
    fixed.medianMs = 0.0414;
    fixed.p99Ms = 0.09;
    fixed.cpuMs = 0.05;
    fixed.hostCalls = 7;
    EXPECT_EQ(FormatMeasurement(L"key Down 200", fixed),
              L"measure key Down 200: median 0.041 ms p99 0.090 ms, cpu 0.050 ms, host calls 7.0");
    fixed.areas = true;
    fixed.paintedPx = 6115;
    fixed.changedPx = 1836;
    EXPECT_EQ(FormatMeasurement(L"key Down 200", fixed),
              L"measure key Down 200: median 0.041 ms p99 0.090 ms, cpu 0.050 ms, host calls 7.0, painted 6115 px, "
              L"changed 1836 px");
    t->Release();
}
