// Text, selection and bookmarks of a simulated document.
#include "text_buffer.h"

#include <algorithm>

#include "text/cp1251.h"

namespace cfgsim {

namespace {

// Text split into lines, with the break that ended each (empty after the last).
void Split(std::u16string_view text, std::vector<std::u16string>& lines, std::vector<std::u16string>& breaks) {
    lines.assign(1, std::u16string());
    breaks.assign(1, std::u16string());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            const bool pair = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
            breaks.back() = pair ? u"\r\n" : std::u16string(1, c);
            if (pair) ++i;
            lines.emplace_back();
            breaks.emplace_back();
        } else {
            lines.back() += c;
        }
    }
}

const std::u16string kCrLf = u"\r\n";

}  // namespace

void TextBuffer::SetText(std::u16string_view text) {
    Split(text, lines_, breaks_);
    // A final line break adds no empty line.
    if (lines_.size() > 1 && lines_.back().empty()) {
        lines_.pop_back();
        breaks_.pop_back();
    }
    bookmarks_.clear();
    MoveCaret({0, 0}, {0, 0});
}

const std::u16string& TextBuffer::BreakAfter(int32_t line) const {
    if (!keepLineEnds_ || line < 0 || line >= static_cast<int32_t>(breaks_.size()) ||
        breaks_[static_cast<size_t>(line)].empty())
        return kCrLf;
    return breaks_[static_cast<size_t>(line)];
}

std::u16string TextBuffer::GetText() const {
    std::u16string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += BreakAfter(static_cast<int32_t>(i) - 1);
        out += lines_[i];
    }
    return out;
}

int32_t TextBuffer::Clamp(int32_t line) const { return std::max(0, std::min(line, LineCount() - 1)); }

int32_t TextBuffer::LineLength(int32_t line) const {
    if (line < 0 || line >= LineCount()) return 0;
    return static_cast<int32_t>(lines_[static_cast<size_t>(line)].size());
}

const std::u16string& TextBuffer::Line(int32_t line) const {
    static const std::u16string none;
    return line >= 0 && line < LineCount() ? lines_[static_cast<size_t>(line)] : none;
}

TextPos TextBuffer::ClampPos(TextPos p) const {
    p.line = Clamp(p.line);
    p.col = std::max(0, std::min(p.col, LineLength(p.line)));
    return p;
}

TextPos TextBuffer::ClampCaret(TextPos p, bool pastEnd) const {
    p.line = pastEnd ? std::max(0, p.line) : Clamp(p.line);
    p.col = std::max(0, std::min(p.col, kMaxColumn));
    return p;
}

void TextBuffer::PadTo(TextPos p) {
    p = ClampCaret(p, true);
    while (LineCount() <= p.line) {
        lines_.emplace_back();
        breaks_.resize(lines_.size());
    }
    std::u16string& s = lines_[static_cast<size_t>(p.line)];
    if (static_cast<int32_t>(s.size()) < p.col) s.append(static_cast<size_t>(p.col) - s.size(), u' ');
}

std::u16string TextBuffer::RangeText(TextPos from, TextPos to) const {
    from = ClampPos(from);
    to = ClampPos(to);
    std::u16string out;
    if (to < from) return out;
    for (int32_t l = from.line; l <= to.line; ++l) {
        const std::u16string& s = lines_[static_cast<size_t>(l)];
        const size_t a = l == from.line ? static_cast<size_t>(from.col) : 0;
        const size_t b = l == to.line ? static_cast<size_t>(to.col) : s.size();
        if (l > from.line) out += BreakAfter(l - 1);
        if (b > a) out.append(s, a, b - a);
    }
    return out;
}

TextPos TextBuffer::ReplaceRange(TextPos from, TextPos to, std::u16string_view text) {
    from = ClampPos(from);
    to = ClampPos(to);
    if (to < from) std::swap(from, to);
    const std::u16string head = lines_[static_cast<size_t>(from.line)].substr(0, static_cast<size_t>(from.col));
    const std::u16string tail = lines_[static_cast<size_t>(to.line)].substr(static_cast<size_t>(to.col));
    std::vector<std::u16string> inserted, breaks;
    Split(text, inserted, breaks);
    breaks_.resize(lines_.size());
    breaks.back() = breaks_[static_cast<size_t>(to.line)];
    const TextPos end{from.line + static_cast<int32_t>(inserted.size()) - 1,
                      static_cast<int32_t>(inserted.back().size()) + (inserted.size() == 1 ? from.col : 0)};
    inserted.front() = head + inserted.front();
    inserted.back() += tail;
    lines_.erase(lines_.begin() + from.line, lines_.begin() + to.line + 1);
    lines_.insert(lines_.begin() + from.line, inserted.begin(), inserted.end());
    breaks_.erase(breaks_.begin() + from.line, breaks_.begin() + to.line + 1);
    breaks_.insert(breaks_.begin() + from.line, breaks.begin(), breaks.end());

    // Bookmarks below the edit move with their lines; those inside removed lines go.
    const int32_t delta = static_cast<int32_t>(inserted.size()) - (to.line - from.line + 1);
    std::set<int32_t> moved;
    for (int32_t b : bookmarks_) {
        if (b <= from.line) moved.insert(b);
        else if (b > to.line) moved.insert(b + delta);
    }
    bookmarks_ = moved;
    MoveCaret(end, end);
    return end;
}

void TextBuffer::MoveCaret(TextPos start, TextPos end, bool pastEnd) {
    selStart_ = ClampCaret(start, pastEnd);
    selEnd_ = ClampCaret(end, pastEnd);
}

void TextBuffer::SetBookmark(int32_t line, bool on) {
    if (line < 0 || line >= LineCount()) return;
    if (on)
        bookmarks_.insert(line);
    else
        bookmarks_.erase(line);
}

int32_t TextBuffer::NextBookmark(int32_t line) const {
    if (bookmarks_.empty()) return -1;
    auto it = bookmarks_.upper_bound(line);
    return it != bookmarks_.end() ? *it : *bookmarks_.begin();
}

std::u16string DecodeModule(std::string_view bytes, bool utf8) {
    if (!utf8) return tintmark::Decode1251(bytes);
    std::u16string out;
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size()) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        char32_t u = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) u = (u << 6) | (static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]) & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        if (u >= 0x10000) {
            u -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (u >> 10));
            out += static_cast<char16_t>(0xDC00 + (u & 0x3FF));
        } else {
            out += static_cast<char16_t>(u);
        }
    }
    if (out.size() && out[0] == u'\uFEFF') out.erase(0, 1);  // a byte-order mark
    return out;
}

}  // namespace cfgsim
