// Geometry of a themed menu item.
#include "menus/item_layout.h"

#include <algorithm>

namespace tintmark::menus {

namespace {
constexpr int kMargin = 4;        // the popup's left margin the canvas covers
constexpr int kBarTextIndent = 4;
constexpr int kImageGap = 4;      // least gap between image and text
constexpr int kTextIndent = 3;
constexpr int kShortCutGap = 10;
constexpr int kSeparatorIndent = 7;

// Mirrors x inside [left, right) of the item.
int MirrorX(int x, const Rect& item) { return item.Left + item.Right - x; }
Rect Mirror(const Rect& r, const Rect& item) { return {MirrorX(r.Right, item), r.Top, MirrorX(r.Left, item), r.Bottom}; }

ItemLayout LeftToRight(const LayoutInput& in) {
    const Rect& it = in.Item;
    ItemLayout l;
    const int w = in.HasImage ? in.ImageWidth : 0;
    const int h = in.HasImage ? in.ImageHeight : 0;
    int textLeft;
    if (in.BarItem) {
        l.Canvas = {it.Left, it.Top, it.Right, it.Bottom + 1};
        l.IconColumn = {it.Left, it.Top, it.Left, it.Bottom};
        l.ImageAt = {it.Left + kBarTextIndent, it.Top + (it.Height() - h) / 2};
        l.CheckBox = {l.ImageAt.X - 1, it.Top + 2, l.ImageAt.X + w + 1, it.Bottom - 2};
        textLeft = it.Left + kBarTextIndent;
        if (in.HasImage) textLeft = std::max(textLeft, l.ImageAt.X + w + kImageGap);
    } else {
        const int column = std::max(in.IconWidth, w);
        l.Canvas = {it.Left - kMargin, it.Top, it.Right, it.Bottom};
        l.IconColumn = {l.Canvas.Left, it.Top, it.Left + column, it.Bottom};
        if (in.HasImage) {
            l.CheckBox = {it.Left + 1, it.Top + 2, it.Left + column - 3, it.Bottom - 2};
        } else {
            const int x = it.Left + (in.IconWidth - 10) / 2, y = it.Top + (it.Height() - 10) / 2;
            l.CheckBox = {x, y, x + 10, y + 10};
        }
        l.ImageAt = {it.Left + (w < in.IconWidth ? (in.IconWidth - w) / 2 : 0), it.Top + (it.Height() - h) / 2};
        textLeft = it.Left + column;
        if (in.HasImage) textLeft = std::max(textLeft, l.ImageAt.X + w + kImageGap);
    }
    l.TextArea = {textLeft + kTextIndent, it.Top, it.Right, it.Bottom};
    l.ShortCutArea = {l.TextArea.Left, it.Top, it.Right - kShortCutGap, it.Bottom};
    const int middle = it.Top + it.Height() / 2;
    l.SeparatorFrom = {textLeft + kSeparatorIndent, middle};
    l.SeparatorTo = {it.Right, middle};
    return l;
}
}  // namespace

ItemLayout LayoutItem(const LayoutInput& in) {
    ItemLayout l = LeftToRight(in);
    if (!in.RightToLeft) return l;
    const Rect& it = in.Item;
    // Mirror the item's own parts; the canvas grows to the other side.
    l.Canvas = in.BarItem ? l.Canvas : Rect{it.Left, it.Top, it.Right + kMargin, it.Bottom};
    l.IconColumn = in.BarItem ? Rect{it.Right, it.Top, it.Right, it.Bottom}
                              : Rect{MirrorX(l.IconColumn.Right, it), it.Top, l.Canvas.Right, it.Bottom};
    l.CheckBox = Mirror(l.CheckBox, it);
    const int w = in.HasImage ? in.ImageWidth : 0;
    l.ImageAt = {MirrorX(l.ImageAt.X + w, it), l.ImageAt.Y};
    l.TextArea = Mirror(l.TextArea, it);
    l.ShortCutArea = {it.Left + kShortCutGap, it.Top, l.TextArea.Right, it.Bottom};
    // The line runs from the item's left edge up to the mirrored start.
    l.SeparatorTo = {MirrorX(l.SeparatorFrom.X, it), l.SeparatorFrom.Y};
    l.SeparatorFrom = {it.Left, l.SeparatorTo.Y};
    return l;
}

Rect PopupSelectionBox(const Rect& item, bool flatMenu, bool rightToLeft) {
    Rect r{item.Left, item.Top + 1, item.Right, item.Bottom - 1};
    if (flatMenu) (rightToLeft ? r.Left : r.Right) += rightToLeft ? 1 : -1;
    return r;
}

int CentredTextTop(const Rect& area, int heightOfW) { return area.Top + (area.Height() - heightOfW) / 2; }

int GradientLevel(int column, int iconWidth) {
    const int steep = iconWidth + 5;
    const int k = column < steep ? 3 * column : 3 * steep + (column - steep);
    return std::min(k, 96);
}

std::vector<ShapePart> BarSelectionShape(const Rect& r, bool simple) {
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    auto fill = [](Rect a, int tone) { return ShapePart{true, a, {}, tone}; };
    auto line = [](std::vector<Point> pts, int tone) { return ShapePart{false, {}, Polyline{std::move(pts)}, tone}; };
    if (simple) {
        return {line({{L, B - 1}, {L, T}, {R - 3, T}, {R - 3, B}}, -1),
                fill({R - 2, T, R, T + 2}, 0),
                fill({R - 2, T + 2, R, B}, 70)};
    }
    return {line({{L, B - 1}, {L, T}, {R - 8, T}, {R - 8, B}}, -1),
            fill({R - 7, T, R, B}, 10),
            fill({R - 7, T + 3, R - 2, B}, 30),
            fill({R - 7, T + 5, R - 3, B}, 60),
            fill({R - 7, T + 6, R - 5, B}, 100),
            line({{R - 5, T + 1}, {R - 1, T + 1}, {R - 1, T + 6}}, 0),
            line({{R - 3, T + 2}, {R - 2, T + 2}, {R - 2, T + 3}, {R - 3, T + 3}}, 0),
            line({{R - 6, T + 3}, {R - 3, T + 3}, {R - 3, T + 6}, {R - 4, T + 6}, {R - 4, T + 3}}, 10),
            line({{R - 5, T + 5}, {R - 4, T + 5}, {R - 4, T + 9}}, 30),
            line({{R - 6, T + 5}, {R - 6, T + 7}}, 40)};
}

std::vector<Stroke> CheckMarkStrokes(const Rect& box) {
    const int L = box.Left, T = box.Top, R = box.Right, B = box.Bottom;
    return {{{L + 1, T + 5}, {L + 4, B - 2}},
            {{L + 2, T + 5}, {L + 4, B - 3}},
            {{L + 2, T + 4}, {L + 5, B - 3}},
            {{L + 4, B - 3}, {R + 2, T - 1}},
            {{L + 4, B - 2}, {R - 2, T + 3}}};
}

Rect RadioDot(const Rect& box) { return {box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2}; }

}  // namespace tintmark::menus
