// Per-window records hung on the host's windows as hidden child windows of our own classes.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/fold_history.h"
#include "analysis/folding.h"
#include "win/handles.h"
#include "host_h.h"

namespace tintmark {

// The fold-state file a window wrote for one folded method, as it was when written.
struct StateFileClaim {
    std::wstring path;
    ULONGLONG size = 0;
    FILETIME written{};
};

// State of one configurator window (one open document).
struct TCfgWndData {
    ComPtr<ITextDoc> Document;
    // Folded methods by name (case-insensitive, no duplicates): the lines folding took out,
    // kept as the host's own UTF-16 text.
    FoldedBlockMap FoldedBlocks;
    // The state files this window wrote for its folded methods (none for a method whose file
    // could not be written): only these are deleted when the methods are unfolded.
    std::map<std::string, StateFileClaim, NameLessCi> StateFiles;
    // The texts this window's folds left, with their bodies, until the window closes: when the
    // editor's undo or redo makes the document one of them again, its bodies are kept again.
    FoldHistory FoldedTexts;
    // Text was typed in the window since its document last came from folding, unfolding or the
    // editor's undo or redo: a remembered folded text reached by typing (a body deleted on
    // purpose) is then not taken for a fold given back.
    bool TypedSinceFoldText = false;
    HWND EditorHandle = nullptr;
    HWND CfgWindowHandle = nullptr;
    HWND Handle = nullptr;  // the hidden "TCfgWndData" window

    bool HasFoldedBlocks() const { return !FoldedBlocks.empty(); }
};

// Marker inside one editor window and link to its configurator window's record.
struct TEditorData {
    TCfgWndData* CfgWndData = nullptr;
    HWND Handle = nullptr;  // the hidden "TEditorData" window
};

// Creates the record as a hidden child of cfgWindow; the record lives until that window goes.
TCfgWndData* CreateCfgWndData(HWND cfgWindow);
// Creates the marker as a hidden child of editor, linked to owner.
TEditorData* CreateEditorData(HWND editor, TCfgWndData* owner);

// The record among cfgWindow's direct children, or null.
TCfgWndData* FindCfgWndData(HWND cfgWindow);
// The marker of an editor: its first child's user data when that child is a "TEditorData"
// window; null otherwise (the editor has no state).
TEditorData* FindEditorData(HWND editor);
// The configurator window's record reached from an editor, or null.
TCfgWndData* CfgWndDataOfEditor(HWND editor);

// Every configurator window record of this thread, in window order.
std::vector<TCfgWndData*> AllCfgWndData();

// Removes the record window classes; called when the module is about to unload (no record
// window exists then), so that a later load registers them with its own procedure.
void UnregisterRecordClasses();

extern const wchar_t kCfgWndDataClass[];
extern const wchar_t kEditorDataClass[];

}  // namespace tintmark
