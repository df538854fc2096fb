// Finding block keywords and brackets without a partner.
#include "analysis/mismatch.h"

#include <algorithm>
#include <array>

#include "analysis/block_group.h"
#include "analysis/line_range.h"
#include "analysis/scanner.h"
#include "text/cp1251.h"

namespace tintmark {

namespace {

// Block families matched within a method: Если, loops, Попытка, brackets.
enum Family : uint8_t { kIfFamily, kLoopFamily, kTryFamily, kBracketFamily, kFamilies, kNoFamily = 255 };

Family FamilyOf(uint8_t kind) {
    switch (kind) {
        case kIf: case kEndIf: case kElseIf: case kElse: return kIfFamily;
        case kFor: case kWhile: case kEndDo: return kLoopFamily;
        case kTry: case kEndTry: case kExcept: return kTryFamily;
        case kOpenBracket: case kCloseBracket: return kBracketFamily;
        default: return kNoFamily;
    }
}

// Whether a method header or end has its partner by the pairing's rules.
bool MethodTokenMatched(const TKeyWordsMap& map, int32_t i) {
    const TKeyWordPos& e = map[i];
    if (e.Kind == kProcedure || e.Kind == kFunction) {
        for (int32_t j = i + 1; j < map.Count(); ++j) {
            const uint8_t k = map[j].Kind;
            if (k == kProcedure || k == kFunction || k == kForward) return false;
            if (k == e.Kind + 1) return true;
        }
        return false;
    }
    for (int32_t j = i - 1; j >= 0; --j) {
        const uint8_t k = map[j].Kind;
        if (k == kEndProcedure || k == kEndFunction || k == kForward) return false;
        if (k == e.Kind - 1) return true;
    }
    return false;
}

}  // namespace

std::vector<int32_t> FindMismatches(const TKeyWordsMap& map) {
    const int32_t n = map.Count();
    std::vector<bool> bad(static_cast<size_t>(n), false);
    std::array<std::vector<int32_t>, kFamilies> open;  // unclosed openers of the method
    auto endOfMethod = [&] {
        for (auto& stack : open) {
            for (int32_t i : stack) bad[static_cast<size_t>(i)] = true;
            stack.clear();
        }
    };
    for (int32_t i = 0; i < n; ++i) {
        const TKeyWordPos& e = map[i];
        if (IsMethodBoundary(e.Kind)) {
            endOfMethod();
            if (e.Kind != kForward && !e.Forward && !MethodTokenMatched(map, i)) bad[static_cast<size_t>(i)] = true;
            continue;
        }
        const Family f = FamilyOf(e.Kind);
        if (f == kNoFamily) continue;
        std::vector<int32_t>& stack = open[f];
        if (IsMiddleKind(e.Kind)) {
            if (stack.empty()) bad[static_cast<size_t>(i)] = true;
        } else if (e.Direction == kOpener) {
            stack.push_back(i);
        } else if (e.Direction == kCloser) {
            if (stack.empty())
                bad[static_cast<size_t>(i)] = true;
            else
                stack.pop_back();
        }
    }
    endOfMethod();
    std::vector<int32_t> out;
    for (int32_t i = 0; i < n; ++i)
        if (bad[static_cast<size_t>(i)]) out.push_back(i);
    return out;
}

namespace {

std::vector<BlockMismatch> Collect(const TKeyWordsMap& map, int32_t first, int32_t last) {
    std::vector<BlockMismatch> out;
    for (int32_t i : FindMismatches(map)) {
        const TKeyWordPos& e = map[i];
        if (e.Line >= first && e.Line <= last) out.push_back(BlockMismatch{e.Line, e.StartCol, e.EndCol, e.Kind});
    }
    return out;
}

constexpr int32_t kStep = 50;

// An end's search stops at the previous end or "далее", a header's at the next header or
// "далее"; every block search stops at any of them.
bool StopsEndSearch(uint8_t k) { return k == kEndProcedure || k == kEndFunction || k == kForward; }
bool StopsHeaderSearch(uint8_t k) { return k == kProcedure || k == kFunction || k == kForward; }

bool HasBoundary(const TKeyWordsMap& map, int32_t& line, bool lastOne) {
    bool found = false;
    for (int32_t i = 0; i < map.Count(); ++i)
        if (lastOne ? StopsEndSearch(map[i].Kind) : StopsHeaderSearch(map[i].Kind)) {
            line = map[i].Line;
            found = true;
            if (!lastOne) break;
        }
    return found;
}

}  // namespace

std::vector<BlockMismatch> CheckDocumentBlocks(TextDocument& doc, const KeywordTable& table, TKeyWordsMap& map,
                                               std::string& buffer) {
    ScanLines(doc, 0, doc.LineCount(), table, map, buffer);
    return Collect(map, 0, doc.LineCount() - 1);
}

std::vector<BlockMismatch> MismatchesInLines(TextDocument& doc, const KeywordTable& table, int32_t first,
                                             int32_t last, TKeyWordsMap& map, std::string& buffer) {
    const int32_t lineCount = doc.LineCount();
    first = std::max(first, 0);
    last = std::min(last, lineCount - 1);
    if (first > last) return {};
    // The last method end above the lines and the first method header below them: every
    // method that reaches into the lines, and every search from a header or an end in them,
    // lies between the two.
    // The steps double (50, 100, 200, ... lines), so a long method costs a few reads of the
    // host's text rather than one per 50 lines.
    int32_t from = 0;
    int32_t step = kStep;
    for (int32_t end = first; end > 0; step = step < (1 << 24) ? step * 2 : step) {
        const int32_t start = std::max(end - step, 0);
        ScanLines(doc, start, end - start, table, map, buffer);
        if (int32_t line = 0; HasBoundary(map, line, true)) {
            from = line;
            break;
        }
        end = start;
    }
    int32_t to = lineCount - 1;
    step = kStep;
    for (int64_t start = int64_t{last} + 1; start < lineCount;
         start += step, step = step < (1 << 24) ? step * 2 : step) {
        ScanLines(doc, static_cast<int32_t>(start), step, table, map, buffer);
        if (int32_t line = 0; HasBoundary(map, line, false)) {
            to = line;
            break;
        }
    }
    ScanLines(doc, from, SaturatedAdd(to - from, 1), table, map, buffer);
    return Collect(map, first, last);
}

std::string MissingPartnerText(uint8_t kind, bool english) {
    const char* ru = "";
    const char* en = "";
    switch (kind) {
        case kProcedure: ru = "КонецПроцедуры"; en = "EndProcedure"; break;
        case kEndProcedure: ru = "Процедура"; en = "Procedure"; break;
        case kFunction: ru = "КонецФункции"; en = "EndFunction"; break;
        case kEndFunction: ru = "Функция"; en = "Function"; break;
        case kIf: ru = "КонецЕсли"; en = "EndIf"; break;
        case kEndIf: case kElseIf: case kElse: ru = "Если"; en = "If"; break;
        case kFor: case kWhile: ru = "КонецЦикла"; en = "EndDo"; break;
        case kEndDo: ru = "Для или Пока"; en = "For or While"; break;
        case kTry: ru = "КонецПопытки"; en = "EndTry"; break;
        case kEndTry: case kExcept: ru = "Попытка"; en = "Try"; break;
        case kOpenBracket: ru = en = ")"; break;
        case kCloseBracket: ru = en = "("; break;
        default: break;
    }
    return Utf8To1251(english ? en : ru);
}

std::string MismatchMessage(const BlockMismatch& m, std::string_view word) {
    const bool english = !word.empty() && static_cast<unsigned char>(word[0]) < 0x80 &&
                         m.Kind != kOpenBracket && m.Kind != kCloseBracket;
    return Utf8To1251("Строка ") + std::to_string(int64_t{m.Line} + 1) + ": " + std::string(word) +
           Utf8To1251(" — нет ") + MissingPartnerText(m.Kind, english);
}

std::string MismatchSummary(size_t count) {
    if (count == 0) return Utf8To1251("Проверка блоков: несоответствий нет");
    return Utf8To1251("Проверка блоков: несоответствий ") + std::to_string(count);
}

}  // namespace tintmark
