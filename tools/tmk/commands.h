// Subcommands of tmk, the command-line inspector of the portable core.
#pragma once

#include <string>
#include <vector>

namespace tintmark::tmk {

// Bad usage: the message goes to stderr and tmk exits with status 2.
struct UsageError {
    std::string message;
};

// A file that cannot be read: a one-line message on stderr, status 2.
struct FileError {
    std::string message;
};

using Args = std::vector<std::string>;

int RunRegex(const Args& args);
// scan, token, pair, jump, methods, header, check.
int RunAnalysis(const std::string& command, const Args& args);

}  // namespace tintmark::tmk
