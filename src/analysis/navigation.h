// Pair navigation: the partner of the caret token searched over the whole document in
// chunks of 50 lines, and the jump and selection commands built on it.
#pragma once

#include <string>

#include "analysis/document.h"
#include "analysis/keywords.h"
#include "analysis/pairing.h"

namespace tintmark {

enum NavigationMode : uint8_t { kJump = 1, kSelectPairBlock = 2, kSelectInnerBlock = 3, kReportPartner = 4 };

// Everything the analysis keeps in the plugin object.
struct Analysis {
    KeywordTable Keywords;
    TKeyWordsMap KeyWordsMap;
    TMethMap MethMap;
    std::string ScanBuffer;
    PairState Pair;
};

struct PartnerPosition {
    int32_t Line = 0;
    int32_t StartCol = 0;
};

// Finds the partner of the token at the caret; moves the caret or the selection by mode
// (modes 1 to 3) or only reports the partner (mode 4). Returns whether it was found.
bool FindPairPosition(Analysis& a, TextDocument& doc, PairView& view, const PairSettings& settings,
                      NavigationMode mode, PartnerPosition* partner = nullptr);

}  // namespace tintmark
