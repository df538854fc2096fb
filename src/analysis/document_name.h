// Rules on the names of the host's documents.
#pragma once

#include <string>
#include <string_view>

namespace tintmark {

// The extension of a document name: from the last dot after the last path separator, dot
// included; empty when there is none.
std::u16string_view NameExtension(std::u16string_view name);

// Script and page documents the plugin leaves alone: their extension is neither empty nor a
// bare dot and occurs, case-sensitively, in ".vbs.js.wsc.prm.py.pl.html.htm.frm" (so the
// fragments ".ht" and ".p" are excluded too).
bool IsExcludedDocumentName(std::u16string_view name);

}  // namespace tintmark
