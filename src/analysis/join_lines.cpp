// Joining kept lines back into one block of text.
#include "analysis/plugin_types.h"

namespace tintmark {

std::u16string JoinLines(const std::vector<std::u16string>& lines, std::u16string_view lineBreak) {
    size_t total = 0;
    for (const auto& line : lines) total += line.size() + lineBreak.size();
    std::u16string out;
    out.reserve(total);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += lineBreak;
        out += lines[i];
    }
    return out;
}

std::u16string JoinLines(const std::vector<std::u16string>& lines) { return JoinLines(lines, u"\r\n"); }

}  // namespace tintmark
