// Fuzz target: arbitrary module text through the scanner, the token at a caret, both pair
// variants and the chunked partner search; with the top bit of byte 1 also with English and
// middle words on, and the mismatch check of the document and of the view.
// Input: bytes 0-1 caret line, byte 2 caret column, byte 3 flags, then the text (1251).
#include <cstdint>
#include <string>

#include "analysis/fixed_pitch_view.h"
#include "analysis/memory_document.h"
#include "analysis/method_map.h"
#include "analysis/mismatch.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "analysis/token.h"

using namespace tintmark;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    static Analysis* plain = [] {
        auto* x = new Analysis;
        BuildKeyWordTable(x->Keywords);
        return x;
    }();
    static Analysis* full = [] {
        auto* x = new Analysis;
        BuildKeyWordTable(x->Keywords, KeywordOptions{true, true});
        return x;
    }();
    const bool beyond = (data[1] & 0x80) != 0;
    Analysis* a = beyond ? full : plain;
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    MemoryDocument doc = MemoryDocument::FromText(text);
    const int32_t line = (data[0] | (data[1] & 0x7F) << 8) % (doc.LineCount() + 1);
    const int32_t col = data[2];
    const uint8_t flags = data[3];

    const std::string lineText = line < doc.LineCount() ? doc.Line(line) : std::string();
    if (!lineText.empty() && col <= static_cast<int32_t>(lineText.size())) {
        const CaretToken t = TokenAtCaret(lineText, col);
        if (t.left.size() + t.right.size() != t.token.size() && t.token != "(" && t.token != ")") __builtin_trap();
    }

    const int32_t first = (flags & 7) * 3;
    FixedPitchView view(first, 10 + (flags >> 4));
    ScanLines(doc, first, view.VisibleLineCount() + 10, a->Keywords, a->KeyWordsMap, a->ScanBuffer);
    for (int32_t i = 1; i < a->KeyWordsMap.Count(); ++i)
        if (a->KeyWordsMap[i].Line < a->KeyWordsMap[i - 1].Line) __builtin_trap();
    doc.MoveCaret(line, col, line, col);
    PairSettings settings;
    settings.LineHeight = 16;
    settings.HighlightMiddle = beyond;
    if (flags & 8)
        HighlightPairAlways(doc, view, a->Keywords, a->KeyWordsMap, settings, a->Pair);
    else
        HighlightPair(doc, view, a->Keywords, a->KeyWordsMap, settings, a->Pair);
    BuildMethMap(a->KeyWordsMap, nullptr, flags & 1, a->MethMap);
    PartnerPosition p;
    FindPairPosition(*a, doc, view, settings, static_cast<NavigationMode>(1 + (flags >> 6)), &p);
    if (beyond) {
        const auto all = CheckDocumentBlocks(doc, a->Keywords, a->KeyWordsMap, a->ScanBuffer);
        // The marks of a view are exactly the document's mismatches on its lines.
        const int32_t last = first + view.VisibleLineCount();
        size_t inView = 0;
        for (const BlockMismatch& m : all) inView += m.Line >= first && m.Line <= last;
        if (MismatchesInLines(doc, a->Keywords, first, last, a->KeyWordsMap, a->ScanBuffer).size() != inView)
            __builtin_trap();
    }
    return 0;
}
