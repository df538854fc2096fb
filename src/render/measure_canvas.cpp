// Registry reading of the configurator's display options and the measuring canvas.
#include "render/measure_canvas.h"

#include "win/com_error.h"
#include "win/wide_text.h"

namespace tintmark {

namespace {
const wchar_t kFontsKey[] = L"Software\\1C\\1Cv7\\7.7\\Options\\Fonts";
const wchar_t kModulesKey[] = L"Software\\1C\\1Cv7\\7.7\\Options\\Modules";
const wchar_t kTextKey[] = L"Software\\1C\\1Cv7\\7.7\\Options\\Text";

// Reads value as an integer into target; a missing, non-string or non-numeric value leaves it.
void ReadInt(const wchar_t* key, const wchar_t* value, int32_t& target) {
    if (auto text = ReadRegistryString(key, value))
        if (auto n = ParseRegistryInt(WideTo1251(*text))) target = *n;
}
}  // namespace

MeasureCanvas::MeasureCanvas(const FontSpec& font) : dc_(CreateCompatibleDC(nullptr)) {
    if (!dc_) throw ComError(E_FAIL, L"CreateCompatibleDC failed");
    LOGFONTW lf{};
    lf.lfHeight = font.Height;
    lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = Cp1251ToWide(font.Name);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    font_.reset(CreateFontIndirectW(&lf));
    if (!font_) throw ComError(E_FAIL, L"CreateFontIndirect failed");
    select_ = SelectGuard(dc_.get(), font_.get());
}

SIZE MeasureCanvas::TextExtent(const wchar_t* text, int length) const {
    SIZE size{};
    if (!GetTextExtentPoint32W(dc_.get(), text, length, &size)) return SIZE{};
    return size;
}

int32_t MeasureCanvas::Width1251(std::string_view text) const {
    if (!widths_) {
        std::array<int32_t, 256> w{};
        for (int b = 1; b < 256; ++b) {
            const std::wstring c = Cp1251ToWide(std::string(1, static_cast<char>(b)));
            w[static_cast<size_t>(b)] = TextExtent(c.data(), static_cast<int>(c.size())).cx;
        }
        widths_ = w;
    }
    int32_t sum = 0;
    for (char c : text) sum += (*widths_)[static_cast<unsigned char>(c)];
    return sum;
}

std::optional<std::wstring> ReadRegistryString(const wchar_t* key, const wchar_t* value) {
    UniqueHkey hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, hkey.put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(hkey.get(), value, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(hkey.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(size / sizeof(wchar_t));
    // A stored string need not carry its terminator; cut at the first one it does carry.
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    return text;
}

void ReadDisplaySettings(ConfiguratorSettings& settings, std::optional<MeasureCanvas>& canvas,
                         DisplayMetrics& metrics) {
    // Font. A BLang of another type than string is ignored and the defaults stay.
    FontSpec font;
    if (auto blang = ReadRegistryString(kFontsKey, L"BLang")) ApplyBLang(WideTo1251(*blang), font);
    canvas.reset();
    canvas.emplace(font);
    const SIZE blank = canvas->TextExtent(L" ", 1);  // 0 x 0 when measuring fails

    ModuleOptions read;
    ReadInt(kModulesKey, L"SCBack", read.BackgroundColor);
    ReadInt(kModulesKey, L"TabSize", read.TabSize);
    ReadInt(kModulesKey, L"SCKey", read.KeywordColor);
    ReadInt(kModulesKey, L"SCOper", read.OperatorColor);
    ReadInt(kTextKey, L"BookMarkColor", read.BookMarkColor);

    settings.Font = font;
    ApplyOptionDefaults(read, static_cast<Colour>(GetSysColor(COLOR_WINDOW)), settings);
    metrics = DeriveMetrics(font, blank.cx, blank.cy, settings.TabSize);
}

}  // namespace tintmark
