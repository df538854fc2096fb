// The simulator's script language: one command a line (see docs/cfgsim.md).
#pragma once

#include <string>

namespace cfgsim {

// Runs a script file; returns the process exit code (0 when every command succeeded).
int RunScript(const std::wstring& path);

// Processes the pending window messages, so that paints and posted messages happen.
void Pump();

}  // namespace cfgsim
