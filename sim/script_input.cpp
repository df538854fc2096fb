// Script commands of input: the mouse and the keyboard as a person uses them (through the
// system's input queue), and the scroll bars.
#include <map>

#include "editor_window.h"
#include "input.h"
#include "script_commands.h"

namespace cfgsim {

namespace {

HWND Editor() { return Active()->editor; }

POINT ClientPoint(const Words& w) { return POINT{Number(w[1]), Number(w[2])}; }

// A press must land in the editor's client area: anywhere else it would hit a scroll bar or
// another window (a line below the view, say) and the script would go on against a state it
// did not mean.
POINT Inside(POINT p) {
    RECT rc{};
    GetClientRect(Editor(), &rc);
    if (!PtInRect(&rc, p))
        throw ScriptError{L"the point " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y) +
                          L" is outside the editor's client area (is the line in view?)"};
    return p;
}

// The client point of a text position of the active editor.
POINT TextPoint(const std::wstring& line, const std::wstring& col) {
    return EditorPointOf(Editor(), Number(line), Number(col));
}

}  // namespace

UINT KeyByName(const std::wstring& name) {
    static const std::map<std::wstring, UINT> keys = {
        {L"Left", VK_LEFT},     {L"Right", VK_RIGHT},   {L"Up", VK_UP},          {L"Down", VK_DOWN},
        {L"Home", VK_HOME},     {L"End", VK_END},       {L"PgUp", VK_PRIOR},     {L"PgDn", VK_NEXT},
        {L"Enter", VK_RETURN},  {L"Backspace", VK_BACK}, {L"Delete", VK_DELETE}, {L"Insert", VK_INSERT},
        {L"Tab", VK_TAB},       {L"Escape", VK_ESCAPE}, {L"Space", VK_SPACE},    {L"Shift", VK_SHIFT},
        {L"Ctrl", VK_CONTROL},  {L"Alt", VK_MENU}};
    const auto it = keys.find(name);
    if (it != keys.end()) return it->second;
    if (name.size() >= 2 && name.size() <= 3 && name[0] == L'F') {
        const long n = Number(name.substr(1));
        if (n >= 1 && n <= 12) return static_cast<UINT>(VK_F1 + n - 1);
    }
    // A letter or a digit: its key.
    if (name.size() == 1 && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'0' && name[0] <= L'9')))
        return name[0];
    throw ScriptError{L"unknown key " + name};
}

void AddInputCommands(CommandTable& t) {
    t[L"press"] = {[](ScriptContext&, const Words& w) { MousePress(Editor(), Inside(ClientPoint(w)), ModifiersOf(w)); }, 3};
    t[L"move"] = {[](ScriptContext&, const Words& w) { MouseMove(Editor(), ClientPoint(w)); }, 3};
    t[L"release"] = {[](ScriptContext&, const Words& w) { MouseRelease(Editor(), ClientPoint(w), ModifiersOf(w)); }, 3};
    t[L"click"] = {[](ScriptContext&, const Words& w) { MouseClick(Editor(), Inside(ClientPoint(w)), ModifiersOf(w)); }, 3};
    t[L"clickat"] = {[](ScriptContext&, const Words& w) { MouseClick(Editor(), Inside(TextPoint(w[1], w[2])), ModifiersOf(w)); }, 3};
    t[L"gutter"] = {[](ScriptContext&, const Words& w) {
                        POINT p = TextPoint(w[1], L"0");
                        p.x = 4;
                        MouseClick(Editor(), Inside(p), ModifiersOf(w));
                    }, 2};
    t[L"drag"] = {[](ScriptContext&, const Words& w) {
                      HWND e = Editor();
                      const POINT a = Inside(TextPoint(w[1], w[2]));
                      MousePress(e, a, {});
                      const POINT b = TextPoint(w[3], w[4]);  // after the press, which may scroll
                      MouseMove(e, b);
                      MouseRelease(e, b, {});
                  }, 5};
    t[L"wheel"] = {[](ScriptContext&, const Words& w) { MouseWheel(Editor(), static_cast<int>(Number(w[1]))); }, 2};
    t[L"key"] = {[](ScriptContext&, const Words& w) { PressKey(KeyByName(w[1]), ModifiersOf(w)); }, 2};
    t[L"type"] = {[](ScriptContext&, const Words& w) { TypeText(w[1]); }, 2};
    t[L"scroll"] = {[](ScriptContext&, const Words& w) {
                        SendMessageW(Editor(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, Number(w[1])), 0);
                    }, 2};
    t[L"hscroll"] = {[](ScriptContext&, const Words& w) {
                         SendMessageW(Editor(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, Number(w[1])), 0);
                     }, 2};
}

}  // namespace cfgsim
