// Folding in the host's document. What is shown folded is always kept: a body enters the
// window's folded list (and its state file) before the document loses it, and leaves the
// list (and the disk) only after the document has it back.
#include "hook/folding_commands.h"

#include <algorithm>

#include "analysis/folding.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "core/com_error.h"
#include "core/host.h"
#include "core/host_document.h"
#include "core/plugin.h"
#include "core/records.h"
#include "core/state_files.h"
#include "core/wide_text.h"
#include "hook/activation.h"
#include "hook/folding_entry.h"
#include "render/editor_view.h"
#include "render/gutter.h"

namespace tintmark {

namespace {

std::u16string ToU16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
std::wstring ToWide(const std::u16string& u) { return std::wstring(u.begin(), u.end()); }

std::wstring Quoted(const std::string& name) { return L"«" + Cp1251ToWide(name) + L"»"; }

// The window record and text of the folding commands' target, with its state files.
struct FoldTarget {
    TTintmarkPlugin& p;
    HWND editor;
    TCfgWndData& record;
    HostTextDocument doc;
    StateFiles files;
};

StateFiles FilesOf(TTintmarkPlugin& p, ITextDoc* doc) {
    const std::wstring path = host::GetDocPath(doc);
    return StateFiles(p, host::GetWorkFolder(p.Configurator.get()), ToWide(StateFileDocumentName(ToU16(path))));
}

// The whole document scanned from its lines (one read of the text for everything).
void ScanAll(TTintmarkPlugin& p, const Lines16& lines) {
    std::string text = ScanTextOf(lines);
    ScanText(text.data(), text.size(), 0, p.Analysis.Keywords, p.Analysis.KeyWordsMap);
}

// The position list back to the visible lines after a whole-document scan.
void RescanVisible(TTintmarkPlugin& p, HWND editor, HostTextDocument& doc) {
    doc.Forget();
    EditorView view(p, editor, &doc);
    ScanLines(doc, view.FirstVisibleLine(), view.VisibleLineCount(), p.Analysis.Keywords, p.Analysis.KeyWordsMap,
              p.Analysis.ScanBuffer);
}

// After the text or the folded list changed: the visible lines afresh, the gutter, the
// highlight.
void Redisplay(TTintmarkPlugin& p, HWND editor, TCfgWndData& record, HostTextDocument& doc) {
    if (!editor) return;
    RescanVisible(p, editor, doc);
    EditorView view(p, editor, &doc);
    RebuildGutter(p, editor, record);
    view.EraseHighlight();
    view.Highlight(false);
}

// The lines of the host's text, checked against its own line count (a last empty line
// counts only on the host's side), so that line numbers mean the same to both.
Lines16 DocumentLines(HostTextDocument& doc) {
    const std::u16string text = doc.Text();
    Lines16 lines = SplitLines(text);
    const size_t count = static_cast<size_t>(std::max(doc.LineCount(), 0));
    const bool trailingBreak = !text.empty() && (text.back() == u'\r' || text.back() == u'\n');
    if (count != lines.size() && !(trailingBreak && count == lines.size() + 1))
        throw ComError(E_FAIL, L"Tintmark: the document's lines and its line count disagree; nothing was changed");
    return lines;
}

// Whether the document's text is certainly these lines (false when it cannot be read).
bool DocumentIs(HostTextDocument& doc, const Lines16& lines) {
    try {
        return SplitLines(doc.Text()) == lines;
    } catch (...) {
        return false;
    }
}

void ReplaceDocument(HostTextDocument& doc, const Lines16& before, const Lines16& after) {
    const int32_t last = static_cast<int32_t>(before.size()) - 1;
    doc.ReplaceRange(0, 0, last, static_cast<int32_t>(before.back().size()), JoinLines(after));
}

// Finding the window for CollapseAll and ExpandAll: its record must exist and its editor
// must have the focus.
template <typename F>
void WithFoldTarget(TTintmarkPlugin& p, F&& body) {
    if (!p.Configurator) return;
    ComPtr<ICfgWindow> w = host::GetActiveCfgWindow(p.Configurator.get());
    if (!w) return;
    const HWND h = host::GetWindowHandle(w.get());
    ComPtr<ICfgDoc> d = host::GetDocument(w.get());
    if (!LocateEditor(h, d.get()).text) return;
    TCfgWndData* record = FindCfgWndData(h);
    if (!record || !record->Document || !record->EditorHandle || GetFocus() != record->EditorHandle) return;
    FoldTarget t{p, record->EditorHandle, *record, HostTextDocument(record->Document.get()),
                 FilesOf(p, record->Document.get())};
    body(t);
}

// A body whose header is gone stays on disk: it leaves memory only once its state file
// certainly holds it.
bool KeptOnDisk(FoldTarget& t, const std::string& name, const Lines16& kept) {
    const std::string content = StateFileText(kept);
    return t.files.Holds(name, content) || t.files.Write(name, content);
}

}  // namespace

void CollapseAll(TTintmarkPlugin& p) {
    WithFoldTarget(p, [&](FoldTarget& t) {
        const Lines16 lines = DocumentLines(t.doc);
        ScanAll(p, lines);
        FoldedBlockMap& folded = t.record.FoldedBlocks;
        CollapsePlan plan = PlanCollapseAll(lines, p.Analysis.KeyWordsMap,
                                            [&](const std::string& n) { return folded.count(n) != 0; });
        if (plan.folded.empty()) return RescanVisible(p, t.editor, t.doc);
        for (const FoldedMethod& m : plan.folded) t.files.Write(m.name, StateFileText(m.kept));
        std::vector<std::string> added;
        for (FoldedMethod& m : plan.folded) {
            folded.emplace(m.name, std::move(m.kept));
            added.push_back(m.name);
        }
        if (plan.removed < 1) return Redisplay(p, t.editor, t.record, t.doc);
        try {
            ReplaceDocument(t.doc, lines, plan.document);
        } catch (...) {
            // When the document certainly still holds them, they are neither folded nor
            // needed on disk; when it cannot be told, they stay kept.
            if (DocumentIs(t.doc, lines))
                for (const auto& n : added) {
                    t.files.Remove(n, StateFileText(folded.at(n)));
                    folded.erase(n);
                }
            throw;
        }
        t.doc.MoveCaret(0, 0, 0, 0);
        Redisplay(p, t.editor, t.record, t.doc);
    });
}

void ExpandAll(TTintmarkPlugin& p) {
    WithFoldTarget(p, [&](FoldTarget& t) {
        FoldedBlockMap& folded = t.record.FoldedBlocks;
        if (folded.empty()) return;
        const Lines16 lines = DocumentLines(t.doc);
        ScanAll(p, lines);
        const ExpandPlan plan =
            PlanExpandAll(lines, *p.MethodHeaderExpr, *p.MethodEndExpr, p.Analysis.KeyWordsMap, folded);
        const bool replace = plan.document.size() != lines.size();
        if (replace) ReplaceDocument(t.doc, lines, plan.document);
        for (const auto& name : plan.restored) {
            t.files.Remove(name, StateFileText(folded.at(name)));
            folded.erase(name);
        }
        for (const auto& name : plan.ambiguous)
            p.Message(L"Tintmark: процедура " + Quoted(name) +
                      L" не развернута: в модуле несколько ее заголовков. Ее текст в файле " + t.files.PathOf(name));
        for (const auto& name : plan.missing) {
            if (KeptOnDisk(t, name, folded.at(name))) {
                p.Message(L"Tintmark: не найден заголовок процедуры " + Quoted(name) + L"; ее текст сохранен в файле " +
                          t.files.PathOf(name));
                folded.erase(name);
            } else {
                p.Message(L"Tintmark: не найден заголовок процедуры " + Quoted(name) +
                          L"; ее текст остается в памяти, окно не закроется");
            }
        }
        if (replace) t.doc.MoveCaret(0, 0, 0, 0);
        if (replace || !plan.restored.empty() || !plan.missing.empty())
            Redisplay(p, t.editor, t.record, t.doc);
        else
            RescanVisible(p, t.editor, t.doc);
    });
}

namespace {

void UnfoldRegion(TTintmarkPlugin& p, HWND e, TCfgWndData& record, HostTextDocument& doc, int32_t line,
                  const std::string& name) {
    StateFiles files = FilesOf(p, record.Document.get());
    const Lines16 lines = DocumentLines(doc);
    ScanAll(p, lines);
    const auto headers = HeaderLines(*p.MethodHeaderExpr, p.Analysis.KeyWordsMap, lines,
                                     [&](const std::string& n) { return CompareTextCi1251(n, name) == 0; });
    std::vector<int32_t> at;
    for (const auto& [n, l] : headers) at.push_back(l);
    auto inFoldedForm = [&](int32_t h) {
        return h + 1 < static_cast<int32_t>(lines.size()) &&
               p.MethodEndExpr->Exec(Encode1251(lines[static_cast<size_t>(h) + 1]));
    };
    if (RestoreLine(at, inFoldedForm, line) != line) {
        p.Message(L"Tintmark: процедура " + Quoted(name) +
                  L" уже свернута в этом окне под другим заголовком; сначала разверните ее");
        return;
    }
    const Lines16& kept = record.FoldedBlocks.at(name);
    const Lines16 body = BodyOf(kept);
    EditorView(p, e, &doc).EraseHighlight();
    if (!body.empty() && !BodyFollows(lines, line, kept)) {
        const int32_t end = static_cast<int32_t>(lines[static_cast<size_t>(line)].size());
        doc.ReplaceRange(line, end, line, end, u"\r\n" + JoinLines(body));
    }
    files.Remove(name, StateFileText(kept));
    record.FoldedBlocks.erase(name);
}

void FoldRegion(TTintmarkPlugin& p, HWND e, TCfgWndData& record, HostTextDocument& doc, int32_t line,
                const MethodHeader& header) {
    doc.MoveCaret(line, header.Column, line, header.Column);
    EditorView view(p, e, &doc);
    PartnerPosition end;
    if (!FindPairPosition(p.Analysis, doc, view, p.PairingSettings(), kReportPartner, &end) || end.Line <= line)
        return;
    const int32_t endLength = doc.LineLength(end.Line);
    const Lines16 kept = SplitLines(doc.RangeTextWide(line, 0, end.Line, endLength));
    if (kept.size() < 2) return;
    StateFiles files = FilesOf(p, record.Document.get());
    files.Write(header.Name, StateFileText(kept));
    record.FoldedBlocks.emplace(header.Name, kept);
    view.EraseHighlight();
    try {
        doc.ReplaceRange(line, 0, end.Line, endLength, kept.front() + u"\r\n" + kept.back());
    } catch (...) {
        // Kept unless the document certainly still has it.
        bool unchanged = false;
        try {
            doc.Forget();
            unchanged = SplitLines(doc.RangeTextWide(line, 0, end.Line, endLength)) == kept;
        } catch (...) {
        }
        if (unchanged) {
            files.Remove(header.Name, StateFileText(kept));
            record.FoldedBlocks.erase(header.Name);
        }
        throw;
    }
}

}  // namespace

void GutterFoldClick(TTintmarkPlugin& p, HWND e, TCfgWndData& record, HostTextDocument& doc, int32_t line,
                     const MethodHeader& header) {
    if (header.Name.empty()) return;
    if (record.FoldedBlocks.count(header.Name))
        UnfoldRegion(p, e, record, doc, line, header.Name);
    else
        FoldRegion(p, e, record, doc, line, header);
    // The highlight follows with the click's refresh.
    RescanVisible(p, e, doc);
    RebuildGutter(p, e, record);
}

}  // namespace tintmark
