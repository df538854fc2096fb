// tmk regex: compiles an expression with the plugin's expression class and runs it once.
#include <cstdio>

#include "commands.h"
#include "regex/pattern.h"
#include "regex/program.h"
#include "text/cp1251.h"

namespace tintmark::tmk {

namespace {
std::string FromHex(const std::string& hex) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2) throw UsageError{"odd number of hex digits: " + hex};
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
        if (hi < 0 || lo < 0) throw UsageError{"not hexadecimal: " + hex};
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}
}  // namespace

int RunRegex(const Args& args) {
    std::string mods;
    bool hex = false, dump = false;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--modifiers") {
            if (++i >= args.size()) throw UsageError{"--modifiers needs a value"};
            mods = args[i];
        } else if (args[i] == "--hex") {
            hex = true;
        } else if (args[i] == "--dump") {
            dump = true;
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 2 && !(dump && rest.size() == 1)) throw UsageError{"regex needs PATTERN and SUBJECT"};
    auto convert = [&](const std::string& s) { return hex ? FromHex(s) : Utf8To1251(s); };
    const std::string pattern = convert(rest[0]);

    regex::TPluginPattern p;
    uint32_t bits = p.ModifierBits();
    if (!regex::ApplyModifierString(mods, bits)) throw UsageError{"bad modifiers: " + mods};
    for (int index = regex::kModI; index <= regex::kModX; ++index)
        p.WriteModifier(index, (bits & regex::ModifierBit(index)) != 0);
    p.SetExpression(pattern);
    try {
        if (dump) {
            p.CompileProgram();
            std::fputs(regex::DumpProgram(p.Program().data(), static_cast<int32_t>(p.Program().size())).c_str(),
                       stdout);
            if (rest.size() == 1) return 0;
        }
        const std::string subject = convert(rest[1]);
        if (!p.Exec(subject)) {
            std::puts("nomatch");
            return 0;
        }
        std::printf("match\t%d\t%d\n", p.GroupStart(0), p.GroupEnd(0));
        for (int n = 1; n <= regex::kMaxGroups; ++n)
            if (p.GroupStart(n) >= 0 && p.GroupEnd(n) >= 0)
                std::printf("group\t%d\t%d\t%d\n", n, p.GroupStart(n), p.GroupEnd(n));
    } catch (const regex::EPatternError& e) {
        std::printf("error\t%d\t%s\n", e.Code, e.what());
    }
    return 0;
}

}  // namespace tintmark::tmk
