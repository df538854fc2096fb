// The marks of block keywords and brackets without a partner: their state and where their
// gutter marks go (portable part).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/pairing.h"
#include "analysis/plugin_types.h"

namespace tintmark {

struct MismatchBox {
    Rect Box;
    int32_t Line = 0;
    bool Bracket = false;
    bool operator==(const MismatchBox& o) const { return Box == o.Box && Line == o.Line && Bracket == o.Bracket; }
};

// The mismatch marks of the active editor's view.
struct MismatchMarks {
    bool Valid = false;      // worked out for the view below
    int32_t FirstLine = 0;   // the first visible line they were placed in
    int32_t HScroll = 0;     // the horizontal scroll position they were placed at
    int32_t LineCount = 0;   // the document's line count then
    std::vector<MismatchBox> Boxes;
    bool Shown = false;      // the boxes are on screen
    TKeyWordsMap Scan;       // scratch of the view's check, apart from the view's own scan
    std::string Buffer;
};

// The gutter mark of a mismatch on row r of the view: a bar right of the fold marks, against
// the separator.
Rect MismatchGutterRect(int32_t textOriginX, int32_t lineHeight, int32_t row);

}  // namespace tintmark
