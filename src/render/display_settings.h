// The configurator's display settings and the plugin's appearance properties (portable part).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintmark {

// Colour in the layout 0x00BBGGRR; a value with the top bit set names a system colour.
using Colour = int32_t;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kDefaultOperatorColour = 255;
constexpr Colour kDefaultKeywordColour = 255;
constexpr Colour kDefaultBookMarkColour = 0xFF0000;
constexpr int32_t kDefaultTabSize = 4;
// Tab sizes above this (or below 1) are taken for a damaged option and get the default.
constexpr int32_t kMaxTabSize = 64;
// Marker the reading uses for "no value"; the registry may hold it too.
constexpr int32_t kUnsetMarker = -2;
constexpr Colour kSystemWindowMarker = -1;

// Integer conversion of a registry string: optional leading blanks, an optional sign, then
// decimal digits, or hexadecimal after "$" or "0x" (read as 32 bits, so "$FFFFFFFF" is -1).
// Anything else, trailing characters or a decimal outside 32 bits gives no value.
std::optional<int32_t> ParseRegistryInt(std::string_view text);

struct FontSpec {
    std::string Name = "Courier";  // Windows-1251
    int32_t Height = -13;          // negative: character height in pixels
    bool Bold = false;
    bool Italic = false;
};

// Splits the items of a `BLang` value: "," and CR LF, CR or LF all end an item; a trailing
// separator adds no empty item.
std::vector<std::string> SplitBLangItems(std::string_view value);

// Applies the items of a non-empty `BLang` value: face, height, italic (> 0), weight
// (700 = bold). Each item is taken on its own; a missing or non-numeric one is skipped.
void ApplyBLang(std::string_view value, FontSpec& font);

// Values read from the editor's option keys, each preset to kUnsetMarker before reading.
struct ModuleOptions {
    int32_t TabSize = kUnsetMarker;
    Colour KeywordColor = kUnsetMarker;
    Colour OperatorColor = kUnsetMarker;
    Colour BackgroundColor = kUnsetMarker;
    Colour BookMarkColor = kUnsetMarker;
};

// The configurator's settings after the defaults by sign have been applied.
struct ConfiguratorSettings {
    FontSpec Font;
    int32_t TabSize = 0;
    Colour KeywordColor = 0;
    Colour OperatorColor = 0;
    Colour BackgroundColor = 0;
    Colour DefaultBookMarkColor = 0;
};

// Defaults by sign. A tab size below 1 or above kMaxTabSize becomes 4 (0 would be a zero
// divisor when tabs are expanded, a huge one overflows the tab width); -1 as background is
// the system window colour passed in, -2 is white, other negative backgrounds are kept.
void ApplyOptionDefaults(const ModuleOptions& read, Colour systemWindowColour,
                         ConfiguratorSettings& out);

// Line height, blank width and tab width in pixels.
struct DisplayMetrics {
    int32_t LineHeight = 0;
    int32_t CharWidth = 0;
    int32_t TabWidth = 0;
};

// The metrics from the measured size of a blank. A failed measurement (0 or less) falls
// back to values derived from the font height, so that no drawing divides by a zero line
// height; the tab width is CharWidth x tabSize, held to 32 bits.
DisplayMetrics DeriveMetrics(const FontSpec& font, int32_t blankWidth, int32_t blankHeight, int32_t tabSize);

// The appearance settings written by scripts; all 0 / false until written.
struct Appearance {
    Colour OpenBracketUnderLineColor = 0;
    Colour MethodsBorderColor = 0;
    Colour GutterColor = 0;
    Colour GutterLineColor = 0;
    Colour BookMarkColor = 0;
    Colour OpenBracketFontColor = 0;
    Colour OpenBracketBgColor = 0;
    Colour OpenBracketFrameColor = 0;
    Colour CloseBracketBgColor = 0;
    Colour CloseBracketFrameColor = 0;
    Colour CloseBracketFontColor = 0;
    Colour CloseBracketUnderLineColor = 0;
    Colour CrossLinesColor = 0;
    bool OpenBracketFontBold = false;
    bool CloseBracketFontBold = false;
    bool HighlightModeAlways = false;
    bool DisableAutoHighlight = false;
    bool EnableHorizCrossLine = false;
    bool EnableVertCrossLine = false;
    // Beyond pairs, each off until a script turns it on.
    bool HighlightMiddle = false;
    Colour MismatchColor = 0;  // 0: no mismatch marks
    bool EnglishKeywords = false;
};

// What writing 0 to a colour property stores.
enum class ColourFallback { Background, Keyword, BookMark, None };

// Stores a colour property: 0 stores the fallback's current value, anything else is kept.
void PutColour(Appearance& a, Colour Appearance::*field, ColourFallback fallback, Colour value,
               const ConfiguratorSettings& cfg);

// Stores a switch; DisableAutoHighlight set to true also clears HighlightModeAlways.
void PutSwitch(Appearance& a, bool Appearance::*field, bool value);

}  // namespace tintmark
