// Module texts for benchmarks: the largest module of the shared corpus and generated ones.
#pragma once

#include <string>
#include <vector>

namespace tintmark::bench {

// Lines of a Windows-1251 file (split at CR LF or LF); empty when it cannot be read.
std::vector<std::string> ReadModuleLines(const std::string& path);

// The largest module of the corpus folder (the file name in name), or nothing.
std::vector<std::string> LargestCorpusModule(std::string* name = nullptr);

// A module of about lineCount lines in the language's style: procedures and functions with
// nested conditions, loops, tries, calls with brackets, comments and string literals.
std::vector<std::string> GenerateModule(int lineCount);

}  // namespace tintmark::bench
