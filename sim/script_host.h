// Running VBScript and JScript files with the simulator's plugins reachable by name.
#pragma once

#include <string>

namespace cfgsim {

// Runs source (the language follows the extension of path: .js JScript, else VBScript).
// On failure error says where and why.
bool RunScriptFile(const std::wstring& path, const std::wstring& source, std::wstring& error);

}  // namespace cfgsim
