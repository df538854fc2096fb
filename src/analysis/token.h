// The token around a caret column in one line of text.
#pragma once

#include <string>
#include <string_view>

namespace tintmark {

struct CaretToken {
    std::string token;
    std::string left;   // the part left of the caret
    std::string right;  // the part right of the caret
};

// c counts the characters left of the caret; defined for a line of at least one character
// and 0 <= c <= length. A caret right after "(" or right before ")" is on that bracket;
// otherwise the token is the run of non-delimiters around the caret (possibly empty).
CaretToken TokenAtCaret(std::string_view s, int32_t c);

}  // namespace tintmark
