// Helpers of the script commands.
#include <cstdio>
#include <cwchar>

#include "script_commands.h"

namespace cfgsim {

std::wstring ScriptContext::Path(const std::wstring& p) const {
    if (p.size() > 1 && (p[1] == L':' || p[0] == L'\\' || p[0] == L'/')) return p;
    return dir + p;
}

long Number(const std::wstring& s) {
    wchar_t* end = nullptr;
    const long long v = std::wcstoll(s.c_str(), &end, 0);
    if (s.empty() || *end) throw ScriptError{L"not a number: " + s};
    return static_cast<long>(v);
}

bool Has(const Words& w, const wchar_t* flag) {
    for (size_t i = 1; i < w.size(); ++i)
        if (w[i] == flag) return true;
    return false;
}

bool OnOff(const std::wstring& s) {
    if (s == L"on") return true;
    if (s == L"off") return false;
    throw ScriptError{L"on or off expected: " + s};
}

Modifiers ModifiersOf(const Words& w) { return Modifiers{Has(w, L"shift"), Has(w, L"ctrl"), Has(w, L"alt")}; }

std::string ReadFile(const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) throw ScriptError{L"cannot read " + path};
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    std::fclose(f);
    return data;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (!f || std::fclose(f) != 0 || !ok) throw ScriptError{L"cannot write " + path};
}

Document* Active() {
    Document* d = Simulator::Get().ActiveDocument();
    if (!d || !d->editor) throw ScriptError{L"no active editor"};
    return d;
}

Document* Named(const std::wstring& name) {
    Document* d = Simulator::Get().DocumentByName(name);
    if (!d) throw ScriptError{L"no window " + name};
    return d;
}

void Fail(const std::wstring& what) { throw ScriptError{L"expectation failed: " + what}; }

std::wstring Hex(uint32_t rgb) {
    wchar_t text[16];
    swprintf(text, 16, L"%06X", rgb & 0xFFFFFFu);
    return text;
}

}  // namespace cfgsim

namespace cfgsim {

uint32_t ColourOf(const std::wstring& s) {
    const std::wstring digits = !s.empty() && s[0] == L'#' ? s.substr(1) : s;
    if (digits.size() == 6 && digits.find_first_not_of(L"0123456789abcdefABCDEF") == std::wstring::npos)
        return static_cast<uint32_t>(std::wcstoul(digits.c_str(), nullptr, 16));
    return static_cast<uint32_t>(Number(s));
}

}  // namespace cfgsim
