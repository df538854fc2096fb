// The editor's WM_PAINT: only inside BeginPaint/EndPaint and only the update region. The
// margin left of the text shows the background and the bookmark markers; the text shows
// keywords and operators in the registry's colours and the selection in the system's.
#include <algorithm>
#include <cwchar>

#include "editor_state.h"

namespace cfgsim {

namespace {
const wchar_t* const kKeywords[] = {
    L"процедура", L"конецпроцедуры", L"функция", L"конецфункции", L"если", L"тогда", L"иначеесли", L"иначе",
    L"конецесли", L"для", L"по", L"цикл", L"конеццикла", L"пока", L"попытка", L"исключение", L"конецпопытки",
    L"возврат", L"перем", L"экспорт", L"далее", L"знач", L"и", L"или", L"не", L"прервать", L"продолжить",
    L"каждого", L"из", L"новый"};

bool IsKeyword(std::wstring word) {
    CharLowerBuffW(word.data(), static_cast<DWORD>(word.size()));
    for (const wchar_t* k : kKeywords)
        if (word == k) return true;
    return false;
}

bool IsWordChar(wchar_t c) { return c == L'_' || IsCharAlphaNumericW(c); }
bool IsOperator(wchar_t c) { return c != 0 && std::wcschr(L"()[];,=+-*/<>%", c) != nullptr; }

// The colour of each character of a line: keywords, operators, plain text.
std::vector<COLORREF> Colours(const Editor* e, const std::wstring& s) {
    std::vector<COLORREF> colours(s.size(), e->text);
    for (size_t i = 0; i < s.size();) {
        size_t j = i + 1;
        if (IsWordChar(s[i])) {
            while (j < s.size() && IsWordChar(s[j])) ++j;
            if (IsKeyword(s.substr(i, j - i))) std::fill(colours.begin() + static_cast<long>(i), colours.begin() + static_cast<long>(j), e->keyword);
        } else if (IsOperator(s[i])) {
            colours[i] = e->oper;
        }
        i = j;
    }
    return colours;
}

void Fill(HDC dc, RECT r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// One line of text at row top: runs of equal colour and selection state, each drawn with
// the advances the editor measures by, so that drawing and hit-testing agree.
void DrawLine(HDC dc, const Editor* e, int line, int top, int right) {
    const std::wstring s = LineText(e, line);
    if (s.empty()) return;
    const std::vector<COLORREF> colours = Colours(e, s);
    const TextBuffer& t = e->doc->text;
    const TextPos selA = t.ClampPos(t.SelFirst()), selB = t.ClampPos(t.SelLast());
    auto selected = [&](size_t k) {
        const TextPos p{line, static_cast<int32_t>(k)};
        return !(p < selA) && p < selB;
    };
    const int origin = Margin() - e->hscroll;
    std::vector<int> x(s.size() + 1);
    for (size_t k = 0; k < s.size(); ++k) x[k + 1] = Advance(dc, e, x[k], s[k]);
    for (size_t i = 0; i < s.size();) {
        size_t j = i + 1;
        while (j < s.size() && s[j] != L'\t' && s[i] != L'\t' && colours[j] == colours[i] && selected(j) == selected(i))
            ++j;
        const int left = origin + x[i], width = x[j] - x[i];
        if (left < right && left + width > Margin()) {
            const bool sel = selected(i);
            if (sel) Fill(dc, RECT{left, top, left + width, top + e->lineHeight}, GetSysColor(COLOR_HIGHLIGHT));
            if (s[i] != L'\t') {
                std::vector<INT> dx(j - i);
                for (size_t k = i; k < j; ++k) dx[k - i] = x[k + 1] - x[k];
                SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colours[i]);
                ExtTextOutW(dc, left, top, 0, nullptr, &s[i], static_cast<UINT>(j - i), dx.data());
            }
        }
        i = j;
    }
}

void DrawBookmark(HDC dc, const Editor* e, int top) {
    const int right = std::min(Margin() - 4, 14);
    if (right < 4) return;
    HBRUSH brush = CreateSolidBrush(e->bookmark);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, 2, top + 3, right + 1, top + e->lineHeight - 2, 4, 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}
}  // namespace

void Paint(HWND wnd, Editor* e) {
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(wnd, update, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (!IsRectEmpty(&ps.rcPaint)) {
        ++e->paints;
        CombineRgn(e->painted, e->painted, update, RGN_OR);
        const int margin = Margin(), right = ClientWidth(wnd);
        Fill(dc, ps.rcPaint, e->back);
        HGDIOBJ oldFont = SelectObject(dc, e->font);
        SetBkMode(dc, TRANSPARENT);
        const TextBuffer& t = e->doc->text;
        const int firstRow = ps.rcPaint.top / e->lineHeight, lastRow = (ps.rcPaint.bottom - 1) / e->lineHeight;
        for (int row = firstRow; row <= lastRow; ++row) {
            const int line = e->firstLine + row, top = row * e->lineHeight;
            if (line >= t.LineCount()) break;
            if (ps.rcPaint.left < margin && t.Bookmark(line)) DrawBookmark(dc, e, top);
            if (ps.rcPaint.right <= margin) continue;
            // Text never reaches into the margin, however far the view is scrolled.
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, margin, top, right, top + e->lineHeight);
            DrawLine(dc, e, line, top, right);
            RestoreDC(dc, saved);
        }
        SelectObject(dc, oldFont);
    }
    EndPaint(wnd, &ps);
    DeleteObject(update);
}

}  // namespace cfgsim
