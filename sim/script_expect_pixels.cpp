// Expectations about the pixels of the active editor's client area: one pixel, every pixel
// of a rectangle, the number of pixels of a colour, and a stored picture.
#include <cstdlib>

#include "editor_window.h"
#include "pump.h"
#include "screenshot.h"
#include "script_commands.h"

namespace cfgsim {

namespace {

struct Area {
    int left, top, right, bottom;  // right and bottom exclusive
};

// The rectangle of words 1..4, inside the image.
Area AreaOf(const Words& w, const Image& image) {
    const Area a{static_cast<int>(Number(w[1])), static_cast<int>(Number(w[2])), static_cast<int>(Number(w[3])),
                 static_cast<int>(Number(w[4]))};
    if (a.left < 0 || a.top < 0 || a.right > image.width || a.bottom > image.height || a.left >= a.right ||
        a.top >= a.bottom)
        throw ScriptError{L"the rectangle is empty or leaves the editor's " + std::to_wstring(image.width) + L"x" +
                          std::to_wstring(image.height) + L" client area"};
    return a;
}

std::wstring At(int x, int y) { return std::to_wstring(x) + L" " + std::to_wstring(y); }

// How many pixels of the area have the colour, and the first one (row by row) that has not.
struct Census {
    long matching = 0;
    std::wstring firstOther;
};

Census Count(const Image& image, const Area& a, uint32_t colour) {
    Census c;
    for (int y = a.top; y < a.bottom; ++y)
        for (int x = a.left; x < a.right; ++x) {
            if (image.At(x, y) == colour)
                ++c.matching;
            else if (c.firstOther.empty())
                c.firstOther = L"pixel " + At(x, y) + L" is " + Hex(image.At(x, y));
        }
    return c;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

// The file name for a picture that did not match: next to the build output (the current
// folder), not next to the stored picture.
std::wstring NewPicturePath(const std::wstring& file) {
    const size_t slash = file.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
    if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".png") == 0) name.resize(name.size() - 4);
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    return std::wstring(cwd) + L"\\" + name + L".new.png";
}

// Why got differs from want (empty when each channel is within tolerance).
std::wstring Difference(const Image& got, const Image& want, int tolerance, const std::wstring& wantName) {
    if (want.width != got.width || want.height != got.height)
        return L"the editor is " + std::to_wstring(got.width) + L"x" + std::to_wstring(got.height) + L", " + wantName +
               L" " + std::to_wstring(want.width) + L"x" + std::to_wstring(want.height);
    std::wstring why;
    long differing = 0;
    for (int y = 0; y < got.height; ++y)
        for (int x = 0; x < got.width; ++x) {
            if (Near(got.At(x, y), want.At(x, y), tolerance)) continue;
            if (differing++ == 0)
                why = L"pixel " + At(x, y) + L" is " + Hex(got.At(x, y)) + L", " + Hex(want.At(x, y)) + L" in " + wantName;
        }
    if (differing) why += L" (" + std::to_wstring(differing) + L" pixels differ)";
    return why;
}

void ExpectImage(ScriptContext& ctx, const Words& w) {
    const int tolerance = w.size() > 2 ? static_cast<int>(Number(w[2])) : 0;
    const Image got = CaptureClient(Active()->editor);
    Image want;
    if (!ReadPng(ctx.Path(w[1]), want)) throw ScriptError{L"cannot read the picture " + w[1]};
    std::wstring why = Difference(got, want, tolerance, w[1]);
    if (why.empty()) return;
    const std::wstring path = NewPicturePath(w[1]);
    if (WritePng(path, got)) why += L"; the editor is in " + path;
    Fail(why);
}

// The editor shows exactly what it shows after its view has moved away and back (a line up
// or down, then a few pixels sideways) and it has been repainted whole: nothing stale,
// nothing missing. Moving the view makes a plugin place its marks afresh from the caret, so
// a mark that is on the screen but wrongly placed shows too.
void ExpectStable(ScriptContext&, const Words&) {
    HWND editor = Active()->editor;
    const Image before = CaptureClient(editor);
    const int first = GetEditorGeometry(editor).firstLine;
    const int away = first > 0 ? first - 1 : first + 1;
    SendMessageW(editor, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, away), 0);
    Pump();
    SendMessageW(editor, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, first), 0);
    Pump();
    // Sideways too, through the scroll bar: the marks must not depend on how the view got
    // where it is.
    const int x = GetScrollPos(editor, SB_HORZ);
    SendMessageW(editor, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, x > 0 ? x - 8 : x + 8), 0);
    Pump();
    SendMessageW(editor, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, x), 0);
    Pump();
    InvalidateRect(editor, nullptr, FALSE);
    Pump();
    const Image after = CaptureClient(editor);
    std::wstring why = Difference(before, after, 0, L"a full repaint");
    if (why.empty()) return;
    static int failures = 0;
    const std::wstring name = L"stable-" + std::to_wstring(++failures);
    if (WritePng(NewPicturePath(name + L".before"), before) && WritePng(NewPicturePath(name + L".after"), after))
        why += L"; the pictures are in " + NewPicturePath(name + L".before") + L" and .after";
    Fail(why);
}

}  // namespace

void AddPixelExpectations(CommandTable& t) {
    t[L"expect-pixel"] = {[](ScriptContext&, const Words& w) {
                              const uint32_t got = ClientPixel(Active()->editor, Number(w[1]), Number(w[2]));
                              if (got != ColourOf(w[3]))
                                  Fail(L"pixel " + w[1] + L" " + w[2] + L" is " + Hex(got));
                          }, 4};
    t[L"expect-rect"] = {[](ScriptContext&, const Words& w) {
                             const Image image = CaptureClient(Active()->editor);
                             const Area a = AreaOf(w, image);
                             const Census c = Count(image, a, ColourOf(w[5]));
                             const long others = static_cast<long>(a.right - a.left) * (a.bottom - a.top) - c.matching;
                             if (others)
                                 Fail(c.firstOther + L" (" + std::to_wstring(others) + L" pixels are not " + Hex(ColourOf(w[5])) + L")");
                         }, 6};
    t[L"expect-count"] = {[](ScriptContext&, const Words& w) {
                              const Image image = CaptureClient(Active()->editor);
                              const Census c = Count(image, AreaOf(w, image), ColourOf(w[5]));
                              if (c.matching != Number(w[6])) Fail(std::to_wstring(c.matching) + L" pixels are " + Hex(ColourOf(w[5])));
                          }, 7};
    t[L"expect-image"] = {ExpectImage, 2};
    t[L"expect-stable"] = {ExpectStable, 1};
}

}  // namespace cfgsim
