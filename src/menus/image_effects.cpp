// Pixel effects on menu images.
#include "menus/image_effects.h"

namespace tintmark::menus {

namespace {
Rgb BottomLeft(const Pixels& image) { return image.Height > 0 && image.Width > 0 ? image.At(0, image.Height - 1) : 0; }
}  // namespace

void DimImage(Pixels& image, int level) {
    for (Rgb& p : image.Colour) p = Lighten(p, level);
}

void GreyImage(Pixels& image, int grayLevel) {
    for (Rgb& p : image.Colour) p = Lighten(GreyOf(p, grayLevel), 40);
}

std::vector<uint8_t> ShadowMask(const Pixels& image) {
    const Rgb background = BottomLeft(image);
    std::vector<uint8_t> mask(image.Colour.size(), 0);
    for (size_t i = 0; i < mask.size(); ++i) {
        const bool painted = i < image.Opaque.size() ? image.Opaque[i] != 0 : true;
        mask[i] = painted && image.Colour[i] != background ? 1 : 0;
    }
    return mask;
}

void MaskByBottomLeft(Pixels& image) {
    const Rgb background = BottomLeft(image);
    image.Opaque.assign(image.Colour.size(), 1);
    for (size_t i = 0; i < image.Colour.size(); ++i)
        if (image.Colour[i] == background) image.Opaque[i] = 0;
}

}  // namespace tintmark::menus
