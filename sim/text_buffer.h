// The text of one simulated document: UTF-16 lines, caret and selection, bookmarks.
// Portable, so that its semantics are tested natively.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace cfgsim {

struct TextPos {
    int32_t line = 0;
    int32_t col = 0;
    bool operator<(const TextPos& o) const { return line < o.line || (line == o.line && col < o.col); }
    bool operator==(const TextPos& o) const { return line == o.line && col == o.col; }
};

class TextBuffer {
public:
    TextBuffer() : lines_(1) {}
    explicit TextBuffer(std::u16string_view text) { SetText(text); }

    // Splits at CR LF, CR or LF; a final line break adds no empty line; empty text is one
    // empty line.
    void SetText(std::u16string_view text);
    // Lines joined by CR LF, or, while line ends are kept, by the break each line had.
    std::u16string GetText() const;
    // Whether each line keeps the line break it came with (set, inserted) instead of CR LF.
    void KeepLineEnds(bool on) { keepLineEnds_ = on; }
    bool KeepsLineEnds() const { return keepLineEnds_; }

    int32_t LineCount() const { return static_cast<int32_t>(lines_.size()); }
    int32_t LineLength(int32_t line) const;
    // The text of a line; empty for a line outside the text.
    const std::u16string& Line(int32_t line) const;

    // Positions are clamped to the text; a range whose end lies before its start is empty.
    TextPos ClampPos(TextPos p) const;
    // A caret position: the line clamped to the text (with pastEnd only kept from going
    // negative), the column only kept within 0..kMaxColumn, since the caret may stand past
    // the end of its line (virtual space).
    TextPos ClampCaret(TextPos p, bool pastEnd = false) const;
    static constexpr int32_t kMaxColumn = 100000;
    // Makes p a position inside the text: adds empty lines up to p.line and pads that line
    // with blanks up to p.col (typing in virtual space).
    void PadTo(TextPos p);
    std::u16string RangeText(TextPos from, TextPos to) const;
    // Replaces the range by text (which may hold line breaks); returns the end of the new text.
    TextPos ReplaceRange(TextPos from, TextPos to, std::u16string_view text);

    // Selection: start is the caret. Both ends are caret positions (ClampCaret).
    TextPos SelStart() const { return selStart_; }
    TextPos SelEnd() const { return selEnd_; }
    void MoveCaret(TextPos start, TextPos end, bool pastEnd = false);
    bool HasSelection() const { return !(selStart_ == selEnd_); }
    // The selection in text order.
    TextPos SelFirst() const { return selEnd_ < selStart_ ? selEnd_ : selStart_; }
    TextPos SelLast() const { return selEnd_ < selStart_ ? selStart_ : selEnd_; }

    bool Bookmark(int32_t line) const { return bookmarks_.count(line) != 0; }
    void SetBookmark(int32_t line, bool on);
    // The first bookmarked line after line, wrapping to the start; -1 when there is none.
    int32_t NextBookmark(int32_t line) const;

private:
    int32_t Clamp(int32_t line) const;
    // The break after each line when line ends are kept (the last line's is not written).
    const std::u16string& BreakAfter(int32_t line) const;
    std::vector<std::u16string> lines_;
    std::vector<std::u16string> breaks_;
    bool keepLineEnds_ = false;
    TextPos selStart_, selEnd_;
    std::set<int32_t> bookmarks_;
};

// Module file bytes (Windows-1251, or UTF-8 when utf8) as UTF-16 text.
std::u16string DecodeModule(std::string_view bytes, bool utf8);

}  // namespace cfgsim
