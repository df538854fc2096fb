// tmk: command-line inspector of Tintmark's portable core.
#include <cstdio>
#include <cstring>

#include "commands.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {
const char kUsage[] =
    "usage: tmk regex [--modifiers MODS] [--hex] [--dump] PATTERN [SUBJECT]\n"
    "       tmk scan [--utf8] [--english] [--middle] [--first N] [--count N] FILE\n"
    "       tmk token TEXT COL\n"
    "       tmk pair [--utf8] [--english] [--middle] [--always] [--first F] [--visible V] FILE LINE COL\n"
    "       tmk jump [--utf8] [--english] [--middle] --mode M FILE LINE COL\n"
    "       tmk methods [--utf8] [--english] [--line-start] FILE\n"
    "       tmk header [--utf8] [--english] FILE LINE\n"
    "       tmk check [--utf8] [--english] FILE\n";
}

int main(int argc, char** argv) {
    using namespace tintmark::tmk;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
#ifdef _WIN32
    // Arguments are taken as UTF-8 on every platform: on Windows from the wide command line.
    Args all;
    int wargc = 0;
    if (wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc)) {
        for (int i = 0; i < wargc; ++i) {
            const int n = WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, nullptr, 0, nullptr, nullptr);
            std::string arg(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
            if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, arg.data(), n, nullptr, nullptr);
            all.push_back(arg);
        }
        LocalFree(wargv);
    }
    const Args args(all.size() > 2 ? all.begin() + 2 : all.end(), all.end());
#else
    const Args args(argv + 2, argv + argc);
#endif
    try {
        if (std::strcmp(argv[1], "regex") == 0) return RunRegex(args);
        return RunAnalysis(argv[1], args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "tmk: %s\n%s", e.message.c_str(), kUsage);
        return 2;
    } catch (const FileError& e) {
        std::fprintf(stderr, "tmk: %s\n", e.message.c_str());
        return 2;
    }
}
