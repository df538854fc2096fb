// The modules of the shared corpus as Windows-1251 text, each read in the encoding its
// manifest names.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "../corpus_module.h"
#include "text/cp1251.h"

// (file name, text); empty when the corpus is not there.
inline std::vector<std::pair<std::string, std::string>> CorpusModules() {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& path : tintmark::test::CorpusFiles(TINTMARK_CORPUS_DIR))
        out.emplace_back(path.filename().u8string(), tintmark::Encode1251(tintmark::test::ReadCorpusModule(path)));
    return out;
}
