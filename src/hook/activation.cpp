// The activation handler and the locating rules of configurator windows.
#include "hook/activation.h"

#include <algorithm>

#include "analysis/document_name.h"
#include "analysis/scanner.h"
#include "host/host.h"
#include "host/host_document.h"
#include "hook/plugin_state.h"
#include "host/records.h"
#include "hook/subclass.h"
#include "render/editor_view.h"
#include "render/gutter.h"
#include "render/mismatch_marks.h"

namespace tintmark {

namespace {

constexpr LONG kMaxServedLines = 30000;
const wchar_t kMfcFrameClass[] = L"AfxMDIFrame42";

bool HasClass(HWND wnd, const wchar_t* name) {
    wchar_t cls[64] = {};
    return GetClassNameW(wnd, cls, 64) > 0 && lstrcmpW(cls, name) == 0;
}

// The first child of wnd that is the host's (our record windows do not count).
HWND FirstHostChild(HWND wnd) {
    HWND c = wnd ? GetWindow(wnd, GW_CHILD) : nullptr;
    while (c && (HasClass(c, kCfgWndDataClass) || HasClass(c, kEditorDataClass))) c = GetWindow(c, GW_HWNDNEXT);
    return c;
}

HWND EditorUnder(HWND container) {
    HWND frame = container ? FindWindowExW(container, nullptr, kMfcFrameClass, nullptr) : nullptr;
    return frame ? GetWindow(frame, GW_CHILD) : nullptr;
}

bool IsExcludedDocument(ICfgDoc* doc) {
    const std::wstring name = host::GetDocName(doc);
    return IsExcludedDocumentName(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()), name.size()));
}

}  // namespace

LocatedEditor LocateEditor(HWND cfgWindow, ICfgDoc* doc) {
    LocatedEditor out;
    const LONG kind = host::GetDocKind(doc);
    out.kind = kind;
    if (kind == host::kTextDocument) {
        out.text = host::AsTextDocument(doc);
        out.editor = EditorUnder(cfgWindow);
    } else if (kind == host::kMultiPageDocument) {
        out.editor = EditorUnder(FirstHostChild(cfgWindow));
        if (host::ActivePageIsFirst(doc)) {
            ComPtr<ICfgDoc> page = host::GetPage(doc, 1);
            if (host::GetDocKind(page.get()) == host::kTextDocument) out.text = host::AsTextDocument(page.get());
        }
    }
    return out;
}

void MeasureTextOrigin(PluginState& p, HWND e, ITextDoc* doc) {
    if (p.TextOriginX != 0 || !e || !doc) return;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || info.hwndCaret != e) return;
    if (GetScrollPos(e, SB_HORZ) != 0) return;  // the text is scrolled: measured another time
    HostTextDocument text(doc);
    const int32_t line = text.SelStartLine(), col = text.SelStartCol();
    if (line < 0 || line > text.LineCount() - 1 || col < 0) return;
    const std::string s = text.Line(line);
    EditorView view(p, e, &text);
    const size_t inLine = std::min(static_cast<size_t>(col), s.size());
    const int32_t past = col - static_cast<int32_t>(inLine);  // columns in virtual space
    const int32_t x = view.ExpandedTextWidth(std::string_view(s).substr(0, inLine)) + past * p.CharWidth;
    POINT caret{};
    if (!GetCaretPos(&caret)) return;
    if (caret.x - x > 0) p.TextOriginX = caret.x - x;
}

LocatedEditor FindActiveEditor(PluginState& p) {
    if (!p.Configurator) return {};
    ComPtr<ICfgWindow> w = host::GetActiveCfgWindow(p.Configurator.get());
    if (!w) return {};
    const HWND h = host::GetWindowHandle(w.get());
    ComPtr<ICfgDoc> doc = host::GetDocument(w.get());
    return LocateEditor(h, doc.get());
}

void HandleActivateWindow(PluginState& p, ICfgWindow* window, bool active) {
    if (!window) return;
    const HWND w = host::GetWindowHandle(window);
    p.ActiveCfgWindowHandle = w;
    ComPtr<ICfgDoc> doc = host::GetDocument(window);
    if (IsExcludedDocument(doc.get())) return;
    LocatedEditor located = LocateEditor(w, doc.get());
    if (!located.text) return;
    ITextDoc* T = located.text.get();
    if (!host::GetTextFlag(T)) return;
    if (host::GetLineCount(T) > kMaxServedLines) return;
    const HWND E = located.editor;
    MeasureTextOrigin(p, E, T);

    HostTextDocument text(T);
    p.LastCaretLine = text.SelStartLine();
    p.LastCaretCol = text.SelStartCol();

    if (!active) {
        if (E) {
            EditorView view(p, E, nullptr);
            view.EraseHighlight();
            view.EraseCrossLines();
            EraseMismatchMarks(p, E);
            PaintGutter(p, E, true);
        }
        return;
    }

    HookWindow(w, HookKind::CfgWindow);
    TCfgWndData* record = FindCfgWndData(w);
    if (!record) {
        record = CreateCfgWndData(w);
        record->Document = located.text;
    }
    if (!E) return;  // no editor to serve: the record is kept for the guards
    HookWindow(E, HookKind::Editor);
    if (!FindWindowExW(E, nullptr, kEditorDataClass, nullptr)) {
        CreateEditorData(E, record);
        record->EditorHandle = E;
        record->CfgWindowHandle = p.ActiveCfgWindowHandle;
    }

    EditorView view(p, E, &text);
    ScanLines(text, view.FirstVisibleLine(), view.VisibleLineCount(), p.Analysis.Keywords, p.Analysis.KeyWordsMap,
              p.Analysis.ScanBuffer);
    RebuildGutter(p, E, *record);
    // Whatever overlay an earlier activation left in this editor goes before it is redrawn.
    view.EraseCrossLines();
    view.UpdateCrossLines();
    view.EraseHighlight();
    view.Highlight(false);
    if (PaintMismatchMarks(p, view, text, true)) PaintGutter(p, E, false);
}

}  // namespace tintmark
