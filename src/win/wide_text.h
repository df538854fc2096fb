// Conversion between the host's wide strings and the plugin's Windows-1251 text, always
// through code page 1251 (not the machine's ANSI code page).
#pragma once

#include <string>

namespace tintmark {

std::string WideTo1251(const wchar_t* text, size_t length);
std::string WideTo1251(const std::wstring& text);
std::wstring Cp1251ToWide(const std::string& text);

}  // namespace tintmark
