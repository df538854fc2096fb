// Writing and reading the configurator's option values.
#include "options.h"

#include <cwchar>
#include <vector>

namespace cfgsim {

namespace {
const wchar_t kRoot[] = L"Software\\1C\\1Cv7\\7.7\\Options\\";

bool Split(const std::wstring& name, std::wstring& key, std::wstring& value) {
    const size_t slash = name.find_first_of(L"\\/");
    if (slash == std::wstring::npos) return false;
    key = kRoot + name.substr(0, slash);
    value = name.substr(slash + 1);
    return true;
}

bool Read(const wchar_t* name, std::wstring& out) {
    std::wstring key, value;
    if (!Split(name, key, value)) return false;
    wchar_t buf[512];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return false;
    out = buf;
    return true;
}

bool ToInt(const std::wstring& s, long& out) {
    wchar_t* end = nullptr;
    const long v = std::wcstol(s.c_str(), &end, 10);
    if (s.empty() || end == s.c_str() || *end) return false;
    out = v;
    return true;
}

bool ReadInt(const wchar_t* name, long& out) {
    std::wstring s;
    return Read(name, s) && ToInt(s, out);
}

// A colour value: -1 is the system's window colour, -2 the default; another value with
// the top bit set names a system colour by its low byte.
COLORREF Colour(long v, COLORREF fallback) {
    if (v == -1) return GetSysColor(COLOR_WINDOW);
    if (v == -2) return fallback;
    if (v < 0) return GetSysColor(static_cast<int>(v & 0xFF));
    return static_cast<COLORREF>(v);
}
}  // namespace

bool SetOption(const std::wstring& name, const std::wstring& value) {
    std::wstring key, v;
    if (!Split(name, key, v)) return false;
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), v.c_str(), REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool DeleteOption(const std::wstring& name) {
    std::wstring key, v;
    if (!Split(name, key, v)) return false;
    const LONG rc = RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), v.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

void WriteDefaultOptions() {
    SetOption(L"Fonts\\BLang", L"Courier New,-13,0,400,204");
    SetOption(L"Modules\\SCBack", L"16777215");
    SetOption(L"Modules\\SCKey", L"16711680");  // blue keywords, as the configurator shows them
    SetOption(L"Modules\\SCOper", L"255");
    SetOption(L"Modules\\TabSize", L"4");
    SetOption(L"Text\\BookMarkColor", L"16711680");
}

EditorOptions ReadEditorOptions() {
    EditorOptions o;
    std::wstring blang;
    if (Read(L"Fonts\\BLang", blang) && !blang.empty()) {
        std::vector<std::wstring> items;
        size_t start = 0;
        for (size_t i = 0; i <= blang.size(); ++i)
            if (i == blang.size() || blang[i] == L',') {
                items.push_back(blang.substr(start, i - start));
                start = i + 1;
            }
        // Face, height, italic (> 0), weight (700 bold); each item on its own.
        long n;
        o.fontName = items[0];
        if (items.size() > 1 && ToInt(items[1], n)) o.fontHeight = static_cast<int>(n);
        if (items.size() > 2 && ToInt(items[2], n)) o.italic = n > 0;
        if (items.size() > 3 && ToInt(items[3], n)) o.bold = n == 700;
    }
    long v;
    if (ReadInt(L"Modules\\TabSize", v) && v > 0) o.tabSize = static_cast<int>(v);
    if (ReadInt(L"Modules\\SCBack", v)) o.background = Colour(v, o.background);
    if (ReadInt(L"Modules\\SCKey", v) && v >= 0) o.keyword = static_cast<COLORREF>(v);
    if (ReadInt(L"Modules\\SCOper", v) && v >= 0) o.oper = static_cast<COLORREF>(v);
    if (ReadInt(L"Text\\BookMarkColor", v) && v >= 0) o.bookmark = static_cast<COLORREF>(v);
    return o;
}

}  // namespace cfgsim
