// CheckBlocks on the active module.
#include "hook/check_blocks.h"

#include "analysis/mismatch.h"
#include "host/host.h"
#include "host/host_document.h"
#include "hook/plugin_state.h"
#include "win/wide_text.h"
#include "hook/activation.h"

namespace tintmark {

namespace {
// Message kinds of the configurator's message window: a mismatch is an error, the summary
// plain information.
constexpr LONG kErrorLine = 2;
constexpr LONG kInfoLine = 1;
}  // namespace

int32_t CheckActiveModule(PluginState& p) {
    const LocatedEditor active = FindActiveEditor(p);
    if (!active.text) return 0;
    HostTextDocument doc(active.text.get());
    // The check knows the middle words always, English spellings by the switch; its table
    // and scan list are its own, so the view's scan stays as it is.
    Analysis check;
    BuildKeyWordTable(check.Keywords, KeywordOptions{p.Look.EnglishKeywords, true});
    const std::vector<BlockMismatch> found = CheckDocumentBlocks(doc, check.Keywords, check.KeyWordsMap,
                                                                 check.ScanBuffer);
    for (const BlockMismatch& m : found) {
        const std::string word = doc.RangeText(m.Line, m.StartCol, m.Line, m.EndCol + 1);
        host::ShowMessageLine(p.Configurator.get(), L"Tintmark: " + Cp1251ToWide(MismatchMessage(m, word)),
                              kErrorLine);
    }
    host::ShowMessageLine(p.Configurator.get(), L"Tintmark: " + Cp1251ToWide(MismatchSummary(found.size())),
                          kInfoLine);
    return static_cast<int32_t>(found.size());
}

}  // namespace tintmark
