// Screenshots of windows as PNG files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cfgsim {

// Encodes 24-bit RGB rows (top to bottom) as a PNG file.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<uint8_t>& rgb);

// Saves what the window shows (its whole area) as a PNG file.
bool SaveWindowPng(HWND window, const std::wstring& path);

// The colour of a client pixel of a window (as GetPixel gives it).
COLORREF ClientPixel(HWND window, int x, int y);

}  // namespace cfgsim
