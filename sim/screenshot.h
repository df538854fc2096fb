// Capturing what windows show.
#pragma once

#include <windows.h>

#include <string>

#include "png.h"

namespace cfgsim {

// w x h pixels of a device context from (x, y) on.
Image CaptureDc(HDC dc, int x, int y, int w, int h);
// The client area of a window as it shows now, with the caret hidden meanwhile.
Image CaptureClient(HWND window);
// The whole window, frame included.
Image CaptureWindow(HWND window);

// Saves what the window shows (its whole area) as a PNG file.
bool SaveWindowPng(HWND window, const std::wstring& path);

// The colour of a client pixel of a window as 0xRRGGBB (the caret hidden meanwhile).
uint32_t ClientPixel(HWND window, int x, int y);

}  // namespace cfgsim
