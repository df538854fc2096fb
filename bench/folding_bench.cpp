// Folding plans over whole modules: the portable part of CollapseAll and ExpandAll (split,
// scan, plan), on the largest corpus module and a generated 30,000-line module.
#include <benchmark/benchmark.h>

#include "analysis/folding.h"
#include "analysis/keywords.h"
#include "analysis/scanner.h"
#include "module_source.h"
#include "text/cp1251.h"

using namespace tintmark;

namespace {

struct Module {
    std::u16string text;
    KeywordTable table;
    regex::TPluginPattern header, end;
    explicit Module(const std::vector<std::string>& lines) {
        std::string joined;
        for (size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
        text = Decode1251(joined);
        BuildKeyWordTable(table);
        header.SetExpression(Utf8To1251("^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+"));
        header.CompileProgram();
        end.SetExpression(Utf8To1251("^\\s*((конецпроцедуры|endprocedure)|(конецфункции|endfunction))"));
        end.CompileProgram();
    }
    TKeyWordsMap Scan(const Lines16& lines) const {
        TKeyWordsMap map;
        std::string t = ScanTextOf(lines);
        ScanText(t.data(), t.size(), 0, table, map);
        return map;
    }
};

Module& Get(int which) {
    static Module corpus(bench::LargestCorpusModule());
    static Module generated(bench::GenerateModule(30000));
    return which == 0 ? corpus : generated;
}

void BM_CollapseAllPlan(benchmark::State& state) {
    Module& m = Get(static_cast<int>(state.range(0)));
    size_t folded = 0;
    for (auto _ : state) {
        const Lines16 lines = SplitLines(m.text);
        CollapsePlan plan = PlanCollapseAll(lines, m.Scan(lines), m.header, m.end, [](const std::string&) { return false; });
        const std::u16string out = JoinLines(plan.document);
        folded = plan.folded.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["methods"] = static_cast<double>(folded);
}

void BM_ExpandAllPlan(benchmark::State& state) {
    Module& m = Get(static_cast<int>(state.range(0)));
    const Lines16 original = SplitLines(m.text);
    CollapsePlan collapsed = PlanCollapseAll(original, m.Scan(original), m.header, m.end, [](const std::string&) { return false; });
    FoldedBlockMap folded;
    for (auto& f : collapsed.folded) folded.emplace(f.name, f.kept);
    const std::u16string text = JoinLines(collapsed.document);
    for (auto _ : state) {
        const Lines16 lines = SplitLines(text);
        ExpandPlan plan = PlanExpandAll(lines, m.header, m.end, m.Scan(lines), folded);
        const std::u16string out = JoinLines(plan.document);
        benchmark::DoNotOptimize(out.data());
    }
}

}  // namespace

// 0: the largest corpus module; 1: a generated 30,000-line module.
BENCHMARK(BM_CollapseAllPlan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAllPlan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
