// What the drawing of the editors works from: the settings, the analysis of the active module,
// where the caret and view were, and the caches of the paint. One per plugin object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "analysis/navigation.h"
#include "analysis/plugin_types.h"
#include "render/clean_copy.h"
#include "render/display_settings.h"
#include "render/gdi_cache.h"
#include "render/measure_canvas.h"
#include "render/mismatch_geometry.h"
#include "render/overlay_geometry.h"
#include "render/own_damage.h"

namespace tintmark {

struct EditorState {
    // ---- windows of the configurator ----
    HWND MainWindowHandle = nullptr;
    HWND ActiveCfgWindowHandle = nullptr;
    bool TelepatInserted = false;  // the completion plugin inserted text since the last key

    // ---- the caret and the editor procedure ----
    int32_t LastCaretLine = 0;
    int32_t LastCaretCol = 0;
    int32_t TextOriginX = 0;   // client x of text column 0; 0 until measured
    int32_t GutterPressY = 0;  // cursor screen y at a button press in the gutter
    bool GutterPressed = false;
    HWND CaretHiddenIn = nullptr;  // the editor whose caret the editor procedure holds hidden
    bool LastKeyWasEdit = false;

    // ---- keyword table, scan tables and pairing state ----
    tintmark::Analysis Analysis;
    TIntArray BookmarkLines;

    // ---- display settings and paint state ----
    ConfiguratorSettings Config;
    Appearance Look;
    std::optional<MeasureCanvas> Canvas;
    int32_t LineHeight = 0;
    int32_t CharWidth = 0;
    int32_t TabWidth = 0;
    int32_t LastFirstLine = 0;
    int32_t LastVisibleLines = 0;  // visible line count at the end of the last paint
    int32_t LastHScrollPos = 0;
    int32_t LastLineCount = 0;
    bool CaretTokenInUpdate = false;
    bool PairTokenInUpdate = false;
    CrossLineState Cross;
    MismatchMarks Mismatch;
    GdiCache Gdi;
    OwnDamage Damage;  // what the plugin erased in an editor since that editor's last paint
    CleanCopy Clean;   // the host's pixels under the marks, to take them off without a repaint

    // The pairing's view of the settings and of the remembered caret line.
    PairSettings PairingSettings() const {
        return PairSettings{Look.DisableAutoHighlight, LineHeight, TextOriginX, LastCaretLine, Look.HighlightMiddle};
    }
    // The words the keyword table knows by the switches: English spellings, and the middle
    // words while the middle-word highlight or the mismatch marks are on.
    KeywordOptions KeywordSwitches() const {
        return KeywordOptions{Look.EnglishKeywords, Look.HighlightMiddle || Look.MismatchColor != 0};
    }
    // Rebuilds the keyword table when the switches ask for other words.
    void UpdateKeywordTable() {
        // Before Init (and after Done) there is no table; Init builds it by the switches.
        if (Analysis.Keywords.KeyWordCount == 0 || Analysis.Keywords.Options == KeywordSwitches()) return;
        BuildKeyWordTable(Analysis.Keywords, KeywordSwitches());
    }
};

}  // namespace tintmark
