// One pass over the lowered text of a range of lines: comments, string literals and
// continuation lines are passed over; words are looked up; brackets are recorded.
#include "analysis/scanner.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "analysis/line_range.h"
#include "text/cp1251.h"

namespace tintmark {

namespace {

// One class per byte, so that the walk tests each character once.
enum CharClass : uint8_t { kOther = 0, kLineFeed, kSlash, kQuote, kWordStart, kBracket, kCarriageReturn };

struct CharSets {
    std::array<uint8_t, 256> cls{};
    std::array<uint8_t, 256> lowerWord{};  // the lowered character for word characters, else 0
    CharSets() {
        for (int c = 0; c < 256; ++c) {
            // Russian letters are C0..FF plus Ё (A8) and ё (B8).
            const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0xC0 ||
                                c == 0xA8 || c == 0xB8;
            const bool word = letter || (c >= '0' && c <= '9');
            lowerWord[static_cast<size_t>(c)] = word ? Lower1251(static_cast<unsigned char>(c)) : 0;
            cls[static_cast<size_t>(c)] = letter ? kWordStart : kOther;
        }
        cls['\n'] = kLineFeed;
        cls['\r'] = kCarriageReturn;
        cls['/'] = kSlash;
        cls['"'] = kQuote;
        cls['|'] = kQuote;
        cls['('] = kBracket;
        cls[')'] = kBracket;
    }
};
const CharSets kSets;


uint8_t ClassOf(char c) { return kSets.cls[static_cast<unsigned char>(c)]; }

class Walker {
public:
    Walker(int32_t first, const KeywordTable& table, TKeyWordsMap& map)
        : first_(first), table_(table), map_(map) {}

    void Run(char* t, size_t n) {
        size_t p = 0;
        while (p < n) {
            uint8_t k = ClassOf(t[p]);
            if (k == kLineFeed) {
                ++relLine_;
                col_ = 0;
                wordIndex_ = 0;
                ++p;
                continue;
            }
            if (k == kOther) {  // blanks, digits, operators: passed over in a run
                const size_t from = p;
                do ++p;
                while (p < n && ClassOf(t[p]) == kOther);
                col_ += static_cast<int32_t>(p - from);
                continue;
            }
            if (k == kSlash && p + 1 < n && t[p + 1] == '/') {
                // A comment: columns are not counted up to its CR.
                const void* cr = std::memchr(t + p, '\r', n - p);
                if (!cr) break;
                p = static_cast<size_t>(static_cast<const char*>(cr) - t);
                k = kCarriageReturn;
            }
            if (k == kQuote) {
                const size_t from = p++;
                while (p < n && t[p] != '"' && t[p] != '\r') ++p;
                col_ += static_cast<int32_t>(p - from);
                if (p >= n) break;
                k = ClassOf(t[p]);  // the closing quote or the CR: stepped over below
            } else if (k == kWordStart || k == kBracket) {
                const int32_t start = col_;
                if (k == kBracket) {
                    const uint8_t kind = t[p] == '(' ? kOpenBracket : kCloseBracket;
                    Append(kind, KindDirection(kind), KindPartner1(kind), KindPartner2(kind), start, start);
                    col_ = start + 1;
                    ++p;
                    continue;
                }
                // Words are lowered as they are read: comments and literals need no lowering.
                size_t end = p;
                for (uint8_t l; end < n && (l = kSets.lowerWord[static_cast<unsigned char>(t[end])]) != 0; ++end)
                    t[end] = static_cast<char>(l);
                const int32_t len = static_cast<int32_t>(end - p);
                Word(std::string_view(t + p, end - p), start, start + len - 1);
                col_ = start + len;
                p = end;
                continue;
            }
            ++p;  // the character a comment or a literal stopped at, a lone "/", a CR
            ++col_;
        }
    }

private:
    void Word(std::string_view word, int32_t startCol, int32_t endCol) {
        if (!MayBeKeyword(table_, word) || !InKeyWordList(table_, word)) {
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

void ScanText(char* text, size_t length, int32_t first, const KeywordTable& table, TKeyWordsMap& map) {
    map.Reset();
    Walker(first, table, map).Run(text, length);
}

void ScanLines(TextDocument& doc, int32_t first, int32_t count, const KeywordTable& table, TKeyWordsMap& map,
               std::string& buffer) {
    map.Reset();
    first = std::max(first, 0);
    const int32_t last = std::max(std::min(LastLineOf(first, count), doc.LineCount() - 1), 0);
    doc.RangeTextInto(first, 0, last, doc.LineLength(last), buffer);
    ScanText(buffer.data(), buffer.size(), first, table, map);
}

bool InLineComment(std::string_view line, int32_t c) {
    const size_t n = static_cast<size_t>(std::clamp<int32_t>(c, 0, static_cast<int32_t>(line.size())));
    size_t p = 0;
    while (p < n) {
        const char ch = line[p];
        if (ch == '"' || ch == '|') {
            // A literal runs to its closing quote (a doubled quote closes one and opens the next).
            ++p;
            while (p < line.size() && line[p] != '"' && line[p] != '\r') ++p;
            ++p;
        } else if (ch == '/' && p + 1 < n && line[p + 1] == '/') {
            return true;
        } else {
            ++p;
        }
    }
    return false;
}

}  // namespace tintmark
