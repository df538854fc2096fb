// Building and searching the keyword table.
#include "analysis/keywords.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "text/cp1251.h"

namespace tintmark {

uint8_t KindDirection(uint8_t kind) {
    switch (kind) {
        case 2: case 4: case 6: case 9: case 11: case 17: return kCloser;
        case 1: case 3: case 5: case 7: case 8: case 10: case 16: return kOpener;
        default: return kNeutral;
    }
}

uint8_t KindPartner1(uint8_t kind) {
    switch (kind) {
        case 1: return 2;
        case 2: return 1;
        case 3: return 4;
        case 4: return 3;
        case 5: return 6;
        case 6: return 5;
        case 7: case 8: return 9;
        case 9: return 7;
        case 10: return 11;
        case 11: return 10;
        case 16: return 17;
        case 17: return 16;
        default: return 0;
    }
}

uint8_t KindPartner2(uint8_t kind) { return kind == 9 ? 8 : KindPartner1(kind); }

bool IsMiddleKind(uint8_t kind) { return kind == kElseIf || kind == kElse || kind == kExcept; }

namespace {

// A middle word names the opener and the closer of its block as its partners (it stays
// neutral, so no pairing search takes it for either).
uint8_t EntryPartner1(uint8_t kind) {
    if (kind == kElseIf || kind == kElse) return kIf;
    if (kind == kExcept) return kTry;
    return KindPartner1(kind);
}
uint8_t EntryPartner2(uint8_t kind) {
    if (kind == kElseIf || kind == kElse) return kEndIf;
    if (kind == kExcept) return kEndTry;
    return KindPartner2(kind);
}

}  // namespace

void BuildKeyWordTable(KeywordTable& table, KeywordOptions options) {
    using Words = std::pair<const char*, uint8_t>;
    static const Words kWords[] = {
        {"процедура", 1}, {"конецпроцедуры", 2}, {"функция", 3}, {"конецфункции", 4},
        {"если", 5},      {"конецесли", 6},      {"для", 7},     {"пока", 8},
        {"конеццикла", 9}, {"попытка", 10},      {"конецпопытки", 11}, {"далее", 12},
    };
    static const Words kEnglish[] = {
        {"procedure", 1}, {"endprocedure", 2}, {"function", 3}, {"endfunction", 4},
        {"if", 5},        {"endif", 6},        {"for", 7},      {"while", 8},
        {"enddo", 9},     {"try", 10},         {"endtry", 11},  {"forward", 12},
    };
    static const Words kMiddle[] = {{"иначеесли", kElseIf}, {"иначе", kElse}, {"исключение", kExcept}};
    static const Words kEnglishMiddle[] = {{"elsif", kElseIf}, {"else", kElse}, {"except", kExcept}};
    std::vector<std::pair<std::string, uint8_t>> items;
    auto add = [&](const auto& words) {
        for (const auto& [word, kind] : words) items.emplace_back(Utf8To1251(word), kind);
    };
    add(kWords);
    if (options.English) add(kEnglish);
    if (options.Middle) add(kMiddle);
    if (options.English && options.Middle) add(kEnglishMiddle);
    std::sort(items.begin(), items.end(),
              [](const auto& a, const auto& b) { return CompareTextCi1251(a.first, b.first) < 0; });
    table.KeyWords.clear();
    table.KeyWordList = ",";
    table.Options = options;
    table.Shapes.fill(0);
    for (const auto& [word, kind] : items) {
        TKeyWord entry;
        entry.Kind = kind;
        entry.Direction = KindDirection(kind);
        entry.Partner1 = EntryPartner1(kind);
        entry.Partner2 = EntryPartner2(kind);
        entry.Word = word;
        table.KeyWords.push_back(entry);
        table.KeyWordList += word + ",";
        if (word.size() < 32) table.Shapes[static_cast<unsigned char>(word[0])] |= 1u << word.size();
    }
    table.KeyWordCount = static_cast<int32_t>(table.KeyWords.size());
}

int LookUpKeyWord(const KeywordTable& table, std::string_view word) {
    int low = 0, high = table.KeyWordCount - 1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        const int cmp = CompareTextCi1251(word, table.KeyWords[static_cast<size_t>(mid)].Word);
        if (cmp == 0) return mid;
        if (cmp < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return -1;
}

bool InKeyWordList(const KeywordTable& table, std::string_view word) {
    // Searching for ",word," without building it: every match of word must be framed.
    const std::string& list = table.KeyWordList;
    for (size_t at = list.find(word); at != std::string::npos; at = list.find(word, at + 1))
        if (at > 0 && list[at - 1] == ',' && at + word.size() < list.size() && list[at + word.size()] == ',')
            return true;
    return false;
}

}  // namespace tintmark
