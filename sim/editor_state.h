// Inside the simulated editor: its per-window state and the operations that its message
// handlers (keys, mouse, paint, scrolling) share. Only the editor's own files include this.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "simulator.h"

namespace cfgsim {

struct Editor {
    Document* doc = nullptr;
    HFONT font = nullptr;
    int lineHeight = 16;
    int blankWidth = 8;
    int tabSize = 4;
    std::vector<int> widths;  // advance of each character below kWidthTable
    static constexpr wchar_t kWidthTable = 0x500;
    COLORREF back = RGB(255, 255, 255), text = RGB(0, 0, 0), keyword = 255, oper = 255, bookmark = 0xFF0000;
    int firstLine = 0;  // vertical scroll position: whole lines
    int hscroll = 0;    // horizontal scroll position: pixels
    bool dragging = false;
    // While dragging: where the pointer is against the text area (-1 before it, 1 past it,
    // 0 inside), per axis; the autoscroll timer moves the selection that way.
    int pastX = 0, pastY = 0;
    static constexpr UINT_PTR kAutoscrollTimer = 1;
    static constexpr UINT kAutoscrollMs = 100;

    // What happened to the window, for the script's assertions.
    std::map<UINT, int> messages;  // messages that reached this procedure
    int paints = 0;                // WM_PAINTs that painted something
    int invalidations = 0;         // areas the editor invalidated itself
    HRGN painted = nullptr;        // everything painted since the last reset
};

Editor* EditorOf(HWND wnd);
int Margin();
int ClientWidth(HWND wnd);
int ClientHeight(HWND wnd);
// Whole lines that fit into the client area (at least 1).
int VisibleLines(HWND wnd, const Editor* e);
std::wstring LineText(const Editor* e, int line);
int CharWidth(HDC dc, const Editor* e, wchar_t c);
// x after the character c that starts at x: a tab advances to the next tab stop.
int Advance(HDC dc, const Editor* e, int x, wchar_t c);
// x of column col from text column 0: tabs expanded, columns past the end are blanks.
int ColumnX(HDC dc, const Editor* e, const std::wstring& s, int col);
// The column whose left half or right half holds x (past the end: blank columns).
int ColumnAt(HDC dc, const Editor* e, const std::wstring& s, int x);

// A device context of the window with the editor's font selected.
class FontDc {
public:
    FontDc(HWND wnd, const Editor* e);
    ~FontDc();
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
    HGDIOBJ old_;
};

// ---- view: scrolling, invalidation, caret ----
void UpdateScrollBars(HWND wnd, Editor* e);
void PlaceCaret(HWND wnd, Editor* e);
// Scrolls by whole lines / pixels: the pixels move and only the uncovered part is invalidated.
void ScrollToLine(HWND wnd, Editor* e, int first);
void ScrollToX(HWND wnd, Editor* e, int x);
void EnsureCaretVisible(HWND wnd, Editor* e);
// Invalidates the full-width band of lines first..last (in document lines; last may be
// INT_MAX for "down to the bottom"), as far as it is visible.
void InvalidateLines(HWND wnd, Editor* e, int first, int last);
// Sets the selection (start is the caret), scrolls the caret into view and invalidates the
// lines whose selection state changed.
void Select(HWND wnd, Editor* e, TextPos start, TextPos end, bool pastEnd = false);
// Replaces the selection by text: in virtual space the line is padded first. Typing that
// stays within one line invalidates that line's band; any other change (and a paste) from
// its first line down.
void ReplaceSelection(HWND wnd, Editor* e, const std::u16string& text, bool typing = true);

// ---- message groups ----
void Paint(HWND wnd, Editor* e);
void OnKeyDown(HWND wnd, Editor* e, WPARAM key);
void OnChar(HWND wnd, Editor* e, wchar_t c);
void OnButtonDown(HWND wnd, Editor* e, WPARAM flags, POINT p);
void OnMouseMove(HWND wnd, Editor* e, WPARAM flags, POINT p);
void OnButtonUp(HWND wnd, Editor* e);
void OnAutoscrollTimer(HWND wnd, Editor* e);
// The drag ended (button up or capture lost): the autoscroll stops.
void EndDrag(HWND wnd, Editor* e);
void OnVScroll(HWND wnd, Editor* e, WPARAM request);
void OnHScroll(HWND wnd, Editor* e, WPARAM request);

}  // namespace cfgsim
