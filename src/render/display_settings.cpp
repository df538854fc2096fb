// Parsing of the configurator's option values and the appearance property rules.
#include "render/display_settings.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tintmark {

std::optional<int32_t> ParseRegistryInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return std::nullopt;
    uint64_t value = 0;
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

std::vector<std::string> SplitBLangItems(std::string_view value) {
    std::vector<std::string> items;
    std::string current;
    bool open = false;  // an item has started since the last separator
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ',' || c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
            items.push_back(current);
            current.clear();
            open = false;
        } else {
            current += c;
            open = true;
        }
    }
    if (open) items.push_back(current);
    return items;
}

void ApplyBLang(std::string_view value, FontSpec& font) {
    if (value.empty()) return;
    const auto items = SplitBLangItems(value);
    auto item = [&](size_t n) -> std::optional<int32_t> {
        if (n >= items.size()) return std::nullopt;
        return ParseRegistryInt(items[n]);
    };
    if (!items.empty()) font.Name = items[0];
    if (auto h = item(1)) font.Height = *h;
    if (auto w = item(3); w && *w == 700) font.Bold = true;
    if (auto it = item(2); it && *it > 0) font.Italic = true;
}

void ApplyOptionDefaults(const ModuleOptions& read, Colour systemWindowColour,
                         ConfiguratorSettings& out) {
    out.TabSize = read.TabSize < 1 || read.TabSize > kMaxTabSize ? kDefaultTabSize : read.TabSize;
    out.KeywordColor = read.KeywordColor < 0 ? kDefaultKeywordColour : read.KeywordColor;
    out.OperatorColor = read.OperatorColor < 0 ? kDefaultOperatorColour : read.OperatorColor;
    if (read.BackgroundColor == kSystemWindowMarker)
        out.BackgroundColor = systemWindowColour;
    else if (read.BackgroundColor == kUnsetMarker)
        out.BackgroundColor = kWhite;
    else
        out.BackgroundColor = read.BackgroundColor;
    out.DefaultBookMarkColor = read.BookMarkColor < 0 ? kDefaultBookMarkColour : read.BookMarkColor;
}

DisplayMetrics DeriveMetrics(const FontSpec& font, int32_t blankWidth, int32_t blankHeight, int32_t tabSize) {
    // A negative font height is the character height, a positive one the cell height; the
    // line adds about a sixth to the character height, and a fixed-pitch blank is about
    // three fifths of it wide.
    // A height of 0 (the system's choice) counts as that of the default font.
    constexpr int64_t kMaxCharHeight = 1000;
    const int64_t height = font.Height == 0 ? FontSpec{}.Height : font.Height;
    const int64_t charHeight = std::min<int64_t>(std::llabs(height), kMaxCharHeight);
    DisplayMetrics m;
    m.LineHeight =
        blankHeight > 0 ? blankHeight : static_cast<int32_t>(height < 0 ? charHeight + charHeight / 6 : charHeight);
    m.CharWidth = blankWidth > 0 ? blankWidth : static_cast<int32_t>(std::max<int64_t>(charHeight * 3 / 5, 1));
    m.TabWidth = static_cast<int32_t>(
        std::min<int64_t>(int64_t{m.CharWidth} * std::max(tabSize, 0), std::numeric_limits<int32_t>::max()));
    return m;
}

void PutColour(Appearance& a, Colour Appearance::*field, ColourFallback fallback, Colour value,
               const ConfiguratorSettings& cfg) {
    if (value == 0) {
        switch (fallback) {
            case ColourFallback::Background: value = cfg.BackgroundColor; break;
            case ColourFallback::Keyword: value = cfg.KeywordColor; break;
            case ColourFallback::BookMark: value = cfg.DefaultBookMarkColor; break;
            case ColourFallback::None: break;
        }
    }
    a.*field = value;
}

void PutSwitch(Appearance& a, bool Appearance::*field, bool value) {
    a.*field = value;
    if (field == &Appearance::DisableAutoHighlight && value) a.HighlightModeAlways = false;
}

}  // namespace tintmark
