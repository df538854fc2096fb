// In-memory text document.
#include "analysis/memory_document.h"

#include <algorithm>

namespace tintmark {

MemoryDocument::MemoryDocument(std::vector<std::string> lines) : lines_(std::move(lines)) {
    if (lines_.empty()) lines_.emplace_back();
}

MemoryDocument MemoryDocument::FromText(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            if (start < text.size() || lines.empty()) lines.emplace_back(text.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && text[end - 1] == '\r') --end;
        lines.emplace_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return MemoryDocument(std::move(lines));
}

int32_t MemoryDocument::LineLength(int32_t line) {
    if (line < 0 || line >= LineCount()) return 0;
    return static_cast<int32_t>(lines_[static_cast<size_t>(line)].size());
}

void MemoryDocument::RangeTextInto(int32_t line1, int32_t col1, int32_t line2, int32_t col2, std::string& out) {
    ++rangeTextCalls_;
    out.clear();
    line1 = std::max(line1, 0);
    line2 = std::min(line2, LineCount() - 1);
    if (line1 > line2) return;  // a range whose first line lies after its last: no text
    for (int32_t l = line1; l <= line2; ++l) {
        const std::string& s = lines_[static_cast<size_t>(l)];
        const size_t from = l == line1 ? std::min<size_t>(static_cast<size_t>(std::max(col1, 0)), s.size()) : 0;
        const size_t to = l == line2 ? std::min<size_t>(static_cast<size_t>(std::max(col2, 0)), s.size()) : s.size();
        if (l > line1) out += "\r\n";
        if (to > from) out.append(s, from, to - from);
    }
}

void MemoryDocument::MoveCaret(int32_t line1, int32_t col1, int32_t line2, int32_t col2) {
    selStartLine_ = line1;
    selStartCol_ = col1;
    selEndLine_ = line2;
    selEndCol_ = col2;
}

}  // namespace tintmark
