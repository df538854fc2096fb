// Joining kept lines back into one block of text.
#include "analysis/plugin_types.h"

namespace tintmark {

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
    size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    std::u16string out;
    out.reserve(total);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += u"\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace tintmark
