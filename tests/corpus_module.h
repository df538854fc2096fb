// A module of the shared corpus as the text it is: MANIFEST.tsv beside the modules names each
// file's encoding (Windows-1251 or UTF-8).
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "text_buffer.h"

namespace tintmark::test {

// Whether the manifest beside a module lists it as UTF-8.
inline bool CorpusModuleIsUtf8(const std::filesystem::path& file) {
    std::ifstream manifest(file.parent_path() / "MANIFEST.tsv");
    const std::string listed = file.filename().u8string();
    for (std::string line; std::getline(manifest, line);) {
        std::istringstream fields(line);
        std::string name, encoding;
        std::getline(fields, name, '\t');
        std::getline(fields, encoding, '\t');
        if (name == listed) return encoding == "utf-8";
    }
    return false;
}

// The module's text; empty when the file cannot be read.
inline std::u16string ReadCorpusModule(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    return cfgsim::DecodeModule(bytes, CorpusModuleIsUtf8(file));
}

// The modules (*.txt) of the corpus folder, in name order; empty when it is not there.
inline std::vector<std::filesystem::path> CorpusFiles(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.path().extension() == ".txt") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace tintmark::test
