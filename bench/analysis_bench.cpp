// The analysis core: scans of the visible range and of whole modules, the pair decision,
// the worst-case chunked search and the method map; heap allocations are counted.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "analysis/fixed_pitch_view.h"
#include "analysis/memory_document.h"
#include "analysis/method_map.h"
#include "analysis/mismatch.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "module_source.h"
#include "text/cp1251.h"

namespace {
std::atomic<int64_t> g_allocations{0};
}

// Every heap allocation of the process is counted (the replacement pairs malloc with free,
// which GCC cannot see through).
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace tintmark;

namespace {

MemoryDocument& Doc(int which) {
    static MemoryDocument corpus(bench::LargestCorpusModule());
    static MemoryDocument generated(bench::GenerateModule(30000));
    return which == 0 ? corpus : generated;
}

int64_t Bytes(MemoryDocument& doc, int32_t first, int32_t count) {
    int64_t n = 0;
    for (int32_t l = first; l < first + count && l < doc.LineCount(); ++l) n += doc.LineLength(l) + 2;
    return n;
}

Analysis& Fresh() {
    static Analysis a;
    if (a.Keywords.KeyWordCount == 0) {
        BuildKeyWordTable(a.Keywords);
        a.KeyWordsMap.SetLength(128);
        a.MethMap.SetLength(128);
    }
    return a;
}

// Allocations per iteration, measured after the first (warm-up) iteration.
struct AllocationCounter {
    int64_t start = -1;
    int64_t iterations = 0;
    void Tick() {
        if (start < 0) start = g_allocations.load();
        else ++iterations;
    }
    void Report(benchmark::State& state) {
        state.counters["allocs/iter"] =
            iterations ? static_cast<double>(g_allocations.load() - start) / static_cast<double>(iterations) : 0;
    }
};

void BM_ScanVisible(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    Analysis& a = Fresh();
    int32_t first = 0;
    int64_t bytes = 0;
    AllocationCounter allocs;
    for (auto _ : state) {
        allocs.Tick();
        ScanLines(doc, first, 50, a.Keywords, a.KeyWordsMap, a.ScanBuffer);
        bytes += Bytes(doc, first, 50);
        first = (first + 37) % (doc.LineCount() - 50);
    }
    allocs.Report(state);
    state.SetBytesProcessed(bytes);
}

// Carets on every 17th token of the plain scan, 500 at most.
std::vector<std::pair<int32_t, int32_t>> Carets(MemoryDocument& doc) {
    Analysis& a = Fresh();
    std::vector<std::pair<int32_t, int32_t>> carets;
    ScanLines(doc, 0, doc.LineCount(), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    for (int32_t i = 0; i < a.KeyWordsMap.Count() && carets.size() < 500; i += 17)
        carets.emplace_back(a.KeyWordsMap[i].Line, a.KeyWordsMap[i].StartCol + 1);
    return carets;
}

Analysis& Full();

// Second argument 1: English and middle words known, the middle-word highlight on.
void BM_ScanVisibleAndPair(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    const bool beyond = state.range(1) != 0;
    Analysis& a = beyond ? Full() : Fresh();
    FixedPitchView view(0, 40);
    PairSettings settings;
    settings.LineHeight = 16;
    settings.HighlightMiddle = beyond;
    const auto carets = Carets(doc);  // before the loop: it scans with the plain table
    size_t k = 0;
    AllocationCounter allocs;
    for (auto _ : state) {
        allocs.Tick();
        const auto [line, col] = carets[k++ % carets.size()];
        view.SetFirstVisibleLine(std::max(line - 20, 0));
        doc.MoveCaret(line, col, line, col);
        ScanLines(doc, view.FirstVisibleLine(), 50, a.Keywords, a.KeyWordsMap, a.ScanBuffer);
        benchmark::DoNotOptimize(HighlightPair(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair));
        view.calls.clear();
    }
    allocs.Report(state);
}

void BM_ScanWhole(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    Analysis& a = Fresh();
    const int64_t bytes = Bytes(doc, 0, doc.LineCount());
    AllocationCounter allocs;
    for (auto _ : state) {
        allocs.Tick();
        ScanLines(doc, 0, doc.LineCount(), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    }
    allocs.Report(state);
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["entries"] = a.KeyWordsMap.Count();
}

// Only the walk over text already fetched and lowered (what the scanner itself costs).
void BM_ScanTextOnly(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    Analysis& a = Fresh();
    std::string text = doc.RangeText(0, 0, doc.LineCount() - 1, doc.LineLength(doc.LineCount() - 1));
    LowerInPlace1251(text.data(), text.size());
    for (auto _ : state) ScanText(text.data(), text.size(), 0, a.Keywords, a.KeyWordsMap);
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}

void BM_FindPairWorstCase(benchmark::State& state) {
    std::vector<std::string> lines = bench::GenerateModule(30000);
    lines[0] = Utf8To1251("Если (А Тогда");  // an opener with no partner on the first line
    MemoryDocument doc(lines);
    Analysis& a = Fresh();
    FixedPitchView view(0, 40);
    PairSettings settings;
    AllocationCounter allocs;
    for (auto _ : state) {
        allocs.Tick();
        doc.MoveCaret(0, 6, 0, 6);
        PartnerPosition p;
        benchmark::DoNotOptimize(FindPairPosition(a, doc, view, settings, kReportPartner, &p));
    }
    allocs.Report(state);
}

void BM_BuildMethMap(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    Analysis& a = Fresh();
    ScanLines(doc, 0, doc.LineCount(), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    const TKeyWordsMap whole = a.KeyWordsMap;
    for (auto _ : state) BuildMethMap(whole, nullptr, state.range(1) != 0, a.MethMap);
    state.counters["methods"] = a.MethMap.Count();
}

// With English spellings and middle words known: the whole module checked for mismatches
// (what CheckBlocks costs besides reading the text from the host and writing the lines).
Analysis& Full() {
    static Analysis a;
    if (a.Keywords.KeyWordCount == 0) BuildKeyWordTable(a.Keywords, KeywordOptions{true, true});
    return a;
}

void BM_CheckBlocks(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    Analysis& a = Full();
    size_t found = 0;
    for (auto _ : state) found = CheckDocumentBlocks(doc, a.Keywords, a.KeyWordsMap, a.ScanBuffer).size();
    state.counters["mismatches"] = static_cast<double>(found);
    state.counters["entries"] = a.KeyWordsMap.Count();
}

// The marks of one screen: the scan reaches out to the methods around it.
void BM_MismatchesInView(benchmark::State& state) {
    MemoryDocument& doc = Doc(static_cast<int>(state.range(0)));
    Analysis& a = Full();
    int32_t first = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MismatchesInLines(doc, a.Keywords, first, first + 40, a.KeyWordsMap, a.ScanBuffer));
        first = (first + 37) % (doc.LineCount() - 50);
    }
}

}  // namespace

BENCHMARK(BM_ScanVisible)->Arg(0)->Arg(1);
BENCHMARK(BM_ScanVisibleAndPair)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1});
BENCHMARK(BM_ScanWhole)->Arg(0)->Arg(1);
BENCHMARK(BM_ScanTextOnly)->Arg(0)->Arg(1);
BENCHMARK(BM_FindPairWorstCase);
BENCHMARK(BM_CheckBlocks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MismatchesInView)->Arg(0)->Arg(1);
BENCHMARK(BM_BuildMethMap)->Args({0, 0})->Args({1, 0})->Args({1, 1});

BENCHMARK_MAIN();
