// Settings written by a script show at once: the marks of the active editor are placed and
// drawn again, as after a click at the caret.
#include "hook/settings_redraw.h"

#include "analysis/scanner.h"
#include "host/host_document.h"
#include "hook/plugin_state.h"
#include "host/records.h"
#include "hook/activation.h"
#include "render/editor_view.h"
#include "render/gutter.h"

namespace tintmark {

void RedrawMarksForSettings(PluginState& p) {
    if (!p.Configurator || p.TextOriginX == 0) return;
    const LocatedEditor active = FindActiveEditor(p);
    if (!active.editor || !active.text) return;
    TCfgWndData* record = CfgWndDataOfEditor(active.editor);
    if (!record || !record->Document) return;  // an editor the plugin does not serve
    HostTextDocument doc(record->Document.get());
    EditorView view(p, active.editor, &doc);
    view.EraseHighlight();
    view.EraseCrossLines();
    ScanLines(doc, view.FirstVisibleLine(), view.VisibleLineCount() + 10, p.Analysis.Keywords,
              p.Analysis.KeyWordsMap, p.Analysis.ScanBuffer);
    // No marks while a selection exists.
    if (!doc.HasSelection()) {
        view.UpdateCrossLines();
        view.Highlight(p.Look.HighlightModeAlways);
    }
    RebuildGutter(p, active.editor, *record);
}

}  // namespace tintmark
