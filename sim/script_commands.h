// The script language's command table and what its command groups share.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "input.h"
#include "simulator.h"

namespace cfgsim {

// A command's failure: the runner reports it with the script line.
struct ScriptError {
    std::wstring message;
};

using Words = std::vector<std::wstring>;

// What the commands of one script run share.
struct ScriptContext {
    std::wstring dir;  // the script's folder, ending in a separator (or empty)
    LONG rememberedRefs = -1;
    // A file name relative to the script's folder.
    std::wstring Path(const std::wstring& name) const;
};

struct Command {
    std::function<void(ScriptContext&, const Words&)> run;
    size_t minWords = 1;  // the command word included
    bool pumpAfter = true;  // let pending messages and paints happen afterwards
};
using CommandTable = std::map<std::wstring, Command>;

// Thrown by the quit command when the plugins agree: the script ends successfully.
struct ScriptQuit {};

// Calls a plugin's method through IDispatch; only a failure is logged.
void CallPluginMethod(const std::wstring& plugin, const std::wstring& method);

void AddDocumentCommands(CommandTable& table);
void AddPluginCommands(CommandTable& table);
void AddInputCommands(CommandTable& table);
void AddViewCommands(CommandTable& table);
void AddExpectations(CommandTable& table);
void AddPixelExpectations(CommandTable& table);

// ---- helpers ----
long Number(const std::wstring& s);
bool Has(const Words& w, const wchar_t* flag);
// "on" or "off".
bool OnOff(const std::wstring& s);
Modifiers ModifiersOf(const Words& w);
// The virtual key of a key name (Left, PgDn, Enter, F5, A, 7, ...).
UINT KeyByName(const std::wstring& name);
std::string ReadFile(const std::wstring& path);
void WriteFile(const std::wstring& path, const std::string& bytes);
// The active document that has an editor.
Document* Active();
Document* Named(const std::wstring& name);
// Throws the failure of an expectation.
[[noreturn]] void Fail(const std::wstring& what);
std::wstring Hex(uint32_t rgb);
// A colour as 0xRRGGBB: six hex digits (RRGGBB, #RRGGBB) or any number (0xFF00FF).
uint32_t ColourOf(const std::wstring& s);

}  // namespace cfgsim
