// Wide strings to and from Windows-1251 text.
#include "win/wide_text.h"

#include "text/cp1251.h"

namespace tintmark {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

std::string WideTo1251(const wchar_t* text, size_t length) {
    return Encode1251(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string WideTo1251(const std::wstring& text) { return WideTo1251(text.data(), text.size()); }

std::wstring Cp1251ToWide(const std::string& text) {
    const std::u16string u = Decode1251(text);
    return std::wstring(reinterpret_cast<const wchar_t*>(u.data()), u.size());
}

}  // namespace tintmark
