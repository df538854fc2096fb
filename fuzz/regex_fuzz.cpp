// Fuzz target: arbitrary expressions, modifiers and subjects through compile and run.
// Input: byte 0 = modifier bits (i r s g m x), then the expression, a NUL, the subject.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "regex/pattern.h"
#include "regex/program.h"

using namespace tintmark::regex;

namespace {
// The engine's default bounds end any run within about a second natively. Under the
// sanitizers and coverage instrumentation a step costs some fifty to a hundred times more,
// and every input is run twice, so the defaults could outlast libFuzzer's per-input timeout
// on a legitimate input and stop the run. With these bounds the slowest input (one that
// reaches the limit in both runs) takes some 20 ms, so a timeout means a real hang; they
// also keep the fuzzer fast (inputs that reach the limit are common) and let a 4 KB input
// reach the memory bound.
constexpr int64_t kFuzzStepLimit = 100000;
constexpr int64_t kFuzzBacktrackMemory = 256 * 1024;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    TPluginPattern p;
    p.SetStepLimit(kFuzzStepLimit);
    p.SetBacktrackMemory(kFuzzBacktrackMemory);
    for (int i = kModI; i <= kModX; ++i) p.WriteModifier(i, (data[0] >> (i - 1)) & 1);
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const size_t restSize = size - 1;
    const void* nul = std::memchr(rest, 0, restSize);
    const size_t patternSize = nul ? static_cast<size_t>(static_cast<const char*>(nul) - rest) : restSize;
    const std::string pattern(rest, patternSize);
    const std::string subject = nul ? std::string(rest + patternSize + 1, restSize - patternSize - 1) : "";
    try {
        p.SetExpression(pattern);
        p.CompileProgram();
        (void)DumpProgram(p.Program().data(), static_cast<int32_t>(p.Program().size()));
        if (p.Exec(subject)) {
            // Every group that took part has both ends, in order, inside the subject (which
            // ends at its first NUL); the whole match took part.
            const size_t length = std::min(subject.size(), subject.find('\0'));
            if (p.GroupStart(0) < 0) __builtin_trap();
            for (int n = 0; n <= kMaxGroups; ++n) {
                const int32_t s = p.GroupStart(n), e = p.GroupEnd(n);
                if ((s < 0) != (e < 0)) __builtin_trap();
                if (s >= 0 && (s > e || static_cast<size_t>(e) > length)) __builtin_trap();
            }
        }
        p.ExecFrom(2);
    } catch (const EPatternError&) {
    }
    return 0;
}
