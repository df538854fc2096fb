// Windows-1251 tables and conversions, the same on every machine.
#include "text/cp1251.h"

#include <array>
#include <cstdint>

namespace tintmark {
namespace {
#include "text/cp1251_tables.inc"

// UTF-16 code unit -> 1251 byte, one table entry per code unit (0 = no such character in
// the code page, which the first half never needs: it maps to itself).
struct EncodeMap {
    std::array<unsigned char, 0x10000> bytes{};
    EncodeMap() {
        for (int b = 128; b < 256; ++b) bytes[kDecode1251[b]] = static_cast<unsigned char>(b);
    }
    int Find(char16_t u) const { return bytes[u] ? bytes[u] : -1; }
};

const EncodeMap& Encoder() {
    static const EncodeMap* map = new EncodeMap();
    return *map;
}

char EncodeUnit(char32_t u) {
    if (u < 0x80) return static_cast<char>(u);
    if (u > 0xFFFF) return '?';
    const int b = Encoder().Find(static_cast<char16_t>(u));
    return b < 0 ? '?' : static_cast<char>(b);
}

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}
}  // namespace

unsigned char Lower1251(unsigned char c) { return kLower1251[c]; }
unsigned char Upper1251(unsigned char c) { return kUpper1251[c]; }

void LowerInPlace1251(char* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(kLower1251[static_cast<unsigned char>(text[i])]);
}

int CompareTextCi1251(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int ca = kLower1251[static_cast<unsigned char>(a[i])];
        const int cb = kLower1251[static_cast<unsigned char>(b[i])];
        if (ca != cb) return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::u16string Decode1251(std::string_view text) {
    std::u16string out(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = kDecode1251[static_cast<unsigned char>(text[i])];
    return out;
}

std::string Encode1251(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        // A pair is one character, not in 1251; a lone surrogate leaves what follows alone.
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        out += (u >= 0xD800 && u <= 0xDFFF) ? '?' : EncodeUnit(u);
    }
    return out;
}

std::string Utf8To1251(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t u = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            u = (u << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += EncodeUnit(u);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char c : text) AppendUtf8(out, kDecode1251[c]);
    return out;
}

}  // namespace tintmark
