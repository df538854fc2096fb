// The configurator's display settings read from the registry, and the canvas that measures text.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "win/handles.h"
#include "render/display_settings.h"

namespace tintmark {

// A memory DC compatible with the screen holding the module font.
class MeasureCanvas {
public:
    explicit MeasureCanvas(const FontSpec& font);
    HDC dc() const { return dc_.get(); }
    // The size of text in the font; 0 x 0 when measuring fails.
    SIZE TextExtent(const wchar_t* text, int length) const;
    // The width of Windows-1251 text: the sum of its characters' advances, each measured once
    // (what measuring the whole string gives, without a call per string).
    int32_t Width1251(std::string_view text) const;

private:
    UniqueMemoryDc dc_;
    UniqueGdiObject font_;
    SelectGuard select_;
    mutable std::optional<std::array<int32_t, 256>> widths_;
};

// Reads a string value of an HKEY_CURRENT_USER key; nothing when the key or value is
// missing or the value is not a string.
std::optional<std::wstring> ReadRegistryString(const wchar_t* key, const wchar_t* value);

// Reads the font, tab size and colours from the configurator's options, creates the
// measuring canvas and derives line height, blank width and tab width.
void ReadDisplaySettings(ConfiguratorSettings& settings, std::optional<MeasureCanvas>& canvas,
                         DisplayMetrics& metrics);

}  // namespace tintmark
