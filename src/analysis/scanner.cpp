// One pass over the lowered text of a range of lines: comments, string literals and
// continuation lines are passed over; words are looked up; brackets are recorded.
#include "analysis/scanner.h"

#include <algorithm>
#include <array>

#include "text/cp1251.h"

namespace tintmark {

namespace {

struct CharSets {
    std::array<bool, 256> start{};
    std::array<bool, 256> word{};
    CharSets() {
        for (int c = 0; c < 256; ++c) {
            const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0xC0;
            word[static_cast<size_t>(c)] = letter || (c >= '0' && c <= '9');
            start[static_cast<size_t>(c)] = letter || c == '(' || c == ')';
        }
    }
};
const CharSets kSets;

bool InStart(char c) { return kSets.start[static_cast<unsigned char>(c)]; }
bool InWord(char c) { return kSets.word[static_cast<unsigned char>(c)]; }

class Walker {
public:
    Walker(int32_t first, const KeywordTable& table, TKeyWordsMap& map) : first_(first), table_(table), map_(map) {}

    void Run(const char* t, size_t n) {
        size_t p = 0;
        while (p < n) {
            char c = t[p];
            if (c == '\n') {
                ++relLine_;
                col_ = 0;
                wordIndex_ = 0;
                ++p;
                continue;
            }
            if (c == '/' && p + 1 < n && t[p + 1] == '/') {
                while (p < n && t[p] != '\r') ++p;  // a comment: columns are not counted
                c = p < n ? t[p] : '\0';
            }
            if (c == '"' || c == '|') {
                ++p;
                ++col_;
                while (p < n && t[p] != '"' && t[p] != '\r') {
                    ++p;
                    ++col_;
                }
                c = p < n ? t[p] : '\0';
            }
            if (p < n && InStart(c)) {
                const int32_t start = col_;
                if (c == '(' || c == ')') {
                    const uint8_t kind = c == '(' ? kOpenBracket : kCloseBracket;
                    Append(kind, KindDirection(kind), KindPartner1(kind), KindPartner2(kind), start, start);
                    col_ = start + 1;
                    ++p;
                    continue;
                }
                size_t end = p;
                while (end < n && InWord(t[end])) ++end;
                const int32_t len = static_cast<int32_t>(end - p);
                Word(std::string_view(t + p, end - p), start, start + len - 1);
                col_ = start + len;
                p = end;
                continue;
            }
            if (p < n) {
                ++p;
                ++col_;
            }
        }
    }

private:
    void Word(std::string_view word, int32_t startCol, int32_t endCol) {
        if (!InKeyWordList(table_, word)) {
            if (expectName_) {
                TKeyWordPos& header = map_[map_.Count() - 1];
                header.Name.assign(word.data(), word.size());
                header.NameOnSameLine = first_ + relLine_ == header.Line;
                expectName_ = false;
            }
        } else if (const int index = LookUpKeyWord(table_, word); index >= 0) {
            const TKeyWord& k = table_.KeyWords[static_cast<size_t>(index)];
            Append(k.Kind, k.Direction, k.Partner1, k.Partner2, startCol, endCol);
        }
        ++wordIndex_;
    }

    void Append(uint8_t kind, uint8_t direction, uint8_t p1, uint8_t p2, int32_t startCol, int32_t endCol) {
        const int32_t index = map_.Count();
        TKeyWordPos& e = map_.Append();
        e.Line = first_ + relLine_;
        e.StartCol = startCol;
        e.EndCol = endCol;
        e.Kind = kind;
        e.Direction = direction;
        e.Partner1 = p1;
        e.Partner2 = p2;
        e.Name.clear();  // keeps the slot's storage
        e.Forward = false;
        e.WordIndex = wordIndex_;
        e.NameOnSameLine = false;
        expectName_ = false;
        if (kind == kProcedure || kind == kFunction) {
            expectName_ = true;
            lastHeader_ = index;
        }
        if (kind == kForward && lastHeader_ >= 0) map_[lastHeader_].Forward = true;
    }

    int32_t first_;
    const KeywordTable& table_;
    TKeyWordsMap& map_;
    int32_t relLine_ = 0;
    int32_t col_ = 0;
    int32_t wordIndex_ = 0;
    bool expectName_ = false;
    int32_t lastHeader_ = -1;
};

}  // namespace

void ScanText(const char* text, size_t length, int32_t first, const KeywordTable& table, TKeyWordsMap& map) {
    map.Reset();
    Walker(first, table, map).Run(text, length);
}

void ScanLines(TextDocument& doc, int32_t first, int32_t count, const KeywordTable& table, TKeyWordsMap& map,
               std::string& buffer) {
    map.Reset();
    first = std::max(first, 0);
    int32_t last = first + count - 1;
    last = std::max(std::min(last, doc.LineCount() - 1), 0);
    doc.RangeTextInto(first, 0, last, doc.LineLength(last), buffer);
    LowerInPlace1251(buffer.data(), buffer.size());
    ScanText(buffer.data(), buffer.size(), first, table, map);
}

}  // namespace tintmark
