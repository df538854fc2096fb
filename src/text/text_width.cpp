// Tab expansion for measuring.
#include "text/text_width.h"

namespace tintmark {

int32_t ExpandedTextWidth(std::string_view s, TextMeasure& measure, int32_t tabSize, int32_t tabWidth,
                          int32_t charWidth, std::string& scratch) {
    if (tabSize < 1) tabSize = 1;  // settings never give less; no division by zero all the same
    scratch.clear();
    int32_t run = 0, tabs = 0, correction = 0;
    for (char c : s) {
        if (c == '\0') break;
        if (c == '\t') {
            ++tabs;
            if (run > 0) correction += run % tabSize;
            run = 0;
        } else {
            scratch += c;
            ++run;
        }
    }
    return measure.Width(scratch) + tabWidth * tabs - charWidth * correction;
}

}  // namespace tintmark
