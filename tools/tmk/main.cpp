// tmk: command-line inspector of Tintmark's portable core.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {
const char kUsage[] =
    "usage: tmk regex [--modifiers MODS] [--hex] [--dump] PATTERN [SUBJECT]\n";
}

int main(int argc, char** argv) {
    using namespace tintmark::tmk;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const Args args(argv + 2, argv + argc);
    try {
        if (std::strcmp(argv[1], "regex") == 0) return RunRegex(args);
        throw UsageError{std::string("unknown command: ") + argv[1]};
    } catch (const UsageError& e) {
        std::fprintf(stderr, "tmk: %s\n%s", e.message.c_str(), kUsage);
        return 2;
    }
}
