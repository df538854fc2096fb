// The simulator's script language: one command a line (see docs/cfgsim.md).
#pragma once

#include <string>

#include "pump.h"

namespace cfgsim {

// Runs a script file; returns the process exit code: 0 when every command succeeded, 1
// when one failed (the message names the script line), 2 when the script cannot be read.
int RunScript(const std::wstring& path);

}  // namespace cfgsim
