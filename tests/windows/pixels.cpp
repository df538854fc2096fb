// Screen capture and golden images for the Windows tests.
#include "pixels.h"

#include <cstdio>

#include "screenshot.h"

namespace tintmark::test {

namespace {
Image FromSim(const cfgsim::Image& i) { return Image{i.width, i.height, i.rgb}; }

Image Capture(HDC src, int x, int y, int w, int h) { return FromSim(cfgsim::CaptureDc(src, x, y, w, h)); }

bool LoadPng(const std::wstring& path, Image& img) {
    cfgsim::Image read;
    if (!cfgsim::ReadPng(path, read)) return false;
    img = FromSim(read);
    return true;
}
}  // namespace

Image CaptureScreen(const RECT& area) {
    HDC screen = GetDC(nullptr);
    Image img = Capture(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    return img;
}

Image CaptureWindow(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    HDC dc = GetWindowDC(window);
    Image img = Capture(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    ReleaseDC(window, dc);
    return img;
}

std::string CompareWithGolden(const Image& image, const std::string& name) {
    const std::string dir = TINTMARK_GOLDEN_DIR;
    const std::wstring golden(dir.begin(), dir.end());
    const std::wstring base = golden + L"/" + std::wstring(name.begin(), name.end());
    const std::wstring fresh = base + L".new.png";
    Image expected;
    const bool found = LoadPng(base + L".png", expected);
    if (found && expected.Width == image.Width && expected.Height == image.Height && expected.Rgb == image.Rgb) {
        _wremove(fresh.c_str());
        return "";
    }
    cfgsim::Image png;
    png.width = image.Width;
    png.height = image.Height;
    png.rgb = image.Rgb;
    if (!cfgsim::WritePng(fresh, png)) return "cannot write " + name + ".new.png";
    return found ? "differs from " + name + ".png; wrote " + name + ".new.png"
                 : "no golden image " + name + ".png; wrote " + name + ".new.png";
}

void Pump(int ms) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(until - GetTickCount()) > 0);
}

}  // namespace tintmark::test
