// Expectations about the host's state: texts, caret and selection, geometry, bookmarks,
// captured output, call counts, files, windows, the focus and what reached the editor.
#include <map>

#include "editor_window.h"
#include "host_objects.h"
#include "script_commands.h"

namespace cfgsim {

namespace {

std::wstring Pos(TextPos p) { return std::to_wstring(p.line) + L" " + std::to_wstring(p.col); }

// Which of the simulator's windows has the focus, in the words expect-focus takes.
std::wstring FocusName() {
    Simulator& sim = Simulator::Get();
    HWND f = GetFocus();
    if (!f) return L"nothing";
    if (f == sim.mainWindow) return L"main";
    if (f == sim.configList) return L"list";
    for (auto& d : sim.documents)
        if (d->editor == f) return d.get() == sim.ActiveDocument() ? L"editor (" + d->name + L")" : d->name;
    wchar_t cls[64] = {};
    GetClassNameW(f, cls, 64);
    return std::wstring(L"a window of class ") + cls;
}

bool FocusIs(const std::wstring& what) {
    Simulator& sim = Simulator::Get();
    HWND f = GetFocus();
    if (what == L"none") return f == nullptr;
    if (what == L"main") return f == sim.mainWindow;
    if (what == L"list") return f && f == sim.configList;
    if (what == L"editor") return f && sim.ActiveDocument() && f == sim.ActiveDocument()->editor;
    return f && f == Named(what)->editor;
}

UINT MessageByName(const std::wstring& name) {
    static const std::map<std::wstring, UINT> names = {
        {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN}, {L"WM_LBUTTONUP", WM_LBUTTONUP},   {L"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
        {L"WM_MOUSEMOVE", WM_MOUSEMOVE},     {L"WM_MOUSEWHEEL", WM_MOUSEWHEEL}, {L"WM_KEYDOWN", WM_KEYDOWN},
        {L"WM_KEYUP", WM_KEYUP},             {L"WM_CHAR", WM_CHAR},             {L"WM_PAINT", WM_PAINT},
        {L"WM_VSCROLL", WM_VSCROLL},         {L"WM_HSCROLL", WM_HSCROLL},       {L"WM_SETFOCUS", WM_SETFOCUS},
        {L"WM_KILLFOCUS", WM_KILLFOCUS},     {L"WM_CAPTURECHANGED", WM_CAPTURECHANGED},
        {L"WM_ERASEBKGND", WM_ERASEBKGND},   {L"WM_SIZE", WM_SIZE}};
    const auto it = names.find(name);
    if (it != names.end()) return it->second;
    return static_cast<UINT>(Number(name));
}

bool AnyContains(const std::vector<std::wstring>& lines, const std::wstring& text) {
    for (const auto& m : lines)
        if (m.find(text) != std::wstring::npos) return true;
    return false;
}

void ExpectCount(const wchar_t* what, long got, const std::wstring& want) {
    if (got != Number(want)) Fail(std::wstring(what) + L" " + std::to_wstring(got));
}

}  // namespace

void AddExpectations(CommandTable& t) {
    t[L"expect-text"] = {[](ScriptContext& ctx, const Words& w) {
                             TextBuffer want;
                             want.KeepLineEnds(Named(w[1])->text.KeepsLineEnds());
                             want.SetText(DecodeModule(ReadFile(ctx.Path(w[2])), Has(w, L"utf8")));
                             if (Named(w[1])->text.GetText() != want.GetText())
                                 Fail(L"the text of " + w[1] + L" differs from " + w[2]);
                         }, 3};
    t[L"expect-caret"] = {[](ScriptContext&, const Words& w) {
                              const TextPos p = Active()->text.SelStart();
                              if (p.line != Number(w[1]) || p.col != Number(w[2])) Fail(L"caret at " + Pos(p));
                          }, 3};
    t[L"expect-selection"] = {[](ScriptContext&, const Words& w) {
                                  const TextPos a = Active()->text.SelStart(), b = Active()->text.SelEnd();
                                  if (a.line != Number(w[1]) || a.col != Number(w[2]) || b.line != Number(w[3]) ||
                                      b.col != Number(w[4]))
                                      Fail(L"selection " + Pos(a) + L" " + Pos(b));
                              }, 5};
    t[L"expect-caret-point"] = {[](ScriptContext&, const Words& w) {
                                    if (GetFocus() != Active()->editor) Fail(L"the editor has no caret (focus: " + FocusName() + L")");
                                    POINT p;
                                    GetCaretPos(&p);
                                    if (p.x != Number(w[1]) || p.y != Number(w[2]))
                                        Fail(L"the caret stands at " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
                                }, 3};
    t[L"expect-geometry"] = {[](ScriptContext&, const Words& w) {
                                 const EditorGeometry g = GetEditorGeometry(Active()->editor);
                                 if (g.lineHeight != Number(w[1]) || g.margin != Number(w[2]) || g.firstLine != Number(w[3]))
                                     Fail(L"line height " + std::to_wstring(g.lineHeight) + L", margin " +
                                          std::to_wstring(g.margin) + L", first line " + std::to_wstring(g.firstLine));
                             }, 4};
    t[L"expect-bookmark"] = {[](ScriptContext&, const Words& w) {
                                 const bool on = Active()->text.Bookmark(Number(w[1]));
                                 if (on != OnOff(w[2])) Fail(L"the bookmark of line " + w[1] + (on ? L" is on" : L" is off"));
                             }, 3};
    t[L"expect-msgbox"] = {[](ScriptContext&, const Words& w) {
                               if (!AnyContains(Simulator::Get().messageBoxes, w[1])) Fail(L"no message box with " + w[1]);
                           }, 2};
    t[L"expect-msgbox-count"] = {[](ScriptContext&, const Words& w) {
                                     ExpectCount(L"message boxes:", static_cast<long>(Simulator::Get().messageBoxes.size()), w[1]);
                                 }, 2};
    t[L"expect-message"] = {[](ScriptContext&, const Words& w) {
                                if (!AnyContains(Simulator::Get().messageLines, w[1])) Fail(L"no message line with " + w[1]);
                            }, 2};
    t[L"expect-log"] = {[](ScriptContext&, const Words& w) {
                            if (!AnyContains(Simulator::Get().log, w[1])) Fail(L"no log line with " + w[1]);
                        }, 2};
    t[L"expect-no-log"] = {[](ScriptContext&, const Words& w) {
                               for (const auto& m : Simulator::Get().log)
                                   if (m.find(w[1]) != std::wstring::npos) Fail(L"log line: " + m);
                           }, 2};
    t[L"expect-calls"] = {[](ScriptContext&, const Words& w) {
                              const int n = Simulator::Get().calls[Utf8(w[1])];
                              if (n != Number(w[2])) Fail(w[1] + L" was called " + std::to_wstring(n) + L" times");
                          }, 3};
    t[L"expect-files"] = {[](ScriptContext&, const Words& w) {
                              WIN32_FIND_DATAW fd;
                              const std::wstring pattern = Simulator::Get().workFolder + L"Tintmark_Temp\\" + w[1];
                              int n = 0;
                              HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
                              if (h != INVALID_HANDLE_VALUE) {
                                  do ++n;
                                  while (FindNextFileW(h, &fd));
                                  FindClose(h);
                              }
                              if (n != Number(w[2])) Fail(std::to_wstring(n) + L" files match " + w[1]);
                          }, 3};
    t[L"expect-file"] = {[](ScriptContext& ctx, const Words& w) {
                             const std::wstring path = Simulator::Get().workFolder + L"Tintmark_Temp\\" + w[1];
                             if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) Fail(L"no file " + w[1]);
                             const std::string got = ReadFile(path), want = ReadFile(ctx.Path(w[2]));
                             size_t i = 0;
                             while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
                             if (got.size() != want.size() || i < got.size())
                                 Fail(w[1] + L" differs from " + w[2] + L" at byte " + std::to_wstring(i) + L" (" +
                                      std::to_wstring(got.size()) + L" bytes, " + std::to_wstring(want.size()) + L" expected)");
                         }, 3};
    t[L"expect-windows"] = {[](ScriptContext&, const Words& w) {
                                long n = 0;
                                for (auto& d : Simulator::Get().documents) n += d->window && IsWindow(d->window);
                                ExpectCount(L"open windows:", n, w[1]);
                            }, 2};
    t[L"expect-refs-restored"] = {[](ScriptContext& ctx, const Words&) {
                                      const LONG refs = Simulator::Get().configurator->RefCount();
                                      if (refs != ctx.rememberedRefs)
                                          Fail(L"the configurator has " + std::to_wstring(refs) + L" references, " +
                                               std::to_wstring(ctx.rememberedRefs) + L" before");
                                  }};
    t[L"expect-connected"] = {[](ScriptContext&, const Words& w) {
                                  ExpectCount(L"event sinks connected:", Simulator::Get().configurator->events.Connected(), w[1]);
                              }, 2};
    t[L"expect-focus"] = {[](ScriptContext&, const Words& w) {
                              if (!FocusIs(w[1])) Fail(L"the focus is on " + FocusName());
                          }, 2};
    t[L"expect-active"] = {[](ScriptContext&, const Words& w) {
                               Simulator& sim = Simulator::Get();
                               HWND active = reinterpret_cast<HWND>(SendMessageW(sim.mdiClient, WM_MDIGETACTIVE, 0, 0));
                               HWND want = w[1] == L"configuration" ? sim.configWindow : Named(w[1])->window;
                               if (active != want) {
                                   Document* d = sim.DocumentOfWindow(active);
                                   Fail(L"the active window is " + (d ? d->name : active == sim.configWindow ? L"configuration" : L"none"));
                               }
                           }, 2};
    t[L"expect-host-messages"] = {[](ScriptContext&, const Words& w) {
                                      const EditorStats s = GetEditorStats(Active()->editor);
                                      const auto it = s.messages.find(MessageByName(w[1]));
                                      const int n = it == s.messages.end() ? 0 : it->second;
                                      if (n != Number(w[2])) Fail(w[1] + L" reached the editor " + std::to_wstring(n) + L" times");
                                  }, 3};
    t[L"expect-paints"] = {[](ScriptContext&, const Words& w) {
                               ExpectCount(L"paints:", GetEditorStats(Active()->editor).paints, w[1]);
                           }, 2};
    t[L"expect-invalidations"] = {[](ScriptContext&, const Words& w) {
                                      ExpectCount(L"invalidations:", GetEditorStats(Active()->editor).invalidations, w[1]);
                                  }, 2};
    t[L"expect-painted-area"] = {[](ScriptContext&, const Words& w) {
                                     const RECT r = GetEditorStats(Active()->editor).painted;
                                     const std::wstring got = IsRectEmpty(&r) ? L"none"
                                         : std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                                           std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom);
                                     std::wstring want = L"none";
                                     if (w[1] != L"none") {
                                         if (w.size() < 5) throw ScriptError{L"expect-painted-area X1 Y1 X2 Y2 or none"};
                                         want = std::to_wstring(Number(w[1]));
                                         for (size_t i = 2; i < 5; ++i) want += L" " + std::to_wstring(Number(w[i]));
                                     }
                                     if (want != got) Fail(L"painted area " + got);
                                 }, 2};
}

}  // namespace cfgsim
