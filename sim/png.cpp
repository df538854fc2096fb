// PNG encoding and decoding through the stb image libraries.
#include "png.h"

#include <cstdio>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace cfgsim {

namespace {
void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}
}  // namespace

bool WritePng(const std::wstring& path, const Image& image) {
    std::vector<uint8_t> bytes;
    if (image.width <= 0 || image.height <= 0 ||
        !stbi_write_png_to_func(Append, &bytes, image.width, image.height, 3, image.rgb.data(), image.width * 3))
        return false;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadPng(const std::wstring& path, Image& image) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 3);
    if (!pixels) return false;
    image.width = w;
    image.height = h;
    image.rgb.assign(pixels, pixels + static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    stbi_image_free(pixels);
    return true;
}

}  // namespace cfgsim
