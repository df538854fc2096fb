// Pixel width of a line prefix with tabs expanded to the editor's tab stops.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tintmark {

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int32_t Width(std::string_view text) = 0;
};

// Width of s (up to its end or a zero character): the tab-free text's width, plus a full tab
// stop per tab, less the part of each stop the characters before the tab already filled.
// scratch holds the tab-free copy between calls.
int32_t ExpandedTextWidth(std::string_view s, TextMeasure& measure, int32_t tabSize, int32_t tabWidth,
                          int32_t charWidth, std::string& scratch);

}  // namespace tintmark
