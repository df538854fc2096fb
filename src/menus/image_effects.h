// Pixel effects on menu images: dimmed, grey and the shadow of a selected image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "menus/colour_math.h"

namespace tintmark::menus {

// An image's pixels, rows top to bottom; Opaque marks the pixels the image paints.
struct Pixels {
    int Width = 0;
    int Height = 0;
    std::vector<Rgb> Colour;
    std::vector<uint8_t> Opaque;
    Rgb& At(int x, int y) { return Colour[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
    Rgb At(int x, int y) const { return Colour[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
};

// Every pixel p becomes Lighten(p, level): the look of an enabled, unselected image.
void DimImage(Pixels& image, int level);

// Every pixel p becomes Lighten(GreyOf(p, grayLevel), 40): the look of a disabled image.
void GreyImage(Pixels& image, int grayLevel);

// The pixels that cast the selected image's shadow: those that differ from the colour of
// the bottom-left pixel (the image's background), and are painted at all.
std::vector<uint8_t> ShadowMask(const Pixels& image);

// Marks as transparent every pixel of the colour of the bottom-left one (an image without
// a mask of its own).
void MaskByBottomLeft(Pixels& image);

}  // namespace tintmark::menus
