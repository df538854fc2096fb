// Script commands about the view: geometry settings, size, invalidation and repainting,
// pictures, the counters behind the assertions, and measuring.
#include <sstream>

#include "editor_window.h"
#include "input.h"
#include "measure.h"
#include "pump.h"
#include "screenshot.h"
#include "script_commands.h"

namespace cfgsim {

namespace {

// Makes the active editor's client area width x height by resizing its configurator window.
void Resize(const Words& w) {
    Document* d = Active();
    const long width = Number(w[1]), height = Number(w[2]);
    RECT client, window;
    GetClientRect(d->editor, &client);
    GetWindowRect(d->window, &window);
    SetWindowPos(d->window, nullptr, 0, 0, window.right - window.left + width - client.right,
                 window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(d->editor, &client);
    if (client.right != width || client.bottom != height)
        throw ScriptError{L"the editor became " + std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom)};
}

std::wstring GeometryText(HWND editor) {
    const EditorGeometry g = GetEditorGeometry(editor);
    return L"line height " + std::to_wstring(g.lineHeight) + L", margin " + std::to_wstring(g.margin) +
           L", first line " + std::to_wstring(g.firstLine) + L", client " + std::to_wstring(g.clientWidth) + L"x" +
           std::to_wstring(g.clientHeight);
}

// measure key NAME[,NAME...] N [shift] [ctrl] | measure hscroll PIXELS N | measure paint N |
// measure call PLUGIN METHOD[,...] N
void MeasureCommand(const Words& w) {
    HWND editor = Active()->editor;
    Measurement m;
    std::wstring what;
    if (w[1] == L"key") {
        if (w.size() < 4) throw ScriptError{L"too few arguments for measure key"};
        std::vector<UINT> keys;
        std::wstringstream names(w[2]);
        for (std::wstring name; std::getline(names, name, L',');) keys.push_back(KeyByName(name));
        if (keys.empty()) throw ScriptError{L"no key to measure"};
        const Modifiers mods = ModifiersOf(w);
        size_t next = 0;
        m = Measure(editor, static_cast<int>(Number(w[3])), [&] { PressKey(keys[next++ % keys.size()], mods); });
        what = L"key " + w[2] + L" " + w[3];
    } else if (w[1] == L"hscroll") {
        // measure hscroll PIXELS N: sideways through the scroll bar by PIXELS and back, in turn
        // (posted, as the scroll bar's own messages are).
        if (w.size() < 4) throw ScriptError{L"too few arguments for measure hscroll"};
        const int step = static_cast<int>(Number(w[2]));
        const int base = GetScrollPos(editor, SB_HORZ);
        int next = 0;
        m = Measure(editor, static_cast<int>(Number(w[3])), [&] {
            const int to = next++ % 2 == 0 ? base + step : base;
            PostMessageW(editor, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, to), 0);
        });
        what = L"hscroll " + w[2] + L" " + w[3];
    } else if (w[1] == L"paint") {
        // A full repaint, as when the whole window is uncovered.
        m = Measure(editor, static_cast<int>(Number(w[2])), [&] { InvalidateRect(editor, nullptr, TRUE); });
        what = L"paint " + w[2];
    } else if (w[1] == L"call") {
        // measure call PLUGIN METHOD[,METHOD...] N: the methods in turn, each with the
        // repaints it causes.
        if (w.size() < 5) throw ScriptError{L"too few arguments for measure call"};
        std::vector<std::wstring> methods;
        std::wstringstream names(w[3]);
        for (std::wstring name; std::getline(names, name, L',');) methods.push_back(name);
        if (methods.empty()) throw ScriptError{L"no method to measure"};
        size_t next = 0;
        m = MeasureWhole(static_cast<int>(Number(w[4])),
                         [&] { CallPluginMethod(w[2], methods[next++ % methods.size()]); });
        what = L"call " + w[2] + L" " + w[3] + L" " + w[4];
    } else {
        throw ScriptError{L"measure key, measure hscroll, measure paint or measure call"};
    }
    if (m.actions < 1) throw ScriptError{L"measure needs at least one action"};
    Simulator::Get().Log(FormatMeasurement(what, m));
}

}  // namespace

void AddViewCommands(CommandTable& t) {
    t[L"margin"] = {[](ScriptContext&, const Words& w) {
                        Simulator::Get().editor.margin = static_cast<int>(Number(w[1]));
                        EditorsSettingsChanged();
                    }, 2};
    t[L"lines-past-end"] = {[](ScriptContext&, const Words& w) { Simulator::Get().editor.linesPastEnd = OnOff(w[1]); }, 2};
    t[L"resize"] = {[](ScriptContext&, const Words& w) { Resize(w); }, 3};
    // Invalidates as uncovering part of the window does; the paint waits for the next
    // command (or repaint), so that several invalidations make one paint.
    t[L"invalidate"] = {[](ScriptContext&, const Words& w) {
                            RECT r{Number(w[1]), Number(w[2]), Number(w[3]), Number(w[4])};
                            InvalidateRect(Active()->editor, &r, TRUE);
                        }, 5, false};
    t[L"repaint"] = {[](ScriptContext&, const Words&) { Pump(); }};
    t[L"geometry"] = {[](ScriptContext&, const Words&) {
                          Simulator::Get().Log(L"geometry: " + GeometryText(Active()->editor));
                      }};
    t[L"screenshot"] = {[](ScriptContext& ctx, const Words& w) {
                            Simulator& sim = Simulator::Get();
                            Pump();
                            HWND target = w.size() > 2 && w[2] == L"editor" ? Active()->editor : sim.mainWindow;
                            if (!SaveWindowPng(target, ctx.Path(w[1]))) throw ScriptError{L"cannot write " + w[1]};
                            sim.Log(L"screenshot " + w[1]);
                        }, 2};
    t[L"snapshot"] = {[](ScriptContext& ctx, const Words& w) {
                          Pump();
                          if (!WritePng(ctx.Path(w[1]), CaptureClient(Active()->editor)))
                              throw ScriptError{L"cannot write " + w[1]};
                          Simulator::Get().Log(L"snapshot " + w[1]);
                      }, 2};
    t[L"reset-paints"] = {[](ScriptContext&, const Words&) {
                              Pump();
                              ResetEditorPaints(Active()->editor);
                          }};
    t[L"reset-messages"] = {[](ScriptContext&, const Words&) {
                                Pump();
                                ResetEditorMessages(Active()->editor);
                            }};
    t[L"measure"] = {[](ScriptContext&, const Words& w) { MeasureCommand(w); }, 3};
    // A line in the log, e.g. to label the measurements that follow.
    t[L"note"] = {[](ScriptContext&, const Words& w) {
                      std::wstring text;
                      for (size_t i = 1; i < w.size(); ++i) text += (i > 1 ? L" " : L"") + w[i];
                      Simulator::Get().Log(L"note: " + text);
                  }, 2};
}

}  // namespace cfgsim
