// One editor window as the pairing and the overlay see it: geometry, measuring, and the
// drawing and erasing of the pair highlight and the cross lines.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "analysis/pairing.h"
#include "render/overlay_geometry.h"

namespace tintmark {

class TTintmarkPlugin;
class TextDocument;
class DrawingFrame;

// Erasing never paints the host's text itself: it invalidates what the overlay covered, so
// the host repaints those pixels exactly as it paints them anyway (selection, colours and
// glyphs included).
class EditorView final : public PairView {
public:
    // doc may be null for drawing that needs no text (erasing, redrawing stored state).
    EditorView(TTintmarkPlugin& plugin, HWND editor, TextDocument* doc);
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

    // Erases the highlight and clears its shown flags.
    void EraseHighlight();
    // Runs the pair highlight of the current mode (always = the "always" variant).
    void Highlight(bool always);
    // After the host painted: the plain highlight placed and drawn afresh, and only boxes of
    // the last one that are not drawn again at their place erased, so that a paint that
    // changes nothing asks for no further paint.
    void RedoHighlightAfterHostPaint();

private:
    // How far (pixels, down) what was drawn in a view whose first line was placedFirstLine
    // has moved with the text since.
    int32_t ScrolledBy(int32_t placedFirstLine);
    void Invalidate(const Rect& r);
    void InvalidateFrame(const Rect& r);
    // The device context of the view's drawing, taken at its first drawing and given back
    // when the view goes.
    DrawingFrame& Frame();

    TTintmarkPlugin& p_;
    HWND wnd_;
    TextDocument* doc_;
    std::string scratch_;
    std::unique_ptr<DrawingFrame> frame_;
};

// Client rectangle of a window as a Rect.
Rect ClientRect(HWND wnd);

}  // namespace tintmark
