// The script runner: splits lines into words and runs them through the command table.
#include "script.h"

#include <cstdio>
#include <cwctype>
#include <sstream>
#include <vector>

#include "input.h"
#include "pump.h"
#include "script_commands.h"
#include "simulator.h"

namespace cfgsim {

namespace {

Words Split(const std::wstring& line) {
    Words out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && iswspace(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring w;
        if (line[i] == L'"') {
            for (++i; i < line.size() && line[i] != L'"'; ++i) w += line[i];
            ++i;
        } else {
            while (i < line.size() && !iswspace(line[i])) w += line[i++];
        }
        out.push_back(w);
    }
    return out;
}

const CommandTable& Commands() {
    static const CommandTable table = [] {
        CommandTable t;
        AddDocumentCommands(t);
        AddPluginCommands(t);
        AddInputCommands(t);
        AddViewCommands(t);
        AddExpectations(t);
        AddPixelExpectations(t);
        return t;
    }();
    return table;
}

class Runner {
public:
    explicit Runner(const std::wstring& path) : path_(path) {
        std::wstring text = Wide(ReadFile(path));
        if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
        std::wstringstream in(text);
        std::wstring line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            lines_.push_back(line);
        }
        const size_t slash = path.find_last_of(L"\\/");
        context_.dir = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    }

    int Run() {
        ReleaseHeldInput();
        const int rc = RunLines();
        ReleaseHeldInput();
        return rc;
    }

private:
    int RunLines() {
        for (size_t i = 0; i < lines_.size(); ++i) {
            const Words w = Split(lines_[i]);
            if (w.empty() || w[0][0] == L'#') continue;
            try {
                Run(w);
            } catch (const ScriptQuit&) {
                return 0;
            } catch (const ScriptError& e) {
                const std::wstring where = path_ + L":" + std::to_wstring(i + 1);
                Simulator::Get().Log(where + L": " + e.message);
                std::fprintf(stderr, "%s: %s\n", Utf8(where).c_str(), Utf8(e.message).c_str());
                return 1;
            }
        }
        return 0;
    }

    void Run(const Words& w) {
        const auto it = Commands().find(w[0]);
        if (it == Commands().end()) throw ScriptError{L"unknown command " + w[0]};
        const Command& c = it->second;
        if (w.size() < c.minWords) throw ScriptError{L"too few arguments for " + w[0]};
        // Expectations look at the state after everything pending has happened.
        if (w[0].rfind(L"expect-", 0) == 0) Pump();
        ThrowIfRestless();
        c.run(context_, w);
        if (c.pumpAfter) Pump();
        ThrowIfRestless();
    }

    static void ThrowIfRestless() {
        if (TakeRestlessWindow()) throw ScriptError{L"a window keeps repainting itself: it never goes idle"};
    }

    std::wstring path_;
    ScriptContext context_;
    std::vector<std::wstring> lines_;
};

}  // namespace

int RunScript(const std::wstring& path) {
    try {
        return Runner(path).Run();
    } catch (const ScriptError& e) {
        std::fprintf(stderr, "%s\n", Utf8(e.message).c_str());
        return 2;
    }
}

}  // namespace cfgsim
