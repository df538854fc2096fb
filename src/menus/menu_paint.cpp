// Measuring and drawing themed menu items: an off-screen canvas, the background or
// gradient, the selection, check marks, images, separators and text.
#include <string>

#include "win/handles.h"
#include "menus/item_layout.h"
#include "menus/item_measure.h"
#include "menus/menu_styler.h"
#include "menus/styler_manager.h"

namespace tintmark::menus {

namespace {
COLORREF Gdi(Rgb c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

class DcMetrics final : public TextMetrics {
public:
    explicit DcMetrics(HDC dc) : dc_(dc) {}
    int Width(std::wstring_view t) override { return Extent(t).cx; }
    int Height(std::wstring_view t) override { return Extent(t).cy; }

private:
    SIZE Extent(std::wstring_view t) {
        SIZE s{};
        GetTextExtentPoint32W(dc_, t.data(), static_cast<int>(t.size()), &s);
        return s;
    }
    HDC dc_;
};

// The item's image, from where the measuring rules say.
bool ItemImage(const TMenuItem& item, Pixels* pixels, int& width, int& height) {
    const ImageList* parentImages = item.Parent ? item.Parent->SubMenuImages : nullptr;
    const ImageList* menuImages = item.Menu ? item.Menu->Images : nullptr;
    switch (ChooseImageSource(parentImages != nullptr, menuImages != nullptr, item.ImageIndex, item.Bitmap != nullptr)) {
        case ImageSource::ParentSubMenuImages:
        case ImageSource::MenuImages: {
            const ImageList* list = parentImages ? parentImages : menuImages;
            if (item.ImageIndex < 0 || item.ImageIndex >= list->Count()) return false;
            width = list->Width();
            height = list->Height();
            if (pixels) *pixels = list->ImagePixels(item.ImageIndex);
            return true;
        }
        case ImageSource::OwnBitmap: {
            BITMAP bm{};
            GetObjectW(item.Bitmap, sizeof bm, &bm);
            width = bm.bmWidth;
            height = bm.bmHeight;
            if (pixels) *pixels = BitmapPixels(item.Bitmap);
            return true;
        }
        default:
            return false;
    }
}

// An off-screen 32-bit canvas addressed in the menu's coordinates.
class Canvas {
public:
    explicit Canvas(const Rect& area) : area_(area) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = area.Width();
        bi.bmiHeader.biHeight = -area.Height();
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap_ || !bits) throw std::bad_alloc();
        bits_ = static_cast<uint32_t*>(bits);
        dc_.reset(CreateCompatibleDC(nullptr));
        select_ = SelectGuard(dc_.get(), bitmap_.get());
        SetViewportOrgEx(dc_.get(), -area.Left, -area.Top, nullptr);
    }
    HDC Dc() const { return dc_.get(); }
    bool Inside(int x, int y) const { return x >= area_.Left && x < area_.Right && y >= area_.Top && y < area_.Bottom; }
    Rgb Get(int x, int y) {
        GdiFlush();
        const uint32_t v = bits_[Index(x, y)];
        return MakeRgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
    }
    void Set(int x, int y, Rgb c) {
        if (!Inside(x, y)) return;
        GdiFlush();
        bits_[Index(x, y)] = static_cast<uint32_t>(RedOf(c)) << 16 | static_cast<uint32_t>(GreenOf(c)) << 8 |
                             static_cast<uint32_t>(BlueOf(c));
    }
    void Fill(const Rect& r, Rgb c) {
        UniqueGdiObject brush(CreateSolidBrush(Gdi(c)));
        const RECT rr{r.Left, r.Top, r.Right, r.Bottom};
        FillRect(dc_.get(), &rr, static_cast<HBRUSH>(brush.get()));
    }
    void Line(const std::vector<Point>& points, Rgb c) {
        UniqueGdiObject pen(CreatePen(PS_SOLID, 1, Gdi(c)));
        SelectGuard select(dc_.get(), pen.get());
        MoveToEx(dc_.get(), points[0].X, points[0].Y, nullptr);
        for (size_t i = 1; i < points.size(); ++i) LineTo(dc_.get(), points[i].X, points[i].Y);
    }
    // A shape with an outline pen and a fill; kind 0 rectangle, 1 ellipse, 2 rounded box.
    void Shape(int kind, const Rect& r, Rgb pen, Rgb fill) {
        UniqueGdiObject p(CreatePen(PS_SOLID, 1, Gdi(pen)));
        UniqueGdiObject b(CreateSolidBrush(Gdi(fill)));
        SelectGuard sp(dc_.get(), p.get());
        SelectGuard sb(dc_.get(), b.get());
        if (kind == 0) Rectangle(dc_.get(), r.Left, r.Top, r.Right, r.Bottom);
        if (kind == 1) Ellipse(dc_.get(), r.Left, r.Top, r.Right, r.Bottom);
        if (kind == 2) RoundRect(dc_.get(), r.Left, r.Top, r.Right, r.Bottom, 6, 6);
    }
    void CopyTo(HDC dc) const {
        BitBlt(dc, area_.Left, area_.Top, area_.Width(), area_.Height(), dc_.get(), area_.Left, area_.Top, SRCCOPY);
    }

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y - area_.Top) * static_cast<size_t>(area_.Width()) + static_cast<size_t>(x - area_.Left);
    }
    Rect area_;
    UniqueGdiObject bitmap_;
    UniqueMemoryDc dc_;
    SelectGuard select_;
    uint32_t* bits_ = nullptr;
};

void DrawImage(Canvas& canvas, const Pixels& image, int x, int y) {
    for (int j = 0; j < image.Height; ++j)
        for (int i = 0; i < image.Width; ++i)
            if (image.Opaque[static_cast<size_t>(j * image.Width + i)]) canvas.Set(x + i, y + j, image.At(i, j));
}

bool LastBarItem(const TMenuItem& item) { return item.IsBarItem() && item.Parent->Items.back().get() == &item; }
}  // namespace

void TMenuStyler::MeasureItem(TMenuItem& item, HDC dc, int& width, int& height) {
    if (!active_) return;
    SelectGuard font(dc, font_.get());
    DcMetrics metrics(dc);
    MeasureInput in;
    in.Caption = item.Caption;
    in.ShortCut = item.ShortCut;
    in.BarItem = item.IsBarItem();
    in.HasSubItems = !item.Items.empty();
    in.HasImage = ItemImage(item, nullptr, in.ImageWidth, in.ImageHeight);
    in.IconWidth = IconWidth;
    const ItemSize size = menus::MeasureItem(in, metrics);
    width = size.Width;
    height = size.Height;
}

void TMenuStyler::DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
    if (!active_) return;
    // A failure in drawing never reaches the menu loop.
    try {
        PaintItem(item, dc, rect, state);
    } catch (...) {
    }
}

void TMenuStyler::PaintItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
    const WorkingColors& c = Colors();
    const bool bar = item.IsBarItem(), rtl = item.RightToLeft();
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool enabled = item.Enabled && !(state & (ODS_GRAYED | ODS_DISABLED));
    Pixels image;
    LayoutInput in;
    in.Item = {rect.left, rect.top, rect.right, rect.bottom};
    in.BarItem = bar;
    in.RightToLeft = rtl;
    in.HasImage = ItemImage(item, &image, in.ImageWidth, in.ImageHeight);
    in.IconWidth = IconWidth;
    ItemLayout l = LayoutItem(in);
    const Rgb barFace = DrawMenuBar ? ResolveColour(menuBarColor_) : c.BarFace;
    if (bar && DrawMenuBar && LastBarItem(item)) {
        // The last bar item paints the rest of the bar too.
        RECT client;
        GetClientRect(owner_.Handle(), &client);
        l.Canvas.Right = std::max(l.Canvas.Right, static_cast<int>(client.right) + 5);
    }
    Canvas canvas(l.Canvas);
    const Rect& r = in.Item;

    // Background.
    if (bar) {
        canvas.Fill(l.Canvas, barFace);
    } else if (Gradient && colorDepthHigh_) {
        for (int x = l.Canvas.Left; x < l.Canvas.Right; ++x) {
            const int column = rtl ? l.Canvas.Right - 1 - x : x - l.Canvas.Left;
            canvas.Fill({x, l.Canvas.Top, x + 1, l.Canvas.Bottom}, Lighten(c.IconFace, GradientLevel(column, IconWidth)));
        }
    } else {
        canvas.Fill(l.Canvas, c.MenuFace);
        canvas.Fill(l.IconColumn, c.IconFace);
    }

    // Selection, or the hot bar item under the mouse.
    if (selected && DrawSelect) {
        if (bar) {
            canvas.Fill(r, c.SelectFace);
            const bool simple = rtl || !colorDepthHigh_;
            const Rgb base = simple ? ResolveColour(menuBarColor_) : c.BarFace;
            for (const ShapePart& part : BarSelectionShape(r, simple)) {
                const Rgb colour = part.Tone == -1 ? c.SelectBorder : part.Tone == 0 ? base : Darken(base, part.Tone);
                if (part.Fill)
                    canvas.Fill(part.Area, colour);
                else
                    canvas.Line(part.Line.Points, colour);
            }
        } else if (enabled) {
            canvas.Shape(0, PopupSelectionBox(r, FlatMenu, rtl), c.SelectBorder, c.SelectFace);
        }
    } else if (bar && enabled && (state & ODS_HOTLIGHT) && system_.IsWinNT) {
        canvas.Shape(0, r, c.SelectBorder, c.SelectFace);
    }

    // Check marks.
    if (item.Checked && !item.IsSeparator()) {
        const Rgb face = selected ? c.CheckFaceSelected : c.CheckFace;
        const Rgb pen = enabled ? c.CheckPen : c.DisabledText;
        const Rgb mark = enabled ? kBlack : c.DisabledText;
        if (item.RadioItem) {
            canvas.Shape(in.HasImage ? 2 : 1, l.CheckBox, pen, face);
            if (!in.HasImage) canvas.Shape(1, RadioDot(l.CheckBox), mark, mark);
        } else {
            canvas.Shape(0, l.CheckBox, pen, face);
            if (!in.HasImage)
                for (const Stroke& s : CheckMarkStrokes(l.CheckBox)) canvas.Line({s.From, s.To}, mark);
        }
    }

    // Image.
    if (in.HasImage) {
        if (!enabled) {
            GreyImage(image, GrayLevel);
        } else if (selected && !item.Checked) {
            const std::vector<uint8_t> shadow = ShadowMask(image);
            const Rgb shade = Darken(c.SelectFace, 50);
            for (int j = 0; j < image.Height; ++j)
                for (int i = 0; i < image.Width; ++i)
                    if (shadow[static_cast<size_t>(j * image.Width + i)]) canvas.Set(l.ImageAt.X + i + 2, l.ImageAt.Y + j + 2, shade);
            l.ImageAt.X -= 1;
            l.ImageAt.Y -= 1;
        } else if (!item.Checked && colorDepthHigh_) {
            DimImage(image, DimLevel);
        }
        DrawImage(canvas, image, l.ImageAt.X, l.ImageAt.Y);
    }

    if (item.IsSeparator()) {
        canvas.Line({l.SeparatorFrom, l.SeparatorTo}, c.SeparatorPen);
    } else {
        HDC cdc = canvas.Dc();
        SelectGuard font(cdc, font_.get());
        SetBkMode(cdc, TRANSPARENT);
        SIZE w{};
        GetTextExtentPoint32W(cdc, L"W", 1, &w);
        Rgb text = ResolveColour(FontColor);
        if (!enabled) {
            text = c.DisabledText;
        } else if (selected) {
            text = bar && useSystemColors_ ? BarTextContrast(c.IconFace, ResolveColour(FontColor)) : c.SelectText;
        }
        const std::wstring caption = L" " + item.Caption;
        RECT area{l.TextArea.Left, CentredTextTop(l.TextArea, w.cy), l.TextArea.Right, l.TextArea.Bottom};
        const UINT flags = DT_SINGLELINE | DT_NOCLIP | (rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT);
        if (item.Default && enabled) {
            // Embossed: the text first at one-pixel offsets in darker tones of what lies under it.
            const Rgb under = canvas.Get(std::min(area.left, static_cast<LONG>(l.Canvas.Right - 1)),
                                         std::min(static_cast<int>(area.top) + static_cast<int>(w.cy) / 2, l.Canvas.Bottom - 1));
            const struct { int dx, dy, amount; } offsets[] = {{-1, 0, 30}, {0, -1, 30}, {1, 0, 40}, {0, 1, 60}};
            for (const auto& o : offsets) {
                RECT shifted{area.left + o.dx, area.top + o.dy, area.right + o.dx, area.bottom + o.dy};
                SetTextColor(cdc, Gdi(Darken(under, o.amount)));
                DrawTextW(cdc, caption.c_str(), -1, &shifted, flags);
            }
        }
        SetTextColor(cdc, Gdi(text));
        DrawTextW(cdc, caption.c_str(), -1, &area, flags);
        if (!item.ShortCut.empty() && !bar) {
            const std::wstring shortcut = item.ShortCut + L" ";
            RECT sc{l.ShortCutArea.Left, area.top, l.ShortCutArea.Right, area.bottom};
            DrawTextW(cdc, shortcut.c_str(), -1, &sc, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | (rtl ? DT_LEFT : DT_RIGHT));
        }
    }

    canvas.CopyTo(dc);

    if (FlatMenu && !bar) {
        auto* manager = TMenuStylerManager::Instance();
        if (!manager) return;
        const HWND app = manager->ApplicationWindow();
        MSG queued;
        if (PeekMessageW(&queued, app, MsgFlatFrameByItem, MsgFlatFrameByWindow, PM_NOREMOVE)) return;
        manager->SetFramer(this);
        if (const HWND menuWindow = WindowFromDC(dc)) {
            if (menuWindow != owner_.Handle())
                PostMessageW(app, MsgFlatFrameByWindow, rtl ? 1 : 0, reinterpret_cast<LPARAM>(menuWindow));
        } else {
            PostMessageW(app, MsgFlatFrameByItem, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
}

}  // namespace tintmark::menus
