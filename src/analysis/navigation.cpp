// The chunked partner search and the moves of the navigation commands.
#include "analysis/navigation.h"

#include <algorithm>

#include "analysis/block_group.h"
#include "analysis/line_range.h"
#include "analysis/scanner.h"
#include "analysis/token.h"

namespace tintmark {

namespace {
constexpr int32_t kChunk = 50;
}

bool FindPairPosition(Analysis& a, TextDocument& doc, PairView& view, const PairSettings& settings,
                      NavigationMode mode, PartnerPosition* partner) {
    const int32_t L = doc.SelStartLine();
    const int32_t lineCount = doc.LineCount();
    if (L < 0 || L > lineCount - 1) return false;
    const std::string s = doc.Line(L);
    const int32_t c = doc.SelStartCol();
    if (s.empty() || c < 0 || c > static_cast<int32_t>(s.size())) return false;

    const CaretToken token = TokenAtCaret(s, c);
    a.Pair.CaretTokenText = token.token;
    TokenClass cls;
    // With middle words on, a jump goes from a member of an Если or Попытка block to the next
    // one in text order (from a middle word too), and from the closer back to the opener.
    const bool onMiddle = settings.HighlightMiddle && mode == kJump && ClassifyMiddle(a.Keywords, token.token, cls);
    if (!onMiddle && !ClassifyToken(a.Keywords, token.token, cls)) return false;
    uint8_t blockOpener = 0, blockCloser = 0;
    const bool memberJump = settings.HighlightMiddle && mode == kJump &&
                            MiddleFamily(cls.Kind, blockOpener, blockCloser) && cls.Kind != blockCloser;
    MemberSearch members{blockOpener, blockCloser, onMiddle};

    const int32_t F = view.FirstVisibleLine(), V = view.VisibleLineCount();
    auto scan = [&](int32_t first, int32_t count) {
        ScanLines(doc, first, count, a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    };
    auto rescanVisible = [&] { scan(F, SaturatedAdd(V, 10)); };

    // Chunk starts in 64 bits: near the last 32-bit line number the next one lies beyond it.
    const bool opener = cls.Direction == kOpener || memberJump;
    int64_t next;
    int32_t lastChunkStart;
    if (opener) {
        scan(L, kChunk);
        next = int64_t{L} + kChunk;
        lastChunkStart = L;
    } else {
        scan(L - (kChunk - 1), kChunk);
        next = int64_t{L} - (2 * kChunk - 1);
        lastChunkStart = L - (kChunk - 1);
    }
    TKeyWordsMap& map = a.KeyWordsMap;
    if (map.Count() == 0) return false;
    const int32_t ci = FindCaretEntry(map, L, c, cls.Kind);
    if (ci < 0) {
        rescanVisible();
        return false;
    }
    const TKeyWordPos caret = map[ci];
    const bool header = caret.Kind == kProcedure || caret.Kind == kFunction;
    const bool end = caret.Kind == kEndProcedure || caret.Kind == kEndFunction;

    int32_t depth = 0, found = -1;
    auto search = [&](int32_t from) {
        if (memberJump) return FindNextMember(map, from, members, found);
        return FindPartner(map, from, cls.Direction, cls.Kind, cls.Partner1, cls.Partner2, header, end, depth, found);
    };
    PartnerSearch result = search(ci);
    while (result != PartnerSearch::Found) {
        if (result == PartnerSearch::Boundary) {
            rescanVisible();
            return false;
        }
        if (opener) {
            if (next >= lineCount) break;
            lastChunkStart = static_cast<int32_t>(next);
            scan(lastChunkStart, kChunk);
            next += kChunk;
            result = search(-1);
        } else {
            if (lastChunkStart <= 0) break;
            const int32_t from = static_cast<int32_t>(std::max<int64_t>(next, 0));
            scan(from, lastChunkStart - from);
            lastChunkStart = from;
            next -= kChunk;
            result = search(map.Count());
        }
    }
    if (result != PartnerSearch::Found) {
        rescanVisible();
        return false;
    }

    const TKeyWordPos p = map[found];
    switch (mode) {
        case kJump: {
            const int32_t col = p.Kind == kOpenBracket ? p.StartCol + 1 : p.StartCol;
            doc.MoveCaret(p.Line, col, p.Line, col);
            break;
        }
        case kSelectPairBlock:
            if (opener)
                doc.MoveCaret(L, caret.StartCol, p.Line, p.EndCol + 1);
            else
                doc.MoveCaret(p.Line, p.StartCol, L, caret.EndCol + 1);
            break;
        case kSelectInnerBlock:
            if (opener)
                doc.MoveCaret(L, caret.EndCol + 1, p.Line, p.StartCol);
            else
                doc.MoveCaret(p.Line, p.EndCol + 1, L, caret.StartCol);
            break;
        case kReportPartner:
            if (partner) *partner = PartnerPosition{p.Line, p.StartCol};
            break;
    }
    if ((mode == kJump || mode == kSelectPairBlock) && view.FirstVisibleLine() == F) {
        rescanVisible();
        ErasePairHighlight(view, a.Pair);
        HighlightPair(doc, view, a.Keywords, map, settings, a.Pair);
    }
    return true;
}

}  // namespace tintmark
