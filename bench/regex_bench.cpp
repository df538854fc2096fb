// The plugin's two method expressions run line by line, against std::regex and PCRE2.
#include <benchmark/benchmark.h>

#include <regex>

#include "module_source.h"
#include "regex/pattern.h"
#include "text/cp1251.h"

#ifdef TINTMARK_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

using namespace tintmark;

namespace {

const std::string& HeaderExpr() {
    static const std::string s =
        Utf8To1251("^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+");
    return s;
}
const std::string& EndExpr() {
    static const std::string s = Utf8To1251("^\\s*((конецпроцедуры|endprocedure)|(конецфункции|endfunction))");
    return s;
}
// std::regex and PCRE2 know neither the Russian-range modifier nor the case pairs of
// Windows-1251 (their caseless mode folds ASCII only): the same expression for them spells
// out ё/Ё in the ranges and writes every letter outside brackets as [xX], so that all three
// engines do the same work and find the same lines.
std::string CaseExpanded(const std::string& expr) {
    std::string out;
    bool inSet = false;
    for (size_t i = 0; i < expr.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(expr[i]);
        if (c == '\\' && i + 1 < expr.size()) {
            out += expr.substr(i, 2);
            ++i;
            continue;
        }
        if (c == '[') inSet = true;
        if (c == ']') inSet = false;
        const unsigned char other = regex::TPattern::DefaultSwapCase(c);
        if (!inSet && other != c) {
            out += '[';
            out += static_cast<char>(c);
            out += static_cast<char>(other);
            out += ']';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}
const std::string& HeaderExprPortable() {
    static const std::string s = CaseExpanded(Utf8To1251(
        "^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-ЯёЁ]+)+"));
    return s;
}
const std::string& EndExprPortable() {
    static const std::string s = CaseExpanded(EndExpr());
    return s;
}

const std::vector<std::string>& Corpus() {
    static const std::vector<std::string> lines = bench::LargestCorpusModule();
    return lines;
}
const std::vector<std::string>& Generated() {
    static const std::vector<std::string> lines = bench::GenerateModule(30000);
    return lines;
}
const std::vector<std::string>& Lines(int which) { return which == 0 ? Corpus() : Generated(); }

void Finish(benchmark::State& state, const std::vector<std::string>& lines, int64_t hits) {
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["matches"] = static_cast<double>(hits);
    state.SetLabel(state.range(0) == 0 ? "largest corpus module" : "generated 30000 lines");
}

void BM_Tintmark(benchmark::State& state, const std::string& expr) {
    const auto& lines = Lines(static_cast<int>(state.range(0)));
    if (lines.empty()) return state.SkipWithError("no corpus");
    regex::TPluginPattern p;
    p.SetExpression(expr);
    p.CompileProgram();
    int64_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const auto& line : lines) hits += p.Exec(line);
    }
    Finish(state, lines, hits);
}

void BM_StdRegex(benchmark::State& state, const std::string& expr) {
    const auto& lines = Lines(static_cast<int>(state.range(0)));
    if (lines.empty()) return state.SkipWithError("no corpus");
    const std::regex re(expr, std::regex::ECMAScript);
    int64_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const auto& line : lines) hits += std::regex_search(line, re);
    }
    Finish(state, lines, hits);
}

#ifdef TINTMARK_HAVE_PCRE2
void BM_Pcre2(benchmark::State& state, const std::string& expr, bool jit) {
    const auto& lines = Lines(static_cast<int>(state.range(0)));
    if (lines.empty()) return state.SkipWithError("no corpus");
    int err = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expr.c_str()), expr.size(), 0,
                                     &err, &offset, nullptr);
    if (!code) return state.SkipWithError("pcre2_compile failed");
    if (jit && pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) != 0) {
        pcre2_code_free(code);
        return state.SkipWithError("no JIT");
    }
    pcre2_match_data* md = pcre2_match_data_create_from_pattern(code, nullptr);
    int64_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const auto& line : lines)
            hits += pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(line.data()), line.size(), 0, 0, md, nullptr) > 0;
    }
    pcre2_match_data_free(md);
    pcre2_code_free(code);
    Finish(state, lines, hits);
}
#endif

void BM_Compile(benchmark::State& state, const std::string& expr) {
    for (auto _ : state) {
        regex::TPluginPattern p;
        p.SetExpression(expr);
        p.CompileProgram();
        benchmark::DoNotOptimize(p.Program().data());
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_Tintmark, header, HeaderExpr())->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Tintmark, end, EndExpr())->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_StdRegex, header, HeaderExprPortable())->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_StdRegex, end, EndExprPortable())->Arg(0)->Arg(1);
#ifdef TINTMARK_HAVE_PCRE2
BENCHMARK_CAPTURE(BM_Pcre2, header_interpreted, HeaderExprPortable(), false)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Pcre2, end_interpreted, EndExprPortable(), false)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Pcre2, header_jit, HeaderExprPortable(), true)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Pcre2, end_jit, EndExprPortable(), true)->Arg(0)->Arg(1);
#endif
BENCHMARK_CAPTURE(BM_Compile, header, HeaderExpr());
BENCHMARK_CAPTURE(BM_Compile, end, EndExpr());

BENCHMARK_MAIN();
