// Folding in the host's document. What is shown folded is always kept: a body enters the
// window's folded list (and its state file) before the document loses it, and leaves the
// list (and the disk) only after the document has it back.
#include "hook/folding_commands.h"

#include <algorithm>

#include "analysis/folding.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "win/com_error.h"
#include "host/host.h"
#include "host/host_document.h"
#include "hook/plugin_state.h"
#include "host/records.h"
#include "host/state_files.h"
#include "win/wide_text.h"
#include "hook/activation.h"
#include "hook/folding_entry.h"
#include "render/editor_view.h"
#include "render/gutter.h"

namespace tintmark {

namespace {

std::u16string ToU16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
std::wstring ToWide(const std::u16string& u) { return std::wstring(u.begin(), u.end()); }

std::wstring Quoted(const std::string& name) { return L"«" + Cp1251ToWide(name) + L"»"; }
std::wstring LineNumber(int32_t line) { return std::to_wstring(static_cast<long long>(line) + 1); }

StateFiles FilesOf(PluginState& p, TCfgWndData& record) {
    const std::wstring path = host::GetDocPath(record.Document.get());
    return StateFiles([&p](const std::wstring& line) { p.Message(line); }, host::GetWorkFolder(p.Configurator.get()), ToWide(StateFileDocumentName(ToU16(path))), record);
}

// The window record and text of a folding operation, with its state files and the messages
// the user could not be shown.
struct FoldTarget {
    PluginState& p;
    HWND editor;
    TCfgWndData& record;
    HostTextDocument& doc;
    StateFiles files;
    std::wstring untold;

    FoldTarget(PluginState& plugin, HWND e, TCfgWndData& r, HostTextDocument& d)
        : p(plugin), editor(e), record(r), doc(d), files(FilesOf(plugin, r)) {}

    // A message line; one the host did not take is kept for the operation's failure.
    bool Tell(const std::wstring& text) {
        if (p.Message(text)) return true;
        untold += (untold.empty() ? L"" : L"\r\n") + text;
        return false;
    }
    // Ends the operation with a failure when the user could not be told something.
    void FailIfUntold() const {
        if (!untold.empty()) throw ComError(E_FAIL, untold);
    }
    // Where a kept text is, for messages.
    std::wstring WhereKept(const std::string& name) const {
        const std::wstring file = files.FileOf(name);
        return file.empty() ? L"ее текст только в памяти этого окна" : L"ее текст в файле " + file;
    }
};

// The whole document scanned from its lines (one read of the text for everything).
void ScanAll(PluginState& p, const Lines16& lines) {
    std::string text = ScanTextOf(lines);
    ScanText(text.data(), text.size(), 0, p.Analysis.Keywords, p.Analysis.KeyWordsMap);
}

// The whole document scanned for finding folded headers again: with the English spellings
// known whatever the switch says now, so that methods folded while it was on still unfold
// after it was switched off.
void ScanForUnfolding(PluginState& p, const Lines16& lines) {
    const KeywordOptions now = p.Analysis.Keywords.Options;
    if (now.English) return ScanAll(p, lines);
    KeywordTable withEnglish;
    BuildKeyWordTable(withEnglish, KeywordOptions{true, now.Middle});
    std::string text = ScanTextOf(lines);
    ScanText(text.data(), text.size(), 0, withEnglish, p.Analysis.KeyWordsMap);
}

// The position list back to the visible lines after a whole-document scan.
void RescanVisible(PluginState& p, HWND editor, HostTextDocument& doc) {
    doc.Forget();
    EditorView view(p, editor, &doc);
    ScanLines(doc, view.FirstVisibleLine(), view.VisibleLineCount(), p.Analysis.Keywords, p.Analysis.KeyWordsMap,
              p.Analysis.ScanBuffer);
}

// After the text or the folded list changed: the visible lines afresh, the gutter, the
// highlight.
void Redisplay(PluginState& p, HWND editor, TCfgWndData& record, HostTextDocument& doc) {
    if (!editor) return;
    RescanVisible(p, editor, doc);
    EditorView view(p, editor, &doc);
    RebuildGutter(p, editor, record);
    view.EraseHighlight();
    view.Highlight(false);
}

// The document's lines and its own line break.
struct DocumentText {
    Lines16 lines;
    std::u16string lineBreak;
};

// The lines of the host's text, checked against its own line count (a last empty line
// counts only on the host's side), so that line numbers mean the same to both.
DocumentText ReadDocument(HostTextDocument& doc) {
    const std::u16string text = doc.Text();
    DocumentText out{SplitLines(text), std::u16string(LineBreakOf(text))};
    const size_t count = static_cast<size_t>(std::max(doc.LineCount(), 0));
    const bool trailingBreak = !text.empty() && (text.back() == u'\r' || text.back() == u'\n');
    if (count != out.lines.size() && !(trailingBreak && count == out.lines.size() + 1))
        throw ComError(E_FAIL, L"Tintmark: the document's lines and its line count disagree; nothing was changed");
    return out;
}

// Whether the document's text is certainly these lines (false when it cannot be read).
bool DocumentIs(HostTextDocument& doc, const Lines16& lines) {
    try {
        return SplitLines(doc.Text()) == lines;
    } catch (...) {
        return false;
    }
}

void ReplaceDocument(HostTextDocument& doc, const DocumentText& before, const Lines16& after) {
    const int32_t last = static_cast<int32_t>(before.lines.size()) - 1;
    doc.ReplaceRange(0, 0, last, static_cast<int32_t>(before.lines.back().size()), JoinLines(after, before.lineBreak));
}

// Finding the window for CollapseAll and ExpandAll: its record must exist and its editor
// must have the focus.
template <typename F>
void WithFoldTarget(PluginState& p, F&& body) {
    if (!p.Configurator) return;
    ComPtr<ICfgWindow> w = host::GetActiveCfgWindow(p.Configurator.get());
    if (!w) return;
    const HWND h = host::GetWindowHandle(w.get());
    ComPtr<ICfgDoc> d = host::GetDocument(w.get());
    if (!LocateEditor(h, d.get()).text) return;
    TCfgWndData* record = FindCfgWndData(h);
    if (!record || !record->Document || !record->EditorHandle || GetFocus() != record->EditorHandle) return;
    HostTextDocument doc(record->Document.get());
    FoldTarget t(p, record->EditorHandle, *record, doc);
    body(t);
}

// Whether every line survives Windows-1251, the state files' encoding.
bool Fits1251(const Lines16& lines) {
    for (const auto& l : lines)
        if (Decode1251(Encode1251(l)) != l) return false;
    return true;
}

// Whether a kept text is in a state file (written now if it was not); a failed write only
// answers no, and so does a text the file cannot hold whole.
bool KeptOnDisk(FoldTarget& t, const std::string& name) {
    if (!Fits1251(t.record.FoldedBlocks.at(name))) return false;
    try {
        return t.files.Keep(name, StateFileText(t.record.FoldedBlocks.at(name)));
    } catch (...) {
        return false;
    }
}

// A method was unfolded as how says, its header now on line header: its kept text leaves
// memory once the document holds it whole, or once the user has been told where it went.
void Settle(FoldTarget& t, const std::string& name, Unfold how, int32_t header) {
    switch (how) {
        case Unfold::Insert:
        case Unfold::AlreadyThere:
            t.files.Release(name);
            break;
        case Unfold::Merge: {
            const std::wstring file = t.files.FileOf(name);
            if (!t.Tell(L"Tintmark: текст процедуры " + Quoted(name) + L" вставлен под ее заголовок (строка " +
                        LineNumber(header) + L") перед строками, которые уже были под ним; проверьте процедуру." +
                        (file.empty() ? L"" : L" Сохраненный текст остается в файле " + file)))
                return;
            t.files.Forget(name);
            break;
        }
        case Unfold::Present:
            if (!t.Tell(L"Tintmark: под заголовком процедуры " + Quoted(name) + L" (строка " + LineNumber(header) +
                        L") уже стоит измененный ее текст; сохраненный текст не вставлен повторно, он в файле " +
                        t.files.FileOf(name)))
                return;
            t.files.Forget(name);
            break;
    }
    t.record.FoldedBlocks.erase(name);
}

std::wstring Lines(const std::vector<int32_t>& lines) {
    std::wstring out;
    for (int32_t l : lines) out += (out.empty() ? L"" : L", ") + LineNumber(l);
    return out;
}

std::wstring Names(const std::vector<std::string>& names) {
    std::wstring out;
    for (const auto& n : names) out += (out.empty() ? L"" : L", ") + Quoted(n);
    return out;
}

// The bodies of a remembered folded text that the window does not hold, taken into its
// memory (which guards the window before any host call). Nothing when the document is not
// exactly such a text, or text was typed since the window last changed it or saw an undo.
std::vector<std::string> AdoptBodies(TCfgWndData& record, const Lines16& lines) {
    std::vector<std::string> names;
    if (record.TypedSinceFoldText) return names;
    const FoldedBlockMap* bodies = record.FoldedTexts.Match(lines);
    if (!bodies) return names;
    for (const auto& [name, kept] : *bodies)
        if (record.FoldedBlocks.emplace(name, kept).second) names.push_back(name);
    return names;
}

// Bodies taken again go to their state files where a file can hold them, and the user is told.
void KeepAdopted(FoldTarget& t, const std::vector<std::string>& names) {
    for (const auto& n : names) KeptOnDisk(t, n);
    const bool one = names.size() == 1;
    t.Tell(L"Tintmark: " + std::wstring(one ? L"процедура " : L"процедуры ") + Names(names) +
           (one ? L" снова свернута отменой или повтором действия; ее текст снова сохранен"
                : L" снова свернуты отменой или повтором действия; их текст снова сохранен") +
           L", разверните перед закрытием окна");
}

// When the document is exactly a text this window's folding left, the editor's undo or redo
// brought that fold back: the bodies folded in it that were let go since are kept again, so
// the window is guarded and unfolding puts them back. Returns whether any body was kept again.
bool Readopt(FoldTarget& t, const Lines16& lines) {
    const std::vector<std::string> names = AdoptBodies(t.record, lines);
    if (names.empty()) return false;
    KeepAdopted(t, names);
    return true;
}

// A text this window's folding or unfolding left, with the bodies folded in it; the window
// changed the document itself, so nothing was typed since.
void RememberFolded(TCfgWndData& record, const Lines16& document, const FoldedBlockMap& bodies) {
    record.FoldedTexts.Remember(document, bodies);
    record.TypedSinceFoldText = false;
}

// The bodies a replacement of the document put back, with the folded text it replaced.
void RememberUnfolded(TCfgWndData& record, const Lines16& before, const ExpandPlan& plan) {
    const bool inserted = std::any_of(plan.restored.begin(), plan.restored.end(), [](const UnfoldedMethod& m) {
        return m.how == Unfold::Insert || m.how == Unfold::Merge;
    });
    // Every body still held was folded in that text: those put back and those that stay.
    if (inserted) RememberFolded(record, before, record.FoldedBlocks);
}

}  // namespace

void CollapseAll(PluginState& p) {
    WithFoldTarget(p, [&](FoldTarget& t) {
        const DocumentText text = ReadDocument(t.doc);
        const bool readopted = Readopt(t, text.lines);
        ScanAll(p, text.lines);
        FoldedBlockMap& folded = t.record.FoldedBlocks;
        CollapsePlan plan = PlanCollapseAll(text.lines, p.Analysis.KeyWordsMap, *p.MethodHeaderExpr, *p.MethodEndExpr,
                                            [&](const std::string& n) { return folded.count(n) != 0; });
        if (plan.folded.empty()) {
            if (readopted) Redisplay(p, t.editor, t.record, t.doc);
            else RescanVisible(p, t.editor, t.doc);
            return t.FailIfUntold();
        }
        std::vector<std::string> added;
        try {
            for (const FoldedMethod& m : plan.folded) {
                t.files.Write(m.name, StateFileText(m.kept));
                added.push_back(m.name);
            }
        } catch (...) {
            // Nothing is folded after a failed write: the files of this run go again.
            for (const auto& n : added) t.files.Release(n);
            throw;
        }
        for (FoldedMethod& m : plan.folded) folded.emplace(m.name, std::move(m.kept));
        if (plan.removed < 1) {
            Redisplay(p, t.editor, t.record, t.doc);
            return t.FailIfUntold();
        }
        try {
            ReplaceDocument(t.doc, text, plan.document);
        } catch (...) {
            // When the document certainly still holds them, they are neither folded nor
            // needed on disk; when it cannot be told, they stay kept.
            if (DocumentIs(t.doc, text.lines))
                for (const auto& n : added) {
                    t.files.Release(n);
                    folded.erase(n);
                }
            throw;
        }
        RememberFolded(t.record, plan.document, folded);
        t.doc.MoveCaret(0, 0, 0, 0);
        Redisplay(p, t.editor, t.record, t.doc);
        t.FailIfUntold();
    });
}

namespace {

void ExpandRecord(FoldTarget& t) {
    PluginState& p = t.p;
    FoldedBlockMap& folded = t.record.FoldedBlocks;
    if (folded.empty() && t.record.FoldedTexts.Empty()) return;
    const DocumentText text = ReadDocument(t.doc);
    Readopt(t, text.lines);
    if (folded.empty()) return;
    ScanForUnfolding(p, text.lines);
    const ExpandPlan plan = PlanExpandAll(text.lines, *p.MethodHeaderExpr, *p.MethodEndExpr, p.Analysis.KeyWordsMap,
                                          folded, [&](const std::string& n) { return KeptOnDisk(t, n); });
    const bool replace = plan.document.size() != text.lines.size();
    if (replace) {
        ReplaceDocument(t.doc, text, plan.document);
        RememberUnfolded(t.record, text.lines, plan);
    }
    for (const UnfoldedMethod& m : plan.restored) Settle(t, m.name, m.how, m.header);
    for (const AmbiguousMethod& m : plan.ambiguous)
        t.Tell(L"Tintmark: процедура " + Quoted(m.name) + L" не развернута: в модуле несколько ее заголовков (строки " +
               Lines(m.headers) + L"); щелкните знак свертки у того, под которым ее развернуть. Сейчас " +
               t.WhereKept(m.name));
    for (const auto& name : plan.missing) {
        const Lines16& kept = folded.at(name);
        if (KeptOnDisk(t, name)) {
            if (t.Tell(L"Tintmark: не найден заголовок процедуры " + Quoted(name) + L"; ее текст сохранен в файле " +
                       t.files.FileOf(name))) {
                t.files.Forget(name);
                folded.erase(name);
            }
        } else {
            t.Tell(L"Tintmark: не найден заголовок процедуры " + Quoted(name) +
                   L"; ее текст остается в памяти, окно не закроется. Верните строку «" + ToWide(kept.front()) +
                   L"» и разверните снова");
        }
    }
    if (replace) t.doc.MoveCaret(0, 0, 0, 0);
    if (replace || !plan.restored.empty() || !plan.missing.empty())
        Redisplay(p, t.editor, t.record, t.doc);
    else if (t.editor)
        RescanVisible(p, t.editor, t.doc);
}

// What could not go back under a header is added at the end of the module, whole (header to
// end line), so that nothing is left only in memory.
void AppendLeftovers(FoldTarget& t) {
    const DocumentText text = ReadDocument(t.doc);
    std::u16string tail;
    for (const auto& [name, kept] : t.record.FoldedBlocks) tail += text.lineBreak + JoinLines(kept, text.lineBreak);
    const int32_t last = static_cast<int32_t>(text.lines.size()) - 1;
    const int32_t end = static_cast<int32_t>(text.lines.back().size());
    t.doc.ReplaceRange(last, end, last, end, tail);
    for (const auto& [name, kept] : t.record.FoldedBlocks) {
        t.Tell(L"Tintmark: текст процедуры " + Quoted(name) + L", которую не удалось развернуть, добавлен в конец модуля");
        t.files.Forget(name);
    }
    t.record.FoldedBlocks.clear();
}

}  // namespace

void ExpandAll(PluginState& p) {
    WithFoldTarget(p, [&](FoldTarget& t) {
        ExpandRecord(t);
        t.FailIfUntold();
    });
}

void PutBackAllFoldedText(PluginState& p) noexcept {
    if (!p.Configurator || !p.MethodHeaderExpr || !p.MethodEndExpr) return;
    for (TCfgWndData* r : AllCfgWndData()) {
        if ((!r->HasFoldedBlocks() && r->FoldedTexts.Empty()) || !r->Document) continue;
        try {
            HostTextDocument doc(r->Document.get());
            FoldTarget t(p, r->EditorHandle, *r, doc);
            try {
                ExpandRecord(t);
            } catch (...) {
            }
            if (r->HasFoldedBlocks()) AppendLeftovers(t);
        } catch (...) {
            // The window keeps its folded text and its guard.
        }
    }
}

void ReadoptUndoneFolds(PluginState& p, TCfgWndData& record) noexcept {
    if (record.FoldedTexts.Empty() || !record.Document) return;
    try {
        HostTextDocument doc(record.Document.get());
        const std::vector<std::string> names = AdoptBodies(record, SplitLines(doc.Text()));
        if (names.empty()) return;
        // The bodies are held and the window guarded; the files and the message may still fail.
        FoldTarget t(p, record.EditorHandle, record, doc);
        KeepAdopted(t, names);
        if (record.CfgWindowHandle == p.ActiveCfgWindowHandle) Redisplay(p, t.editor, record, doc);
    } catch (const ComError& e) {
        p.ReportFailure(e.message());
    } catch (...) {
    }
}

namespace {

// The header lines of one name in the document.
std::vector<int32_t> HeadersOf(PluginState& p, const Lines16& lines, const std::string& name) {
    ScanForUnfolding(p, lines);
    const auto headers = HeaderLines(*p.MethodHeaderExpr, p.Analysis.KeyWordsMap, lines,
                                     [&](const std::string& n) { return CompareTextCi1251(n, name) == 0; });
    std::vector<int32_t> at;
    for (const auto& [n, l] : headers) at.push_back(l);
    return at;
}

void UnfoldRegion(FoldTarget& t, int32_t line, const std::string& name) {
    PluginState& p = t.p;
    const DocumentText text = ReadDocument(t.doc);
    const std::vector<int32_t> at = HeadersOf(p, text.lines, name);
    const int32_t restore =
        RestoreLine(at, [&](int32_t h) { return InFoldedForm(text.lines, h, *p.MethodEndExpr); });
    // With several headers and none or many in folded form, the user's click chooses.
    if (restore >= 0 && restore != line) {
        t.Tell(L"Tintmark: процедура " + Quoted(name) + L" свернута под заголовком в строке " + LineNumber(restore) +
               L"; щелкните там, чтобы развернуть ее");
        return;
    }
    const Lines16& kept = t.record.FoldedBlocks.at(name);
    Unfold how = UnfoldKind(text.lines, line, kept, *p.MethodHeaderExpr, *p.MethodEndExpr);
    if (how == Unfold::Present && !KeptOnDisk(t, name)) how = Unfold::Merge;
    EditorView(p, t.editor, &t.doc).EraseHighlight();
    const Lines16 body = BodyOf(kept);
    if ((how == Unfold::Insert || how == Unfold::Merge) && !body.empty()) {
        const int32_t end = static_cast<int32_t>(text.lines[static_cast<size_t>(line)].size());
        t.doc.ReplaceRange(line, end, line, end, text.lineBreak + JoinLines(body, text.lineBreak));
        RememberFolded(t.record, text.lines, t.record.FoldedBlocks);
    }
    Settle(t, name, how, line);
}

void FoldRegion(FoldTarget& t, int32_t line, const MethodHeader& header) {
    PluginState& p = t.p;
    HostTextDocument& doc = t.doc;
    const DocumentText text = ReadDocument(doc);
    // Not where unfolding could not tell this header from another of the name.
    {
        for (int32_t other : HeadersOf(p, text.lines, header.Name))
            if (other != line && InFoldedForm(text.lines, other, *p.MethodEndExpr)) {
                t.Tell(L"Tintmark: процедура " + Quoted(header.Name) +
                       L" не свернута: в модуле есть еще один ее заголовок без текста (строка " + LineNumber(other) +
                       L")");
                return;
            }
    }
    doc.MoveCaret(line, header.Column, line, header.Column);
    EditorView view(p, t.editor, &doc);
    PartnerPosition end;
    if (!FindPairPosition(p.Analysis, doc, view, p.PairingSettings(), kReportPartner, &end) || end.Line <= line)
        return;
    // Only where the end keyword begins its line, so that the header reads as folded afterwards.
    if (!p.MethodEndExpr->Exec(doc.Line(end.Line))) return;
    const int32_t endLength = doc.LineLength(end.Line);
    const std::u16string range = doc.RangeTextWide(line, 0, end.Line, endLength);
    const Lines16 kept = SplitLines(range);
    if (kept.size() < 2) return;
    t.files.Write(header.Name, StateFileText(kept));
    t.record.FoldedBlocks.emplace(header.Name, kept);
    view.EraseHighlight();
    try {
        doc.ReplaceRange(line, 0, end.Line, endLength, kept.front() + std::u16string(LineBreakOf(range)) + kept.back());
    } catch (...) {
        // Kept unless the document certainly still has it.
        bool unchanged = false;
        try {
            doc.Forget();
            unchanged = SplitLines(doc.RangeTextWide(line, 0, end.Line, endLength)) == kept;
        } catch (...) {
        }
        if (unchanged) {
            t.files.Release(header.Name);
            t.record.FoldedBlocks.erase(header.Name);
        }
        throw;
    }
    // The text the fold left, as the document now has it.
    RememberFolded(t.record, ReadDocument(doc).lines, t.record.FoldedBlocks);
}

}  // namespace

void GutterFoldClick(PluginState& p, HWND e, TCfgWndData& record, HostTextDocument& doc, int32_t line,
                     const MethodHeader& header) {
    if (header.Name.empty()) return;
    FoldTarget t(p, e, record, doc);
    // Bodies let go, in a text the editor's undo or redo made folded again.
    if (!record.FoldedTexts.Empty()) Readopt(t, ReadDocument(doc).lines);
    if (record.FoldedBlocks.count(header.Name))
        UnfoldRegion(t, line, header.Name);
    else
        FoldRegion(t, line, header);
    // The highlight follows with the click's refresh.
    RescanVisible(p, e, doc);
    RebuildGutter(p, e, record);
    t.FailIfUntold();
}

}  // namespace tintmark
