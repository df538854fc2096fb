// Writes a generated module of the language's style (Windows-1251, CR LF) to standard output:
// the benchmark input of the editor benchmarks in the simulator.
//   make_module LINES
#include <cstdio>
#include <cstdlib>

#include "module_source.h"

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 30000;
    if (lines < 1) {
        std::fprintf(stderr, "usage: make_module LINES\n");
        return 2;
    }
    for (const std::string& line : tintmark::bench::GenerateModule(lines)) std::printf("%s\r\n", line.c_str());
    return 0;
}
