// Gutter clicks on method headers.
#include "hook/folding_entry.h"

#include "analysis/method_map.h"
#include "core/host_document.h"
#include "core/plugin.h"
#include "core/records.h"

namespace tintmark {

void GutterFoldClick(TTintmarkPlugin&, HWND, TCfgWndData&, HostTextDocument&, int32_t, const MethodHeader&) {
    // Folding by a gutter click arrives with the folding commands.
}

}  // namespace tintmark
