// Measuring rules of a themed menu item.
#include "menus/item_measure.h"

#include <algorithm>

namespace tintmark::menus {

ImageSource ChooseImageSource(bool parentHasSubMenuImages, bool menuHasImages, int imageIndex, bool hasOwnBitmap) {
    if (imageIndex != -1) {
        if (parentHasSubMenuImages) return ImageSource::ParentSubMenuImages;
        if (menuHasImages) return ImageSource::MenuImages;
    }
    return hasOwnBitmap ? ImageSource::OwnBitmap : ImageSource::None;
}

bool IsSeparatorCaption(std::wstring_view caption) { return caption == L"-"; }

std::wstring MeasuredText(std::wstring_view caption, std::wstring_view shortcut) {
    std::wstring text = IsSeparatorCaption(caption) ? std::wstring() : std::wstring(caption);
    if (!shortcut.empty()) {
        text += L"WWW";
        text += shortcut;
    }
    return text;
}

ItemSize MeasureItem(const MeasureInput& in, TextMetrics& metrics) {
    const std::wstring text = MeasuredText(in.Caption, in.ShortCut);
    ItemSize size;
    size.Width = metrics.Width(text) + 5;
    if (text.find(L'&') != std::wstring::npos) size.Width -= metrics.Width(L"&");
    if (!in.BarItem && in.HasSubItems) size.Width += 6;

    int imageWidth = in.HasImage ? in.ImageWidth : 0;
    const int imageHeight = in.HasImage ? in.ImageHeight : 0;
    if (!in.BarItem) imageWidth = std::max(imageWidth, in.IconWidth);
    size.Width += std::max(0, imageWidth);

    if (IsSeparatorCaption(in.Caption)) {
        size.Height = 4;
    } else {
        const int h = metrics.Height(text);
        size.Height = std::max(h + (3 * h + 2) / 4, imageHeight + 6);  // h + round(0.75 h)
    }
    return size;
}

}  // namespace tintmark::menus
