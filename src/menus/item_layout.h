// Geometry of a themed menu item: where its parts go and the shapes of the selection box,
// the bar item's stepped shadow, the check mark and the icon column's gradient.
#pragma once

#include <vector>

namespace tintmark::menus {

struct Point {
    int X = 0;
    int Y = 0;
    bool operator==(const Point& o) const { return X == o.X && Y == o.Y; }
};

// Right and bottom are exclusive.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const Rect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

struct LayoutInput {
    Rect Item;  // the item's rectangle in the menu's coordinates
    bool BarItem = false;
    bool RightToLeft = false;
    bool HasImage = false;
    int ImageWidth = 0;
    int ImageHeight = 0;
    int IconWidth = 24;
};

struct ItemLayout {
    Rect Canvas;      // the off-screen area: the item and, for popups, the menu's 4-pixel margin
    Rect IconColumn;  // from the canvas's icon side to the end of the column; empty on the bar
    Rect CheckBox;
    Point ImageAt;    // top-left corner of the image
    Rect TextArea;    // caption text, before vertical centring
    Rect ShortCutArea;  // shortcut text, aligned to its outer edge
    Point SeparatorFrom;  // separator line (the end point is not drawn)
    Point SeparatorTo;
};

ItemLayout LayoutItem(const LayoutInput& in);

// The selection box of a popup item: inset by one pixel at top and bottom, and by one at the
// side away from the icon column when popups have the flat frame.
Rect PopupSelectionBox(const Rect& item, bool flatMenu, bool rightToLeft);

// Top of text of height textHeight, centred on the height of "W" in the area.
int CentredTextTop(const Rect& area, int heightOfW);

// Lighten level of the gradient at column `column` counted from the icon side: 3 per column
// over the first iconWidth + 5 columns, 1 per column after that, at most 96.
int GradientLevel(int column, int iconWidth);

// A line from one point through the next (the last point is not drawn).
struct Polyline {
    std::vector<Point> Points;
};

// Paint of the selected bar item. Tone: -1 is the selection border colour, 0 the base colour
// itself, any other value the base colour darkened by that amount.
struct ShapePart {
    bool Fill = false;  // a filled rectangle, else a polyline
    Rect Area;
    Polyline Line;
    int Tone = 0;
};

// The selected bar item over rectangle r: a border open at the bottom and, at the right,
// either the simple two-tone strip (right-to-left menus and displays of fewer than 16 bits)
// or the stepped shadow. The selection fill of r comes first and is not part of the list.
std::vector<ShapePart> BarSelectionShape(const Rect& r, bool simple);

// The check mark in a box: five strokes of one pixel.
struct Stroke {
    Point From;
    Point To;
    bool operator==(const Stroke& o) const { return From == o.From && To == o.To; }
};
std::vector<Stroke> CheckMarkStrokes(const Rect& box);

// The filled inner circle of a radio mark: the box less 2 pixels on each side.
Rect RadioDot(const Rect& box);

}  // namespace tintmark::menus
