// Navigation on the active editor: a text document's editor with or without the focus, a
// multi-page document's module page only while its editor has the focus.
#include "hook/navigation_commands.h"

#include "core/host.h"
#include "core/host_document.h"
#include "core/plugin.h"
#include "hook/activation.h"
#include "render/editor_view.h"

namespace tintmark {

void NavigatePair(TTintmarkPlugin& p, NavigationMode mode) {
    const LocatedEditor target = FindActiveEditor(p);
    if (!target.text || !target.editor) return;
    if (target.kind == host::kMultiPageDocument && GetFocus() != target.editor) return;
    HostTextDocument doc(target.text.get());
    EditorView view(p, target.editor, &doc);
    FindPairPosition(p.Analysis, doc, view, p.PairingSettings(), mode);
}

}  // namespace tintmark
