// The paint path of a hooked editor: the stale overlay joins the host's update region, the
// gutter is kept out of it, the host paints, then the overlay and the gutter are redone as
// far as something changed.
#include "render/paint_editor.h"

#include "analysis/scanner.h"
#include "win/handles.h"
#include "host/host_document.h"
#include "render/editor_state.h"
#include "host/records.h"
#include "render/editor_view.h"
#include "render/gutter.h"
#include "render/mismatch_marks.h"

namespace tintmark {

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void Invalidate(HWND wnd, const Rect& r) {
    const RECT rc = ToRect(r);
    InvalidateRect(wnd, &rc, FALSE);
}

bool FocusIsInListBox() {
    wchar_t cls[10] = {};
    HWND focus = GetFocus();
    return focus && GetClassNameW(focus, cls, 10) > 0 && lstrcmpiW(cls, L"listbox") == 0;
}

}  // namespace

LRESULT PaintEditor(EditorState& p, HWND W, const std::function<LRESULT()>& callHost) {
    const bool focused = GetFocus() == W;
    EditorView view(p, W, nullptr);
    const int32_t hscroll = view.HorizontalScrollPos();
    p.Analysis.Pair.HScrollPos = hscroll;
    const int32_t F = view.FirstVisibleLine();
    const int32_t V = view.VisibleLineCount();

    TCfgWndData* record = CfgWndDataOfEditor(W);
    if (!record || !record->Document) return callHost();
    HostTextDocument doc(record->Document.get());
    EditorView docView(p, W, &doc);
    const HWND owner = record->CfgWindowHandle;
    const Rect K = ClientRect(W);
    RECT u{};
    GetUpdateRect(W, &u, FALSE);
    const Rect U{u.left, u.top, u.right, u.bottom};
    // A paint of nothing but the marks the plugin erased itself: the host has nothing new to say.
    UniqueGdiObject update(CreateRectRgn(0, 0, 0, 0));
    const bool ownOnly = update && GetUpdateRgn(W, static_cast<HRGN>(update.get()), FALSE) > NULLREGION &&
                         p.Damage.TakeOnlyOwn(W, static_cast<HRGN>(update.get()));
    // The host paints what is invalid now: no mark shows there afterwards, and where the host
    // asked for the paint itself, what it draws there may differ from the clean copy.
    auto hostPaint = [&] {
        if (update) GetUpdateRgn(W, static_cast<HRGN>(update.get()), FALSE);
        const LRESULT result = callHost();
        const Rect client = ClientRect(W);
        p.Clean.Repainted(W, ClientView{F, hscroll, client.right, client.bottom, p.LineHeight},
                          static_cast<HRGN>(update.get()), !ownOnly);
        return result;
    };
    p.CaretTokenInUpdate = false;
    p.PairTokenInUpdate = false;
    PairState& pair = p.Analysis.Pair;
    CrossLineState& cross = p.Cross;
    // How far the text moved under the boxes and under the cross lines since they were drawn.
    const ViewShift dBoxes = ShiftSince(pair.ViewFirstLine, pair.ViewHScroll, F, hscroll, p.LineHeight);
    const ViewShift dCross = ShiftSince(cross.FirstLine, cross.HScroll, F, hscroll, p.LineHeight);
    const Rect bottomStrip{0, K.bottom - p.LineHeight, K.right, K.bottom};

    const Rect G{0, 0, p.TextOriginX - 1, K.bottom};
    auto keepGutterFromHost = [&] {
        if (G.right <= 0) return;
        const RECT g = ToRect(G);
        ValidateRect(W, &g);
    };
    // The host repaints what the plugin erased in a view that is as the marks were placed:
    // the marks it painted over are drawn again from what is stored, without a host call.
    if (focused && ownOnly && F == p.LastFirstLine && V == p.LastVisibleLines && hscroll == p.LastHScrollPos &&
        !p.Analysis.Pair.HScrolled && !p.LastKeyWasEdit && !p.TelepatInserted && dBoxes.None() && dCross.None() &&
        CrossLinesFit(cross, K)) {
        keepGutterFromHost();
        const LRESULT result = hostPaint();
        view.RedrawMarksIn({U});
        return result;
    }

    bool linesChanged = false;
    int32_t caretLine = 0, caretCol = 0;
    if (focused) {
        // A view that grew or shrank shows other lines too: they are scanned (the scan
        // reaches only ten lines past the view).
        linesChanged = F != p.LastFirstLine || V != p.LastVisibleLines || doc.LineCount() != p.LastLineCount;
        caretLine = doc.SelStartLine();
        caretCol = doc.SelStartCol();
    }
    const bool hChanged = p.Analysis.Pair.HScrolled || hscroll != p.LastHScrollPos;

    // Boxes the host is about to paint over (they lie in the update region or in the bottom
    // strip, or the view moved under them) are drawn again after the host's paint; boxes
    // nothing touches stay as they are. When neither the view nor the text changed, the boxes
    // are still right where they are and are drawn again from what is stored; otherwise they
    // are invalidated at their present place and the highlight is worked out afresh. A caret
    // that moved since it was last handled (by a command, say) counts as a change too.
    const bool caretMoved = focused && (caretLine != p.LastCaretLine || caretCol != p.LastCaretCol);
    const bool unchanged = dBoxes.None() && !hChanged && !linesChanged && !caretMoved && !p.LastKeyWasEdit &&
                           !p.TelepatInserted;
    bool redrawStoredBoxes = false;
    if (focused && (pair.CaretTokenShown || pair.PairTokenShown || pair.MembersShown)) {
        auto damaged = [&](bool shown, const Rect& r) {
            return shown && (!unchanged || Intersects(r, U) || (!ownOnly && Intersects(r, bottomStrip)));
        };
        const bool caretDamaged = damaged(pair.CaretTokenShown, pair.CaretTokenRect);
        // The further members of a block count with the partner.
        bool pairDamaged = damaged(pair.PairTokenShown, pair.PairTokenRect);
        for (const MemberBox& m : pair.Members) pairDamaged = pairDamaged || damaged(pair.MembersShown, m.Box);
        if (unchanged) {
            redrawStoredBoxes = caretDamaged || pairDamaged;
        } else if (caretDamaged || pairDamaged) {
            for (const auto& [shown, rect] : {std::pair{pair.CaretTokenShown, pair.CaretTokenRect},
                                              std::pair{pair.PairTokenShown, pair.PairTokenRect}})
                if (shown) Invalidate(W, Offset(rect, dBoxes.dx, dBoxes.dy));
            if (pair.MembersShown)
                for (const MemberBox& m : pair.Members) Invalidate(W, Offset(m.Box, dBoxes.dx, dBoxes.dy));
            pair.CaretTokenShown = false;
            pair.PairTokenShown = false;
            pair.MembersShown = false;
            p.CaretTokenInUpdate = p.PairTokenInUpdate = true;
        }
    }

    if ((cross.HorizCrossShown || cross.VertCrossShown) && focused &&
        (linesChanged || hChanged || p.LastCaretLine != caretLine)) {
        if (cross.HorizCrossShown) {
            // The frame where it now stands; a sideways scroll moved its ends with the text.
            const Rect h = Offset(cross.HorizCrossRect, 0, dCross.dy);
            for (const Rect& e : EdgesOf(h).edge) Invalidate(W, e);
            if (dCross.dx != 0) {
                const FrameEdges moved = EdgesOf(Offset(h, dCross.dx, 0));
                Invalidate(W, moved.edge[2]);
                Invalidate(W, moved.edge[3]);
            }
        }
        if (cross.VertCrossShown) {
            Invalidate(W, cross.VertCrossRect);
            if (dCross.dx != 0) Invalidate(W, Offset(cross.VertCrossRect, dCross.dx, 0));
        }
        cross.HorizCrossShown = false;
        cross.VertCrossShown = false;
    }

    // The host's partly visible last line is repainted whole with every paint it asked for.
    if (!ownOnly) Invalidate(W, bottomStrip);
    bool gutterTouched = Intersects(G, U);
    const bool fromTop = U.top == 0 && U.left == 0 && U.right >= p.TextOriginX - 1;
    const bool oneLine = U.bottom - U.top == p.LineHeight && U.left < p.TextOriginX;
    keepGutterFromHost();

    const LRESULT result = hostPaint();

    const bool always = p.Look.HighlightModeAlways;
    auto scan = [&] { ScanLines(doc, F, V + 10, p.Analysis.Keywords, p.Analysis.KeyWordsMap, p.Analysis.ScanBuffer); };
    if (focused) {
        const bool selection = doc.SelEndLine() != caretLine || doc.SelEndCol() != caretCol;
        if (selection) {
            // No marks while a selection exists: what the host did not paint over goes too.
            docView.EraseCrossLines();
            docView.EraseHighlight();
            // The mismatch marks stay with a selection: they follow the text, not the caret.
            const bool mismatchRows = PaintMismatchMarks(p, docView, doc, linesChanged || hChanged);
            // Also while a selection is being dragged: the scan of the view stays valid for
            // the click that follows, and gutter rows the drag scrolled in are painted.
            if (linesChanged || gutterTouched) {
                scan();
                RebuildGutter(p, W, *record);
            } else if (mismatchRows) {
                PaintGutter(p, W, false);
            }
        } else {
            p.LastLineCount = doc.LineCount();
            p.LastCaretLine = caretLine;
            p.LastCaretCol = caretCol;
            const bool gutterOnly = gutterTouched && !p.LastKeyWasEdit && !linesChanged && !hChanged;
            // Lines placed for this caret in an unchanged view are drawn again as they stand;
            // otherwise they are placed afresh.
            // Lines placed for another client size (the window was resized) are placed afresh.
            if (unchanged && CrossLinesFit(cross, K) && caretLine == cross.Line &&
                (!p.Look.EnableVertCrossLine || caretCol == cross.Col) &&
                !docView.CrossLinesMissing(caretLine))
                docView.DrawCrossLines();
            else
                docView.UpdateCrossLines();
            const bool rescan = p.LastKeyWasEdit || linesChanged || oneLine || p.TelepatInserted;
            if (rescan) scan();
            if (!p.GutterPressed &&
                (hChanged || linesChanged || p.LastKeyWasEdit || p.CaretTokenInUpdate || p.PairTokenInUpdate))
                docView.Highlight(always);
            if (redrawStoredBoxes) docView.DrawPairHighlight(pair);
            const bool mismatchRows = PaintMismatchMarks(p, docView, doc, rescan || hChanged);
            // The gutter was kept out of the host's paint: what of it was invalid is painted
            // here, afresh when the lines may have changed (a header typed, a bookmark set).
            if (linesChanged || gutterOnly || fromTop || (gutterTouched && rescan) || mismatchRows)
                RebuildGutter(p, W, *record);
            else if (gutterTouched)
                PaintGutter(p, W, false);
        }
    } else {
        HWND main = p.MainWindowHandle ? p.MainWindowHandle : GetAncestor(W, GA_ROOT);
        if (IsWindowEnabled(main) && FocusIsInListBox()) {
            scan();
            docView.UpdateCrossLines();
            docView.RedoHighlightAfterHostPaint(always);
        } else if (owner == p.ActiveCfgWindowHandle) {
            // The focus is elsewhere (a dialog, the main window, another program): what the
            // host painted over the marks is drawn again, where their text now stands, so that
            // they are whole when the focus comes back.
            view.DrawCrossLines();
            view.DrawPairHighlight(pair);
            // A view scrolled meanwhile shows other lines: their fold marks are worked out.
            if (F != p.LastFirstLine || V != p.LastVisibleLines) {
                scan();
                RebuildGutter(p, W, *record);
                gutterTouched = false;
            }
        }
        if (gutterTouched) PaintGutter(p, W, owner != p.ActiveCfgWindowHandle);
    }

    p.LastKeyWasEdit = false;
    p.TelepatInserted = false;
    // A horizontal scroll is consumed by the paint that follows it, whether or not a
    // highlight was placed; left set it would shift the next highlight and make every later
    // paint count as scrolled.
    if (focused) p.Analysis.Pair.HScrolled = false;
    p.LastFirstLine = F;
    p.LastVisibleLines = V;
    p.LastHScrollPos = hscroll;
    return result;
}

}  // namespace tintmark
