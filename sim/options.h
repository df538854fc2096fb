// The configurator's option values in the registry (HKEY_CURRENT_USER), which the simulator
// writes before loading plugins and which its editor reads.
#pragma once

#include <windows.h>

#include <string>

namespace cfgsim {

// "Fonts\BLang", "Modules\SCBack", ... below Software\1C\1Cv7\7.7\Options.
bool SetOption(const std::wstring& name, const std::wstring& value);
bool DeleteOption(const std::wstring& name);
// The values the simulator writes unless told otherwise.
void WriteDefaultOptions();

// The editor's options; where a value is missing or unusable, the defaults below stand.
struct EditorOptions {
    std::wstring fontName = L"Courier";
    int fontHeight = -13;
    bool bold = false, italic = false;
    int tabSize = 4;
    COLORREF background = RGB(255, 255, 255);
    COLORREF keyword = 255;
    COLORREF oper = 255;
    COLORREF bookmark = 0xFF0000;
};
EditorOptions ReadEditorOptions();

}  // namespace cfgsim
