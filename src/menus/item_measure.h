// Measuring rules of a themed menu item: which image it shows, the text it is measured by,
// and its width and height.
#pragma once

#include <string>
#include <string_view>

namespace tintmark::menus {

// Measures text in the styler's font.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int Width(std::wstring_view text) = 0;
    virtual int Height(std::wstring_view text) = 0;
};

// Where an item's image comes from: the parent item's sub-menu images, the menu's images
// (both only with an image index other than -1), else the item's own bitmap.
enum class ImageSource { None, ParentSubMenuImages, MenuImages, OwnBitmap };
ImageSource ChooseImageSource(bool parentHasSubMenuImages, bool menuHasImages, int imageIndex, bool hasOwnBitmap);

bool IsSeparatorCaption(std::wstring_view caption);

// The text an item is measured by: the caption (empty for a separator); with a shortcut,
// the caption, "WWW" and the shortcut text.
std::wstring MeasuredText(std::wstring_view caption, std::wstring_view shortcut);

struct MeasureInput {
    std::wstring_view Caption;
    std::wstring_view ShortCut;  // empty: no shortcut
    bool BarItem = false;        // one of the main menu's top items
    bool HasSubItems = false;
    bool HasImage = false;
    int ImageWidth = 0;
    int ImageHeight = 0;
    int IconWidth = 24;
};

struct ItemSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const ItemSize& o) const { return Width == o.Width && Height == o.Height; }
};

ItemSize MeasureItem(const MeasureInput& in, TextMetrics& metrics);

}  // namespace tintmark::menus
