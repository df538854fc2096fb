// Window capture through a DIB section.
#include "screenshot.h"

namespace cfgsim {

Image CaptureDc(HDC src, int x, int y, int w, int h) {
    Image image;
    if (w <= 0 || h <= 0) return image;
    HDC mem = CreateCompatibleDC(src);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(src, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, src, x, y, SRCCOPY);
    GdiFlush();
    image.width = w;
    image.height = h;
    image.rgb.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    const uint8_t* p = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(w) * static_cast<size_t>(h); ++i) {
        image.rgb[i * 3] = p[i * 4 + 2];
        image.rgb[i * 3 + 1] = p[i * 4 + 1];
        image.rgb[i * 3 + 2] = p[i * 4];
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return image;
}

Image CaptureClient(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    // The blinking caret would make pixels depend on the moment.
    const bool hidden = HideCaret(window) != FALSE;
    HDC dc = GetDC(window);
    Image image = CaptureDc(dc, 0, 0, rc.right, rc.bottom);
    ReleaseDC(window, dc);
    if (hidden) ShowCaret(window);
    return image;
}

Image CaptureWindow(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    const bool hidden = HideCaret(nullptr) != FALSE;
    HDC dc = GetWindowDC(window);
    Image image = CaptureDc(dc, 0, 0, rc.right - rc.left, rc.bottom - rc.top);
    ReleaseDC(window, dc);
    if (hidden) ShowCaret(nullptr);
    return image;
}

bool SaveWindowPng(HWND window, const std::wstring& path) { return WritePng(path, CaptureWindow(window)); }

uint32_t ClientPixel(HWND window, int x, int y) {
    const bool hidden = HideCaret(window) != FALSE;
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    if (hidden) ShowCaret(window);
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace cfgsim
