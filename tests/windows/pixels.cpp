// Screen capture and golden images for the Windows tests.
#include "pixels.h"

#include <wincodec.h>

#include <cstdio>

#include "screenshot.h"

namespace tintmark::test {

namespace {
Image Capture(HDC src, int x, int y, int w, int h) {
    Image img;
    img.Width = w;
    img.Height = h;
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
    img.Rgb.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    const auto* p = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(w) * static_cast<size_t>(h); ++i) {
        img.Rgb[i * 3] = p[i * 4 + 2];
        img.Rgb[i * 3 + 1] = p[i * 4 + 1];
        img.Rgb[i * 3 + 2] = p[i * 4];
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return img;
}

// Decodes a PNG file with the system's imaging codecs (any PNG, compressed or not).
bool LoadPng(const std::wstring& path, Image& img) {
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return false;
    bool ok = false;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppRGB, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        img.Width = static_cast<int>(w);
        img.Height = static_cast<int>(h);
        img.Rgb.resize(static_cast<size_t>(w) * h * 3);
        ok = SUCCEEDED(converter->CopyPixels(nullptr, w * 3, static_cast<UINT>(img.Rgb.size()), img.Rgb.data()));
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    factory->Release();
    return ok;
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
