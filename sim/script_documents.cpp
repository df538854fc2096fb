// Script commands about documents, windows and the host's state: options, opening,
// activation, pages, the caret, the text flag, bookmarks, Telepat's insertion, saving,
// the focus, modal state and the configuration window.
#include "editor_window.h"
#include "frame.h"
#include "host_objects.h"
#include "input.h"
#include "options.h"
#include "script_commands.h"
#include "text/cp1251.h"

namespace cfgsim {

namespace {

void Open(ScriptContext& ctx, const Words& w) {
    const std::wstring file = ctx.Path(w[1]);
    const size_t slash = w[1].find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? w[1] : w[1].substr(slash + 1);
    long kind = kTextDoc, id = 0, page1Kind = kTextDoc;
    bool textFlag = true;
    std::wstring path = file;
    for (size_t i = 2; i < w.size(); ++i) {
        const bool value = i + 1 < w.size();
        if (w[i] == L"as" && value) name = w[++i];
        else if (w[i] == L"kind" && value) kind = Number(w[++i]);
        else if (w[i] == L"id" && value) id = Number(w[++i]);
        else if (w[i] == L"path" && value) path = w[++i];
        else if (w[i] == L"page1kind" && value) page1Kind = Number(w[++i]);
        else if (w[i] == L"textflag" && value) textFlag = OnOff(w[++i]);
        else if (w[i] != L"utf8" && w[i] != L"keep-line-ends") throw ScriptError{L"unknown word " + w[i]};
    }
    const std::u16string text = DecodeModule(ReadFile(file), Has(w, L"utf8"));
    Document* d = OpenDocument(name, kind, id, path, text, page1Kind, textFlag);
    if (Has(w, L"keep-line-ends")) {
        // The text again, now with each line's own break kept.
        d->text.KeepLineEnds(true);
        d->text.SetText(text);
    }
}

// "\n" in a script word stands for a line break.
std::u16string Unescape(const std::wstring& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\\' && i + 1 < s.size() && s[i + 1] == L'n') {
            out += u"\r\n";
            ++i;
        } else {
            out += static_cast<char16_t>(s[i]);
        }
    }
    return out;
}

void Focus(const Words& w) {
    Simulator& sim = Simulator::Get();
    BringToFront();
    const std::wstring& what = w[1];
    if (what == L"editor") {
        SetFocus(Active()->editor);
    } else if (what == L"list") {
        if (!sim.configList || !IsWindow(sim.configList)) throw ScriptError{L"no configuration window"};
        SetFocus(sim.configList);
    } else if (what == L"main") {
        sim.focusOnFrame = true;
        SetFocus(sim.mainWindow);
    } else {
        Document* d = Named(what);
        if (!d->editor) throw ScriptError{what + L" has no editor"};
        SetFocus(d->editor);
    }
}

void Modal(const Words& w) {
    static HWND focusBefore = nullptr;
    HWND main = Simulator::Get().mainWindow;
    if (w[1] == L"begin") {
        // As while a modal dialog is open: the main window is disabled and has lost the focus
        // (to the dialog, which the simulator does not show).
        focusBefore = GetFocus();
        EnableWindow(main, FALSE);
        SetFocus(nullptr);
    } else if (w[1] == L"end") {
        EnableWindow(main, TRUE);
        if (focusBefore && IsWindow(focusBefore)) SetFocus(focusBefore);
        focusBefore = nullptr;
    } else {
        throw ScriptError{L"begin or end expected: " + w[1]};
    }
}

}  // namespace

void AddDocumentCommands(CommandTable& t) {
    t[L"option"] = {[](ScriptContext&, const Words& w) {
                        if (!SetOption(w[1], w[2])) throw ScriptError{L"cannot write option " + w[1]};
                    }, 3};
    t[L"option-delete"] = {[](ScriptContext&, const Words& w) { DeleteOption(w[1]); }, 2};
    t[L"open"] = {Open, 2};
    t[L"activate"] = {[](ScriptContext&, const Words& w) { ActivateDocument(Named(w[1])); }, 2};
    t[L"page"] = {[](ScriptContext&, const Words& w) { Active()->activePage = Number(w[1]); }, 2};
    t[L"caret"] = {[](ScriptContext&, const Words& w) {
                       const long l = Number(w[1]), c = Number(w[2]);
                       const bool both = w.size() > 4;
                       EditorMoveCaret(Active(), {l, c}, {both ? Number(w[3]) : l, both ? Number(w[4]) : c});
                   }, 3};
    t[L"undo"] = {[](ScriptContext&, const Words&) { EditorUndo(Active(), false); }};
    t[L"redo"] = {[](ScriptContext&, const Words&) { EditorUndo(Active(), true); }};
    t[L"textflag"] = {[](ScriptContext&, const Words& w) { Active()->textFlag = OnOff(w[1]); }, 2};
    t[L"bookmark"] = {[](ScriptContext&, const Words& w) { EditorSetBookmark(Active(), Number(w[1]), OnOff(w[2])); }, 3};
    t[L"telepat-insert"] = {[](ScriptContext&, const Words& w) {
                                // Telepat inserts at the caret, as pasting does, then reports it.
                                Simulator& sim = Simulator::Get();
                                EditorInsert(Active(), Unescape(w[1]));
                                sim.Log(L"telepat inserted " + w[1]);
                                const long type = w.size() > 2 ? Number(w[2]) : 1;
                                const std::wstring name = w.size() > 3 ? w[3] : L"";
                                const std::u16string text = Unescape(w[1]);
                                if (FAILED(sim.telepat->FireInsert(type, name, std::wstring(text.begin(), text.end()))))
                                    sim.Log(L"event OnInsert failed");
                            }, 2};
    t[L"save"] = {[](ScriptContext& ctx, const Words& w) {
                      const std::u16string text = Named(w[1])->text.GetText();
                      WriteFile(ctx.Path(w[2]), Has(w, L"utf8") ? Utf8(std::wstring(text.begin(), text.end()))
                                                               : tintmark::Encode1251(text));
                  }, 3};
    t[L"close"] = {[](ScriptContext&, const Words& w) {
                       Simulator& sim = Simulator::Get();
                       HWND target = w[1] == L"configuration" ? sim.configWindow : Named(w[1])->window;
                       if (!target || !IsWindow(target)) throw ScriptError{L"no window " + w[1]};
                       SendMessageW(target, WM_CLOSE, 0, 0);
                   }, 2};
    t[L"reopen"] = {[](ScriptContext&, const Words& w) {
                        if (w[1] != L"configuration") throw ScriptError{L"only the configuration can be reopened"};
                        ReopenConfigWindow();
                    }, 2};
    t[L"focus"] = {[](ScriptContext&, const Words& w) { Focus(w); }, 2};
    t[L"modal"] = {[](ScriptContext&, const Words& w) { Modal(w); }, 2};
    t[L"event"] = {[](ScriptContext&, const Words& w) {
                       Simulator& sim = Simulator::Get();
                       if (w[1] == L"config-window-create") sim.FireConfigWindowCreate();
                       else if (w[1] == L"telepat-insert") sim.telepat->FireInsert(1, L"name", L"text");
                       else throw ScriptError{L"unknown event " + w[1]};
                   }, 2};
}

}  // namespace cfgsim
