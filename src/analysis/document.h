// The text document as the analysis sees it: the host operations it calls, in Windows-1251.
#pragma once

#include <cstdint>
#include <string>

namespace tintmark {

// 0-based lines and columns; end columns exclusive. Implementations may throw on a failed
// host call; the analysis lets that end the running operation.
class TextDocument {
public:
    virtual ~TextDocument() = default;
    virtual int32_t LineCount() = 0;
    virtual int32_t LineLength(int32_t line) = 0;
    // The text from (line1, col1) to (line2, col2), lines joined by CR LF, into out (whose
    // storage is reused, so a scan allocates nothing once warmed up).
    virtual void RangeTextInto(int32_t line1, int32_t col1, int32_t line2, int32_t col2, std::string& out) = 0;
    std::string RangeText(int32_t line1, int32_t col1, int32_t line2, int32_t col2) {
        std::string out;
        RangeTextInto(line1, col1, line2, col2, out);
        return out;
    }
    virtual int32_t SelStartLine() = 0;
    virtual int32_t SelStartCol() = 0;
    virtual int32_t SelEndLine() = 0;
    virtual int32_t SelEndCol() = 0;
    virtual void MoveCaret(int32_t line1, int32_t col1, int32_t line2, int32_t col2) = 0;

    // The whole of one line.
    std::string Line(int32_t line) { return RangeText(line, 0, line, LineLength(line)); }
};

}  // namespace tintmark
