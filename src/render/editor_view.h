// One editor window as the pairing and the overlay see it: geometry, measuring, and the
// drawing and erasing of the pair highlight and the cross lines.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/pairing.h"
#include "render/clean_copy.h"
#include "render/overlay_geometry.h"

namespace tintmark {

struct EditorState;
class TextDocument;
class DrawingFrame;

// Erasing never paints the host's text itself: it invalidates what the overlay covered, so
// the host repaints those pixels exactly as it paints them anyway (selection, colours and
// glyphs included).
class EditorView final : public PairView {
public:
    // doc may be null for drawing that needs no text (erasing, redrawing stored state).
    EditorView(EditorState& plugin, HWND editor, TextDocument* doc);
    ~EditorView() override;
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;

    HWND Window() const { return wnd_; }

    int32_t FirstVisibleLine() override;
    int32_t VisibleLineCount() override;
    int32_t HorizontalScrollPos() override;
    int32_t TextWidth(std::string_view text) override;
    int32_t ExpandedTextWidth(std::string_view text) override;

    void ErasePairHighlight(const PairState& state) override;
    void DrawPairHighlight(PairState& state) override;
    void DrawCrossLines() override;
    void UpdateCrossLines() override;
    void EraseCrossLines();
    // Whether a switched-on cross line is not on the screen although the caret (on caretLine)
    // calls for it: a selection took it off, say.
    bool CrossLinesMissing(int32_t caretLine);

    // Draws again the marks on the screen that a host paint of U painted over (nothing is
    // placed afresh: the view is as they were placed).
    void RedrawMarksIn(const std::vector<Rect>& areas, bool boxes = true);
    // Erases the highlight and clears its shown flags.
    void EraseHighlight();
    // Runs the pair highlight of the current mode (always = the "always" variant).
    void Highlight(bool always);
    // After the host painted: the highlight of the mode in force placed and drawn afresh, and
    // only boxes of the last one that are not drawn again at their place erased, so that a
    // paint that changes nothing asks for no further paint.
    void RedoHighlightAfterHostPaint(bool always);

    // How far the text moved since something was drawn over it in the view (first line,
    // horizontal scroll position) given.
    ViewShift ShiftSince(int32_t placedFirstLine, int32_t placedHScroll);

private:
    // Asks the host to repaint r (the plugin's own damage).
    void Invalidate(const Rect& r);
    // Takes marks off the areas: puts back the host's pixels kept under them, and draws again
    // what of the marks still shown (the boxes only when asked) lay there; where nothing is
    // kept, has the host repaint.
    void EraseAreas(const std::vector<Rect>& areas, bool boxes);
    // The edges of the line frame R drawn in a view the text has moved by shift since, where
    // they now stand (a sideways scroll moved its ends with the text).
    std::vector<Rect> FrameEdgesNow(const Rect& r, ViewShift shift);
    // Around every drawing of a mark over r: the clean copy keeps what it covers.
    void BeforeDraw(const Rect& r);
    void AfterDraw(const Rect& r);
    // The clean copy follows this window (taking the plugin's shown marks as on its screen).
    void Track();
    ClientView View();
    // Draws the shown frame and column line, of those asked for.
    void DrawLines(bool frame, bool column);
    // Stored boxes placed in another view are moved to where their text now stands.
    void RebaseBoxes(PairState& s);
    // Draws the shown boxes of those asked for; pair stands for the partner and the further
    // members of a block with middle words.
    void DrawBoxes(PairState& s, bool caret, bool pair);
    // Whether hit holds for the shown partner box or a shown member box.
    static bool PairGroupHit(const PairState& s, const std::function<bool(const Rect&)>& hit);
    // The mismatch frames on the screen, placed for the current view (none otherwise).
    std::vector<Rect> MismatchFramesNow();
    // Cross lines placed in another view: the frame moved with its line; the copies a
    // sideways scroll moved are taken off.
    void RebaseCrossLines(CrossLineState& c);
    // The device context of the view's drawing, taken at its first drawing and given back
    // when the view goes.
    DrawingFrame& Frame();

    EditorState& p_;
    HWND wnd_;
    TextDocument* doc_;
    std::string scratch_;
    std::unique_ptr<DrawingFrame> frame_;
};

// Client rectangle of a window as a Rect.
Rect ClientRect(HWND wnd);

}  // namespace tintmark
