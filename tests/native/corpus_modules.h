// The modules of the shared corpus as Windows-1251 text, each read in the encoding its
// manifest names.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "text/cp1251.h"

// (file name, text); empty when the corpus is not there.
inline std::vector<std::pair<std::string, std::string>> CorpusModules() {
    std::vector<std::pair<std::string, std::string>> out;
    const std::filesystem::path dir(TINTMARK_CORPUS_DIR);
    std::ifstream manifest(dir / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // the column names
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string name, encoding;
        std::getline(fields, name, '\t');
        std::getline(fields, encoding, '\t');
        std::ifstream in(dir / std::filesystem::u8path(name), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        out.emplace_back(name, encoding == "utf-8" ? tintmark::Utf8To1251(text) : text);
    }
    return out;
}
