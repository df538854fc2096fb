// A text document held in memory: for tests, benchmarks and tmk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/document.h"

namespace tintmark {

class MemoryDocument : public TextDocument {
public:
    explicit MemoryDocument(std::vector<std::string> lines);
    // Splits text at CR LF or LF; a final line break adds no empty line; empty text is one
    // empty line.
    static MemoryDocument FromText(std::string_view text);

    int32_t LineCount() override { return static_cast<int32_t>(lines_.size()); }
    int32_t LineLength(int32_t line) override;
    void RangeTextInto(int32_t line1, int32_t col1, int32_t line2, int32_t col2, std::string& out) override;
    int32_t SelStartLine() override { return selStartLine_; }
    int32_t SelStartCol() override { return selStartCol_; }
    int32_t SelEndLine() override { return selEndLine_; }
    int32_t SelEndCol() override { return selEndCol_; }
    void MoveCaret(int32_t line1, int32_t col1, int32_t line2, int32_t col2) override;

    const std::vector<std::string>& Lines() const { return lines_; }
    int RangeTextCalls() const { return rangeTextCalls_; }

private:
    std::vector<std::string> lines_;
    int32_t selStartLine_ = 0, selStartCol_ = 0, selEndLine_ = 0, selEndCol_ = 0;
    int rangeTextCalls_ = 0;
};

}  // namespace tintmark
