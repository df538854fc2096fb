// Cutting the token at the caret out of a line.
#include "analysis/token.h"

#include <cstdint>
#include <cstring>

namespace tintmark {

namespace {
bool IsDelimiter(char c) {
    static const char kDelimiters[] = " .,;:|#=+-*/%?<>\\()[]{}!~@$^&\"'\t\r";  // 33 characters
    return c != '\0' && std::strchr(kDelimiters, c) != nullptr;
}
}  // namespace

CaretToken TokenAtCaret(std::string_view line, int32_t c) {
    const int32_t n = static_cast<int32_t>(line.size());
    auto s = [&](int32_t i) { return line[static_cast<size_t>(i - 1)]; };  // 1-based
    if (n < 1 || c < 0 || c > n) return {};
    if (s(c < 1 ? 1 : c) == '(') return {"(", "(", ""};
    if (c + 1 <= n && s(c + 1) == ')') return {")", "", ")"};
    int32_t start = c;
    while (start > 0) {
        if (IsDelimiter(s(start))) {
            ++start;
            break;
        }
        --start;
    }
    if (start == 0) start = 1;
    int32_t end = start;
    while (end <= n) {
        if (IsDelimiter(s(end))) {
            --end;
            break;
        }
        ++end;
    }
    if (end > n) end = n;
    auto part = [&](int32_t from, int32_t to) {  // s[from .. to], 1-based, empty when to < from
        return to < from ? std::string() : std::string(line.substr(static_cast<size_t>(from - 1),
                                                                   static_cast<size_t>(to - from + 1)));
    };
    return {part(start, end), part(start, c), part(c + 1, end)};
}

}  // namespace tintmark
