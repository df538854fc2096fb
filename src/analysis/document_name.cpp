// Document name rules.
#include "analysis/document_name.h"

namespace tintmark {

std::u16string_view NameExtension(std::u16string_view name) {
    const size_t sep = name.find_last_of(u"\\/");
    const size_t start = sep == std::u16string_view::npos ? 0 : sep + 1;
    const size_t dot = name.find_last_of(u'.');
    if (dot == std::u16string_view::npos || dot < start) return {};
    return name.substr(dot);
}

bool IsExcludedDocumentName(std::u16string_view name) {
    static constexpr std::u16string_view kExcluded = u".vbs.js.wsc.prm.py.pl.html.htm.frm";
    const std::u16string_view ext = NameExtension(name);
    return !ext.empty() && ext != u"." && kExcluded.find(ext) != std::u16string_view::npos;
}

}  // namespace tintmark
