// Pixels read back from the screen or a window, and golden images compared byte for byte.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tintmark::test {

struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;  // rows top to bottom
    COLORREF At(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3;
        return RGB(Rgb[i], Rgb[i + 1], Rgb[i + 2]);
    }
};

// A rectangle of the screen (screen coordinates), as the display shows it.
Image CaptureScreen(const RECT& area);
// The whole of a window (its window DC).
Image CaptureWindow(HWND window);

// Compares the image with tests/windows/golden/NAME.png. On a difference (or a missing
// golden) writes NAME.new.png beside it and returns a message; an empty string means equal.
std::string CompareWithGolden(const Image& image, const std::string& name);

// Pumps the thread's messages for about ms milliseconds.
void Pump(int ms = 50);

}  // namespace tintmark::test
