// Block and bracket pairing: the token at the caret, its partner, and the two rectangles
// the highlight is drawn in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/document.h"
#include "analysis/keywords.h"
#include "analysis/plugin_types.h"

namespace tintmark {

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

// A further member of a block with middle words, drawn like the partner.
struct MemberBox {
    Rect Box;       // as drawn (the drawing may narrow or widen it)
    Rect Composed;  // as the pairing composed it
    std::string Text;
    bool operator==(const MemberBox& o) const { return Composed == o.Composed && Text == o.Text; }
};

// The highlight state kept in the plugin object between calls.
struct PairState {
    int32_t CaretTokenStartCol = 0;
    int32_t CaretTokenEndCol = 0;
    uint8_t CaretTokenKind = 0;
    std::string CaretTokenText;
    std::string PairTokenText;
    Rect CaretTokenRect;
    Rect PairTokenRect;
    // The rectangles as the pairing composed them; the drawing may narrow or widen the two
    // above, so changes of the highlight are told by these.
    Rect CaretTokenComposed;
    Rect PairTokenComposed;
    bool CaretTokenShown = false;
    bool PairTokenShown = false;
    // With middle words on: the block's members besides the caret token and its partner.
    std::vector<MemberBox> Members;
    bool MembersShown = false;
    int32_t HScrollPos = 0;  // horizontal offset of the text, shared with painting
    bool HScrolled = false;  // set by the editor window on a horizontal scroll
    // The view the rectangles were placed in: its first visible line and its horizontal
    // scroll position. The text moves under stored boxes when the view scrolls.
    int32_t ViewFirstLine = 0;
    int32_t ViewHScroll = 0;
};

// Settings and editor facts the pairing reads.
struct PairSettings {
    bool DisableAutoHighlight = false;
    int32_t LineHeight = 0;
    int32_t TextOriginX = 0;     // client x of text column 0
    int32_t LastCaretLine = 0;   // the caret line the window procedure saw last
    // A caret on any member of an Если or Попытка block marks every member (the table must
    // know the middle words).
    bool HighlightMiddle = false;
};

// The editor as pairing sees it: geometry, measuring, and the highlight drawing.
class PairView {
public:
    virtual ~PairView() = default;
    virtual int32_t FirstVisibleLine() = 0;
    virtual int32_t VisibleLineCount() = 0;
    virtual int32_t HorizontalScrollPos() = 0;
    virtual int32_t TextWidth(std::string_view text) = 0;          // plain width
    virtual int32_t ExpandedTextWidth(std::string_view text) = 0;  // a line prefix, tabs expanded
    // Paints the shown boxes back in the editor's colours (the flags are cleared by the caller).
    virtual void ErasePairHighlight(const PairState& state) = 0;
    // Draws the shown boxes; the drawing may narrow or widen the stored rectangles.
    virtual void DrawPairHighlight(PairState& state) = 0;
    virtual void DrawCrossLines() = 0;
    virtual void UpdateCrossLines() = 0;
};

// The classification of a token: a bracket or a block keyword of direction 0 or 1.
struct TokenClass {
    uint8_t Kind = 0;
    uint8_t Direction = kNeutral;
    uint8_t Partner1 = 0;
    uint8_t Partner2 = 0;
};
// False for an empty token, a word that is not a keyword, and "далее".
bool ClassifyToken(const KeywordTable& table, const std::string& token, TokenClass& out);
// A middle word of the table (ИначеЕсли, Иначе, Исключение, ...): its kind, direction 2 and
// its block's opener and closer as partners.
bool ClassifyMiddle(const KeywordTable& table, const std::string& token, TokenClass& out);

// The entry of the given kind on line with StartCol <= c' <= EndCol + 1 (c' = c + 1 for ")"),
// or -1.
int32_t FindCaretEntry(const TKeyWordsMap& map, int32_t line, int32_t c, uint8_t kind);

enum class PartnerSearch { Found, NotFound, Boundary };

// Walks map from the entry after (direction 0) or before (otherwise) start. depth is kept
// by the caller, so that a search can go on over several scans.
PartnerSearch FindPartner(const TKeyWordsMap& map, int32_t start, uint8_t direction, uint8_t kind, uint8_t want1,
                          uint8_t want2, bool header, bool end, int32_t& depth, int32_t& found);

// What a highlight call marked (for tools and tests; the plugin reads PairState).
struct PairOutcome {
    bool marked = false;
    TKeyWordPos caret;
    bool hasPartner = false;
    TKeyWordPos partner;
    // Every other member of the caret token's block in text order (the partner included);
    // without middle words just the partner.
    std::vector<TKeyWordPos> members;
};

// Both variants of the pair highlight over the entries of the last scan.
PairOutcome HighlightPair(TextDocument& doc, PairView& view, const KeywordTable& table, const TKeyWordsMap& map,
                          const PairSettings& settings, PairState& state);
PairOutcome HighlightPairAlways(TextDocument& doc, PairView& view, const KeywordTable& table,
                                const TKeyWordsMap& map, const PairSettings& settings, PairState& state);

// The rectangle of a token on its own line, composed as the partner's is, for a view whose
// text is shifted left by hscrollPos pixels; text receives the token's text.
Rect TokenRect(TextDocument& doc, PairView& view, const PairSettings& settings, int32_t hscrollPos,
               const TKeyWordPos& token, std::string& text);

// Erases the shown boxes and clears the shown flags.
void ErasePairHighlight(PairView& view, PairState& state);

}  // namespace tintmark
