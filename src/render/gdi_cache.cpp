// Cached brushes, pens and fonts.
#include "render/gdi_cache.h"

#include "win/com_error.h"
#include "win/wide_text.h"

namespace tintmark {

namespace {
constexpr size_t kMaxColours = 64;  // a script cycling colours cannot grow the cache without end

template <typename Make>
HGDIOBJ Cached(std::map<COLORREF, UniqueGdiObject>& cache, COLORREF c, Make make) {
    auto it = cache.find(c);
    if (it != cache.end()) return it->second.get();
    if (cache.size() >= kMaxColours) cache.clear();
    UniqueGdiObject obj(make(c));
    if (!obj) throw ComError(E_OUTOFMEMORY, L"Cannot create a GDI object");
    return cache.emplace(c, std::move(obj)).first->second.get();
}
}  // namespace

COLORREF ResolveColour(Colour c) {
    return c < 0 ? GetSysColor(static_cast<int>(static_cast<uint32_t>(c) & 0xFF)) : static_cast<COLORREF>(c);
}

HBRUSH GdiCache::Brush(Colour c) {
    return static_cast<HBRUSH>(Cached(brushes_, ResolveColour(c), [](COLORREF x) { return CreateSolidBrush(x); }));
}

HPEN GdiCache::Pen(Colour c) {
    return static_cast<HPEN>(Cached(pens_, ResolveColour(c), [](COLORREF x) { return CreatePen(PS_SOLID, 1, x); }));
}

HFONT GdiCache::HighlightFont(const FontSpec& font, bool bold) {
    UniqueGdiObject& slot = fonts_[bold ? 1 : 0];
    if (!slot) {
        LOGFONTW lf{};
        lf.lfHeight = font.Height;
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        const std::wstring face = Cp1251ToWide(font.Name);
        lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
        slot.reset(CreateFontIndirectW(&lf));
        if (!slot) throw ComError(E_OUTOFMEMORY, L"Cannot create the highlight font");
    }
    return static_cast<HFONT>(slot.get());
}

void GdiCache::Clear() {
    brushes_.clear();
    pens_.clear();
    fonts_[0].reset();
    fonts_[1].reset();
}

}  // namespace tintmark
