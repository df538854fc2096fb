// Finding the caret token and its partner, and composing the highlight rectangles.
#include "analysis/pairing.h"

#include <algorithm>

#include "analysis/block_group.h"
#include "analysis/line_range.h"
#include "analysis/scanner.h"
#include "analysis/token.h"
#include "text/cp1251.h"

namespace tintmark {

bool ClassifyToken(const KeywordTable& table, const std::string& token, TokenClass& out) {
    if (token.empty()) return false;
    if (token == "(" || token == ")") {
        out.Kind = token == "(" ? kOpenBracket : kCloseBracket;
        out.Direction = KindDirection(out.Kind);
        out.Partner1 = KindPartner1(out.Kind);
        out.Partner2 = KindPartner2(out.Kind);
        return true;
    }
    std::string lowered = token;
    LowerInPlace1251(lowered.data(), lowered.size());
    const int index = LookUpKeyWord(table, lowered);
    if (index < 0) return false;
    const TKeyWord& k = table.KeyWords[static_cast<size_t>(index)];
    if (k.Direction == kNeutral) return false;
    out.Kind = k.Kind;
    out.Direction = k.Direction;
    out.Partner1 = k.Partner1;
    out.Partner2 = k.Partner2;
    return true;
}

bool ClassifyMiddle(const KeywordTable& table, const std::string& token, TokenClass& out) {
    if (token.empty()) return false;
    std::string lowered = token;
    LowerInPlace1251(lowered.data(), lowered.size());
    const int index = LookUpKeyWord(table, lowered);
    if (index < 0) return false;
    const TKeyWord& k = table.KeyWords[static_cast<size_t>(index)];
    if (!IsMiddleKind(k.Kind)) return false;
    out.Kind = k.Kind;
    out.Direction = k.Direction;
    out.Partner1 = k.Partner1;
    out.Partner2 = k.Partner2;
    return true;
}

int32_t FindCaretEntry(const TKeyWordsMap& map, int32_t line, int32_t c, uint8_t kind) {
    // The entry must be of the token's own kind: a bracket ending right before a keyword
    // must not stand in for the keyword at the caret.
    const int32_t cc = kind == kCloseBracket ? c + 1 : c;
    for (int32_t i = 0; i < map.Count(); ++i) {
        const TKeyWordPos& e = map[i];
        if (e.Line > line) break;
        if (e.Line == line && e.StartCol <= cc && cc <= e.EndCol + 1 && e.Kind == kind) return i;
    }
    return -1;
}

PartnerSearch FindPartner(const TKeyWordsMap& map, int32_t start, uint8_t direction, uint8_t kind, uint8_t want1,
                          uint8_t want2, bool header, bool end, int32_t& depth, int32_t& found) {
    if (direction == kOpener) {
        for (int32_t i = start + 1; i < map.Count(); ++i) {
            const TKeyWordPos& e = map[i];
            if (header && (e.Kind == kProcedure || e.Kind == kFunction || e.Kind == kForward))
                return PartnerSearch::Boundary;
            if (e.Direction == kOpener && (e.Partner1 == want1 || e.Partner2 == want2)) {
                ++depth;
            } else if (e.Direction == kCloser && (e.Partner1 == kind || e.Partner2 == kind)) {
                if (depth == 0) {
                    found = i;
                    return PartnerSearch::Found;
                }
                --depth;
            }
        }
        return PartnerSearch::NotFound;
    }
    for (int32_t i = start - 1; i >= 0; --i) {
        const TKeyWordPos& e = map[i];
        if (end && (e.Kind == kEndProcedure || e.Kind == kEndFunction || e.Kind == kForward))
            return PartnerSearch::Boundary;
        if (e.Direction == kCloser && (e.Partner1 == want1 || e.Partner2 == want2)) {
            ++depth;
        } else if (e.Direction == kOpener && (e.Partner1 == kind || e.Partner2 == kind)) {
            if (depth == 0) {
                found = i;
                return PartnerSearch::Found;
            }
            --depth;
        }
    }
    return PartnerSearch::NotFound;
}

// The state says nothing is shown before the boxes go, so that marks drawn again over what
// was put back do not bring back the boxes being taken off.
void ErasePairHighlight(PairView& view, PairState& state) {
    const PairState shown = state;
    state.CaretTokenShown = false;
    state.PairTokenShown = false;
    state.MembersShown = false;
    view.ErasePairHighlight(shown);
}

namespace {

// Line line from its start to column endCol (included): cut from known when that is the
// line's text, else read from the document.
std::string LineUpTo(TextDocument& doc, int32_t line, int32_t endCol, int32_t knownLine, const std::string& known) {
    const int64_t end = int64_t{endCol} + 1;
    if (line == knownLine)
        return known.substr(0, static_cast<size_t>(std::clamp<int64_t>(end, 0, static_cast<int64_t>(known.size()))));
    return doc.RangeText(line, 0, line, Saturated(end));
}

bool IsHeader(uint8_t kind) { return kind == kProcedure || kind == kFunction; }
bool IsEnd(uint8_t kind) { return kind == kEndProcedure || kind == kEndFunction; }

// Composes the rectangles of one call.
class RectComposer {
public:
    RectComposer(TextDocument& doc, PairView& view, const PairSettings& settings, PairState& state)
        : doc_(doc), view_(view), settings_(settings), state_(state), first_(view.FirstVisibleLine()),
          hscroll_(view.HorizontalScrollPos()) {}

    int32_t FirstLine() const { return first_; }
    int32_t HScroll() const { return hscroll_; }

    // The caret token: x of the caret, less the part left of it, plus the part right of it.
    Rect Caret(int32_t line, const std::string& lineText, int32_t c, const std::string& left,
               const std::string& right) {
        const int32_t x = view_.ExpandedTextWidth(std::string_view(lineText).substr(
            0, static_cast<size_t>(std::min<int32_t>(std::max(c, 0), static_cast<int32_t>(lineText.size())))));
        ComputeOffset();
        return Finish(line, int64_t{x} - view_.TextWidth(left), int64_t{x} + view_.TextWidth(right));
    }

    // The partner token on its own line; text receives the token's text. The line up to the
    // token's end is read once (not at all when it is the caret line, already read).
    Rect Partner(const TKeyWordPos& p, std::string& text, int32_t knownLine, const std::string& known) {
        const std::string upTo = LineUpTo(doc_, p.Line, p.EndCol, knownLine, known);
        const size_t start = std::min(upTo.size(), static_cast<size_t>(std::max(p.StartCol, 0)));
        text = upTo.substr(start);
        const int32_t x = view_.ExpandedTextWidth(std::string_view(upTo).substr(0, start));
        return Finish(p.Line, x, int64_t{x} + view_.TextWidth(text));
    }

private:
    // The text is drawn shifted left by the horizontal scroll position, however the view
    // got there (scroll bar, keys or typing).
    void ComputeOffset() { state_.HScrollPos = hscroll_; }
    // In 64 bits, held to 32 at the end: a far line or a wide prefix must not wrap round.
    Rect Finish(int32_t line, int64_t left, int64_t right) const {
        const int64_t shift = int64_t{settings_.TextOriginX} - state_.HScrollPos;
        const int64_t bottom = (int64_t{line} - first_ + 1) * settings_.LineHeight;
        return Rect{Saturated(left + shift - 1), Saturated(bottom - settings_.LineHeight),
                    Saturated(right + shift + 1), Saturated(bottom + 1)};
    }

    TextDocument& doc_;
    PairView& view_;
    const PairSettings& settings_;
    PairState& state_;
    int32_t first_;
    int32_t hscroll_;
};

// A stored rectangle where the text under it stands in the view of rects.
Rect ShiftedToView(const PairState& state, const Rect& r, const RectComposer& rects, int32_t lineHeight) {
    const int64_t dy = (int64_t{state.ViewFirstLine} - rects.FirstLine()) * lineHeight;
    const int64_t dx = int64_t{state.ViewHScroll} - rects.HScroll();
    return Rect{Saturated(r.left + dx), Saturated(r.top + dy), Saturated(r.right + dx), Saturated(r.bottom + dy)};
}

// Whether line L lies in the visible range F .. F + V (which may reach past 32 bits).
bool InVisibleRange(int32_t L, int32_t F, int32_t V) { return L >= F && int64_t{L} <= int64_t{F} + V; }

// The caret token of a search: a pairable token, or a middle word when they are on.
bool ClassifyCaretToken(const KeywordTable& table, const PairSettings& settings, const std::string& token,
                        TokenClass& cls) {
    return ClassifyToken(table, token, cls) || (settings.HighlightMiddle && ClassifyMiddle(table, token, cls));
}

// The partner of the caret entry and, with middle words on, the other members of its block.
// A middle word's partner is its block's closer, else its opener.
struct Group {
    bool hasPartner = false;
    int32_t partner = -1;
    std::vector<int32_t> others;   // members besides the caret entry and the partner
    std::vector<int32_t> members;  // every member besides the caret entry, in text order
};

Group FindGroup(const TKeyWordsMap& map, int32_t ci, const TokenClass& cls, const PairSettings& settings) {
    Group g;
    const TKeyWordPos& caret = map[ci];
    if (cls.Direction != kNeutral) {
        int32_t depth = 0;
        g.hasPartner = FindPartner(map, ci, cls.Direction, cls.Kind, cls.Partner1, cls.Partner2, IsHeader(caret.Kind),
                                   IsEnd(caret.Kind), depth, g.partner) == PartnerSearch::Found;
    }
    std::vector<int32_t> block;
    if (settings.HighlightMiddle) block = BlockMembers(map, ci);
    if (IsMiddleKind(caret.Kind) && block.size() > 1) {
        uint8_t opener = 0, closer = 0;
        MiddleFamily(caret.Kind, opener, closer);
        if (map[block.back()].Kind == closer) g.partner = block.back();
        else if (map[block.front()].Kind == opener) g.partner = block.front();
        g.hasPartner = g.partner >= 0;
    }
    for (int32_t m : block)
        if (m != ci) {
            g.members.push_back(m);
            if (m != g.partner) g.others.push_back(m);
        }
    if (block.empty() && g.hasPartner) g.members.push_back(g.partner);
    return g;
}

}  // namespace

Rect TokenRect(TextDocument& doc, PairView& view, const PairSettings& settings, int32_t hscrollPos,
               const TKeyWordPos& token, std::string& text) {
    PairState placed;
    placed.HScrollPos = hscrollPos;
    return RectComposer(doc, view, settings, placed).Partner(token, text, -1, std::string());
}

PairOutcome HighlightPair(TextDocument& doc, PairView& view, const KeywordTable& table, const TKeyWordsMap& map,
                          const PairSettings& settings, PairState& state) {
    PairOutcome out;
    if (settings.DisableAutoHighlight) return out;
    state.CaretTokenStartCol = 0;
    state.CaretTokenEndCol = 0;

    const int32_t L = doc.SelStartLine();
    const int32_t c = doc.SelStartCol();
    if (L > doc.LineCount() - 1 || L < 0) return out;
    if (!InVisibleRange(L, view.FirstVisibleLine(), view.VisibleLineCount())) return out;
    const std::string s = doc.Line(L);
    if (s.empty() || c < 0 || c > static_cast<int32_t>(s.size()) || InLineComment(s, c) || map.Count() == 0)
        return out;

    const CaretToken token = TokenAtCaret(s, c);
    state.CaretTokenText = token.token;
    TokenClass cls;
    if (!ClassifyCaretToken(table, settings, token.token, cls)) return out;
    state.CaretTokenKind = cls.Kind;

    const int32_t ci = FindCaretEntry(map, L, c, cls.Kind);
    if (ci < 0) return out;
    const TKeyWordPos& caret = map[ci];
    state.CaretTokenStartCol = caret.StartCol;
    state.CaretTokenEndCol = caret.EndCol;

    RectComposer rects(doc, view, settings, state);
    // The box stands on the token's own characters: at column 0 the token rule also takes a
    // "(" the caret stands before, and the caret's x would put the box a character left of it.
    state.CaretTokenRect = state.CaretTokenComposed = rects.Caret(L, s, caret.StartCol, "", token.token);
    state.ViewFirstLine = rects.FirstLine();
    state.ViewHScroll = rects.HScroll();
    state.CaretTokenShown = true;
    out.marked = true;
    out.caret = caret;

    const Group g = FindGroup(map, ci, cls, settings);
    if (g.hasPartner) {
        state.PairTokenRect = state.PairTokenComposed = rects.Partner(map[g.partner], state.PairTokenText, L, s);
        state.PairTokenShown = true;
        out.hasPartner = true;
        out.partner = map[g.partner];
    }
    state.Members.clear();
    for (int32_t m : g.others) {
        MemberBox box;
        box.Box = box.Composed = rects.Partner(map[m], box.Text, L, s);
        state.Members.push_back(box);
    }
    state.MembersShown = !state.Members.empty();
    for (int32_t m : g.members) out.members.push_back(map[m]);
    view.DrawPairHighlight(state);
    return out;
}

PairOutcome HighlightPairAlways(TextDocument& doc, PairView& view, const KeywordTable& table,
                                const TKeyWordsMap& map, const PairSettings& settings, PairState& state) {
    PairOutcome out;
    if (settings.DisableAutoHighlight) return out;
    // Where no block is chosen, the last one's mark goes, as a repaint of the view would take
    // it off: what is marked must not depend on whether a repaint happened.
    const auto noBlock = [&] {
        ErasePairHighlight(view, state);
        view.DrawCrossLines();
        return out;
    };
    if (map.Count() == 0) return noBlock();
    const int32_t caretLine = doc.SelStartLine();
    int32_t L = caretLine;
    int32_t c = doc.SelStartCol();
    if (!InVisibleRange(L, view.FirstVisibleLine(), view.VisibleLineCount()) || L > doc.LineCount() - 1 || L < 0)
        return out;
    const std::string s = doc.Line(L);

    TokenClass cls;
    CaretToken token;
    // A caret beyond the end of its line has no token; the enclosing block is taken then.
    if (!s.empty() && c >= 0 && c <= static_cast<int32_t>(s.size())) {
        token = TokenAtCaret(s, c);
        if (!ClassifyCaretToken(table, settings, token.token, cls)) cls = TokenClass{};
    }

    int32_t chosen = -1;
    bool onCaretLine = false;
    std::string lineText = s;
    std::string left = token.left, right = token.right, text = token.token;
    if (cls.Direction != kNeutral || IsMiddleKind(cls.Kind)) {
        chosen = FindCaretEntry(map, L, c, cls.Kind);
        if (chosen < 0) return noBlock();
        onCaretLine = true;
        // The box stands on the token's own characters (see HighlightPair).
        left.clear();
        right = text;
        c = map[chosen].StartCol;
    } else {
        // Middle words are passed over in the choice of the enclosing block (a table without
        // them gives none, and the choice is the plain one).
        const int32_t count = map.Count();
        auto middle = [&](int32_t k) { return IsMiddleKind(map[k].Kind); };
        int32_t last = count - 1;
        while (last > 0 && middle(last)) --last;
        int32_t firstEntry = 0;
        while (firstEntry < last && middle(firstEntry)) ++firstEntry;
        if (L < map[firstEntry].Line || L > map[last].Line) return noBlock();
        int32_t i = firstEntry;
        for (; i <= last; ++i) {
            if (middle(i)) continue;
            const TKeyWordPos& e = map[i];
            if (e.Line > L || (e.Line == L && c < e.StartCol) || (i == last && e.Line == L)) break;
        }
        int32_t candidate = std::max(i - 1, firstEntry);
        while (candidate > firstEntry && middle(candidate)) --candidate;
        int32_t after = std::min(candidate + 1, last);
        while (after < last && middle(after)) ++after;
        const uint8_t b = map[candidate].Direction;
        const uint8_t n = map[after].Direction;
        if (b == kOpener && (n == kOpener || n == kCloser)) {
            chosen = candidate;
        } else if (b == kCloser && n == kCloser) {
            if (candidate == last) return noBlock();  // no entry after it
            chosen = after;
        } else if (b == kCloser && n == kOpener) {
            int32_t depth = 0;
            for (int32_t k = candidate; k >= 0; --k) {
                const uint8_t d = map[k].Direction;
                if (d == kCloser) {
                    ++depth;
                } else if (d == kOpener) {
                    if (depth == 0) {
                        chosen = k;
                        break;
                    }
                    --depth;
                }
            }
            if (chosen < 0) return noBlock();
        } else {
            return noBlock();
        }
        const TKeyWordPos& e = map[chosen];
        if (e.Direction == kNeutral) return noBlock();
        // The token's line up to its end: the caret line already read, or one read.
        lineText = LineUpTo(doc, e.Line, e.EndCol, caretLine, s);
        text = lineText.substr(std::min(lineText.size(), static_cast<size_t>(std::max(e.StartCol, 0))));
        left.clear();
        right = text;
        c = e.StartCol;
        L = e.Line;
        onCaretLine = L == caretLine;
        cls.Kind = e.Kind;
    }

    const TKeyWordPos& caret = map[chosen];
    cls.Direction = caret.Direction;
    cls.Partner1 = caret.Partner1;
    cls.Partner2 = caret.Partner2;
    state.CaretTokenStartCol = caret.StartCol;
    state.CaretTokenEndCol = caret.EndCol;

    RectComposer rects(doc, view, settings, state);
    const Rect caretRect = rects.Caret(L, lineText, c, left, right);
    Rect pairRect;
    std::string pairText;
    const Group g = FindGroup(map, chosen, cls, settings);
    const bool hasPartner = g.hasPartner;
    if (hasPartner) pairRect = rects.Partner(map[g.partner], pairText, caretLine, s);
    std::vector<MemberBox> members;
    for (int32_t m : g.others) {
        MemberBox box;
        box.Box = box.Composed = rects.Partner(map[m], box.Text, caretLine, s);
        members.push_back(box);
    }

    // Compared in this view: the stored boxes moved with the text if the view scrolled since.
    // A partner box that is shown but has no partner now is a change too.
    const Rect oldCaret = ShiftedToView(state, state.CaretTokenComposed, rects, settings.LineHeight);
    const Rect oldPair = ShiftedToView(state, state.PairTokenComposed, rects, settings.LineHeight);
    std::vector<MemberBox> oldMembers = state.Members;
    for (MemberBox& m : oldMembers) {
        m.Composed = ShiftedToView(state, m.Composed, rects, settings.LineHeight);
        m.Box = ShiftedToView(state, m.Box, rects, settings.LineHeight);
    }
    const bool changed = caretRect != oldCaret || (hasPartner ? pairRect != oldPair : state.PairTokenShown) ||
                         members != oldMembers;
    // The same boxes already on the screen are not drawn again.
    const bool redraw = changed || !state.CaretTokenShown || state.PairTokenShown != hasPartner ||
                        state.MembersShown != !members.empty();
    if (changed) ErasePairHighlight(view, state);
    if (caretLine != settings.LastCaretLine || onCaretLine || changed) view.UpdateCrossLines();

    if (redraw) {
        state.CaretTokenRect = caretRect;
        state.PairTokenRect = pairRect;
    } else {
        // The boxes as drawn (a bold text sets their width), where their text now stands.
        state.CaretTokenRect = ShiftedToView(state, state.CaretTokenRect, rects, settings.LineHeight);
        state.PairTokenRect = ShiftedToView(state, state.PairTokenRect, rects, settings.LineHeight);
    }
    state.CaretTokenShown = true;
    state.PairTokenShown = hasPartner;
    state.CaretTokenText = text;
    state.PairTokenText = pairText;
    state.CaretTokenComposed = caretRect;
    state.PairTokenComposed = pairRect;
    state.ViewFirstLine = rects.FirstLine();
    state.ViewHScroll = rects.HScroll();
    state.CaretTokenKind = cls.Kind;
    // Members already on the screen keep their boxes as drawn, where their text now stands.
    state.Members = redraw ? std::move(members) : std::move(oldMembers);
    state.MembersShown = !state.Members.empty();
    if (redraw) view.DrawPairHighlight(state);

    out.marked = true;
    out.caret = caret;
    out.hasPartner = hasPartner;
    if (hasPartner) out.partner = map[g.partner];
    for (int32_t m : g.members) out.members.push_back(map[m]);
    return out;
}

}  // namespace tintmark
