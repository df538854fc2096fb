// Images of the simulator's windows and their PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cfgsim {

// 24-bit RGB pixels, rows top to bottom.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    // The colour at (x, y) as 0xRRGGBB.
    uint32_t At(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        return (static_cast<uint32_t>(rgb[i]) << 16) | (static_cast<uint32_t>(rgb[i + 1]) << 8) | rgb[i + 2];
    }
};

bool WritePng(const std::wstring& path, const Image& image);
// Reads any 8-bit PNG as RGB (an alpha channel is dropped); false when the file is missing
// or not a PNG.
bool ReadPng(const std::wstring& path, Image& image);

}  // namespace cfgsim
