// A pair view over a fixed-pitch font that records the drawing it is asked for: the editor
// stand-in of tools and tests.
#pragma once

#include <string>
#include <vector>

#include "analysis/pairing.h"
#include "text/text_width.h"

namespace tintmark {

class FixedPitchView : public PairView, private TextMeasure {
public:
    FixedPitchView(int32_t first, int32_t visible, int32_t charWidth = 8, int32_t tabSize = 4)
        : first_(first), visible_(visible), charWidth_(charWidth), tabSize_(tabSize) {}

    int32_t hscroll = 0;
    int32_t widenOnDraw = 0;  // drawing widens the stored boxes, as a bold text does
    std::vector<std::string> calls;  // "erase", "draw", "cross", "update" in order

    void SetFirstVisibleLine(int32_t first) { first_ = first; }
    int32_t FirstVisibleLine() override { return first_; }
    int32_t VisibleLineCount() override { return visible_; }
    int32_t HorizontalScrollPos() override { return hscroll; }
    int32_t TextWidth(std::string_view text) override { return Width(text); }
    int32_t ExpandedTextWidth(std::string_view text) override {
        return tintmark::ExpandedTextWidth(text, *this, tabSize_, charWidth_ * tabSize_, charWidth_, scratch_);
    }
    void ErasePairHighlight(const PairState&) override { calls.push_back("erase"); }
    void DrawPairHighlight(PairState& s) override {
        calls.push_back("draw");
        s.CaretTokenRect.right += widenOnDraw;
        s.PairTokenRect.right += widenOnDraw;
    }
    void DrawCrossLines() override { calls.push_back("cross"); }
    void UpdateCrossLines() override { calls.push_back("update"); }

private:
    int32_t Width(std::string_view text) override { return static_cast<int32_t>(text.size()) * charWidth_; }
    int32_t first_, visible_, charWidth_, tabSize_;
    std::string scratch_;
};

}  // namespace tintmark
