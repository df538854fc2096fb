// Fuzz target: arbitrary module text through the scanner, the token at a caret, both pair
// variants and the chunked partner search.
// Input: bytes 0-1 caret line, byte 2 caret column, byte 3 flags, then the text (1251).
#include <cstdint>
#include <string>

#include "analysis/fixed_pitch_view.h"
#include "analysis/memory_document.h"
#include "analysis/method_map.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "analysis/token.h"

using namespace tintmark;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    static Analysis* a = [] {
        auto* x = new Analysis;
        BuildKeyWordTable(x->Keywords);
        return x;
    }();
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    MemoryDocument doc = MemoryDocument::FromText(text);
    const int32_t line = (data[0] | data[1] << 8) % (doc.LineCount() + 1);
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
    if (flags & 8)
        HighlightPairAlways(doc, view, a->Keywords, a->KeyWordsMap, settings, a->Pair);
    else
        HighlightPair(doc, view, a->Keywords, a->KeyWordsMap, settings, a->Pair);
    BuildMethMap(a->KeyWordsMap, nullptr, flags & 1, a->MethMap);
    PartnerPosition p;
    FindPairPosition(*a, doc, view, settings, static_cast<NavigationMode>(1 + (flags >> 6)), &p);
    return 0;
}
