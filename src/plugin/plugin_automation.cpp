// The plugin's own automation members: commands and write-only appearance properties.
#include "win/com_error.h"
#include "host/host_document.h"
#include "plugin/plugin.h"
#include "hook/activation.h"
#include "hook/folding_commands.h"
#include "hook/check_blocks.h"
#include "hook/guarded.h"
#include "hook/navigation_commands.h"
#include "hook/settings_redraw.h"
#include "render/editor_view.h"

namespace tintmark {

template <typename F>
HRESULT TTintmarkPlugin::Command(F&& body) {
    if (!Configurator) return S_OK;
    return ComBoundary(std::forward<F>(body));
}

// A written setting is stored, and the active editor's marks are drawn with it at once; a
// failure of that drawing is reported as any handling's failure and does not fail the write.
HRESULT TTintmarkPlugin::PutColour(Colour Appearance::*field, ColourFallback fallback, OLE_COLOR value) {
    tintmark::PutColour(Look, field, fallback, static_cast<Colour>(value), Config);
    Guarded(*this, [&] { RedrawMarksForSettings(*this); });
    return S_OK;
}

HRESULT TTintmarkPlugin::PutSwitch(bool Appearance::*field, VARIANT_BOOL value) {
    tintmark::PutSwitch(Look, field, value != VARIANT_FALSE);
    Guarded(*this, [&] { RedrawMarksForSettings(*this); });
    return S_OK;
}

HRESULT TTintmarkPlugin::ExpandAll() { return Command([&] { tintmark::ExpandAll(*this); }); }
HRESULT TTintmarkPlugin::CollapseAll() { return Command([&] { tintmark::CollapseAll(*this); }); }
HRESULT TTintmarkPlugin::JumpToPairBracket() { return Command([&] { NavigatePair(*this, kJump); }); }
HRESULT TTintmarkPlugin::SelectPairBlock() { return Command([&] { NavigatePair(*this, kSelectPairBlock); }); }
HRESULT TTintmarkPlugin::SelectInnerBlock() { return Command([&] { NavigatePair(*this, kSelectInnerBlock); }); }

HRESULT TTintmarkPlugin::ShowPairBracket() {
    if (!Look.DisableAutoHighlight) return S_OK;
    return Command([&] {
        // The one-shot highlight runs with automatic highlighting briefly on; it is off
        // again on every way out, also when the highlighting fails.
        struct Restore {
            Appearance& look;
            ~Restore() { look.DisableAutoHighlight = true; }
        } restore{Look};
        const LocatedEditor active = FindActiveEditor(*this);
        if (!active.editor || !active.text) return;
        Look.DisableAutoHighlight = false;
        HostTextDocument doc(active.text.get());
        EditorView view(*this, active.editor, &doc);
        view.EraseHighlight();
        view.Highlight(Look.HighlightModeAlways);
    });
}

using A = Appearance;
using F = ColourFallback;

HRESULT TTintmarkPlugin::put_OpenBracketUnderLineColor(OLE_COLOR v) { return PutColour(&A::OpenBracketUnderLineColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_MethodsBorderColor(OLE_COLOR v) { return PutColour(&A::MethodsBorderColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_GutterColor(OLE_COLOR v) { return PutColour(&A::GutterColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_GutterLineColor(OLE_COLOR v) { return PutColour(&A::GutterLineColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_BookMarkColor(OLE_COLOR v) { return PutColour(&A::BookMarkColor, F::BookMark, v); }
HRESULT TTintmarkPlugin::put_OpenBracketFontColor(OLE_COLOR v) { return PutColour(&A::OpenBracketFontColor, F::Keyword, v); }
HRESULT TTintmarkPlugin::put_OpenBracketBgColor(OLE_COLOR v) { return PutColour(&A::OpenBracketBgColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_OpenBracketFrameColor(OLE_COLOR v) { return PutColour(&A::OpenBracketFrameColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_CloseBracketBgColor(OLE_COLOR v) { return PutColour(&A::CloseBracketBgColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_CloseBracketFrameColor(OLE_COLOR v) { return PutColour(&A::CloseBracketFrameColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_CloseBracketFontColor(OLE_COLOR v) { return PutColour(&A::CloseBracketFontColor, F::Keyword, v); }
HRESULT TTintmarkPlugin::put_CloseBracketUnderLineColor(OLE_COLOR v) { return PutColour(&A::CloseBracketUnderLineColor, F::Background, v); }
HRESULT TTintmarkPlugin::put_CrossLinesColor(OLE_COLOR v) { return PutColour(&A::CrossLinesColor, F::None, v); }

HRESULT TTintmarkPlugin::put_OpenBracketFontBold(VARIANT_BOOL v) { return PutSwitch(&A::OpenBracketFontBold, v); }
HRESULT TTintmarkPlugin::put_CloseBracketFontBold(VARIANT_BOOL v) { return PutSwitch(&A::CloseBracketFontBold, v); }
HRESULT TTintmarkPlugin::put_HighlightModeAlways(VARIANT_BOOL v) { return PutSwitch(&A::HighlightModeAlways, v); }
HRESULT TTintmarkPlugin::put_DisableAutoHighlight(VARIANT_BOOL v) { return PutSwitch(&A::DisableAutoHighlight, v); }
HRESULT TTintmarkPlugin::put_EnableHorizCrossLine(VARIANT_BOOL v) { return PutSwitch(&A::EnableHorizCrossLine, v); }
HRESULT TTintmarkPlugin::put_EnableVertCrossLine(VARIANT_BOOL v) { return PutSwitch(&A::EnableVertCrossLine, v); }

// The three switches beyond pairs only store their value and the words the keyword table
// knows; what they change shows from the next scan and drawing on.
HRESULT TTintmarkPlugin::put_HighlightMiddle(VARIANT_BOOL v) {
    PutSwitch(&A::HighlightMiddle, v);
    UpdateKeywordTable();
    return S_OK;
}
HRESULT TTintmarkPlugin::put_MismatchColor(OLE_COLOR v) {
    PutColour(&A::MismatchColor, F::None, v);
    UpdateKeywordTable();
    return S_OK;
}
HRESULT TTintmarkPlugin::put_EnglishKeywords(VARIANT_BOOL v) {
    PutSwitch(&A::EnglishKeywords, v);
    UpdateKeywordTable();
    return S_OK;
}

HRESULT TTintmarkPlugin::CheckBlocks(LONG* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return Command([&] { *count = CheckActiveModule(*this); });
}

}  // namespace tintmark
