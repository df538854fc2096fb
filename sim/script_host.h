// Running VBScript and JScript files as the configurator's script host does, with the
// simulator's plugins reachable by name, and running a loaded script's procedures as macros.
#pragma once

#include <string>
#include <vector>

namespace cfgsim {

// Script file bytes as text: UTF-8 or UTF-16 after a byte order mark, else Windows-1251 (the
// configurator's code page).
std::wstring DecodeScript(const std::string& bytes);

// Runs source (the language follows the extension of path: .js JScript, else VBScript) and
// closes it. On failure error says where and why.
bool RunScriptFile(const std::wstring& path, const std::wstring& source, std::wstring& error);

// Runs source and keeps it loaded under its file name without folder and extension; loading
// a script of the same name again replaces it.
bool LoadScriptFile(const std::wstring& path, const std::wstring& source, std::wstring& error);

// The procedures of a loaded script that the host offers as macros: those without parameters.
bool ListMacros(const std::wstring& scriptName, std::vector<std::wstring>& macros, std::wstring& error);

// Calls a procedure of a loaded script by name, as the host's macro list does.
bool RunMacro(const std::wstring& scriptName, const std::wstring& procedure, std::wstring& error);

// Closes every loaded script (before the plugins they reach go).
void UnloadScripts();

}  // namespace cfgsim
