// Navigation on the active editor: a text document's editor with or without the focus, a
// multi-page document's module page only while its editor has the focus.
#include "hook/navigation_commands.h"

#include "host/host.h"
#include "host/host_document.h"
#include "hook/plugin_state.h"
#include "hook/activation.h"
#include "render/editor_view.h"

namespace tintmark {

void NavigatePair(PluginState& p, NavigationMode mode) {
    const LocatedEditor target = FindActiveEditor(p);
    if (!target.text || !target.editor) return;
    if (target.kind == host::kMultiPageDocument && GetFocus() != target.editor) return;
    HostTextDocument doc(target.text.get());
    EditorView view(p, target.editor, &doc);
    const int32_t first = view.FirstVisibleLine();
    if (!FindPairPosition(p.Analysis, doc, view, p.PairingSettings(), mode)) return;
    // The caret moved: the cross lines follow it and it is the caret the editor procedure
    // remembers (a scrolled view is placed by its paint).
    doc.Forget();
    if (doc.HasSelection() || view.FirstVisibleLine() != first) return;
    const int32_t line = doc.SelStartLine(), col = doc.SelStartCol();
    if (line != p.LastCaretLine) view.EraseCrossLines();
    view.UpdateCrossLines();
    p.LastCaretLine = line;
    p.LastCaretCol = col;
}

}  // namespace tintmark
