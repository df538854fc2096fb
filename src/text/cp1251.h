// Windows-1251 text: case mapping and conversion to and from UTF-16 and UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tintmark {

unsigned char Lower1251(unsigned char c);
unsigned char Upper1251(unsigned char c);
void LowerInPlace1251(char* text, size_t length);

// Case-insensitive ordinal comparison over the lower-case mapping: <0, 0 or >0.
int CompareTextCi1251(std::string_view a, std::string_view b);

// Conversions; characters that Windows-1251 cannot hold become '?'.
std::u16string Decode1251(std::string_view text);
std::string Encode1251(std::u16string_view text);
std::string Utf8To1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view text);

}  // namespace tintmark
