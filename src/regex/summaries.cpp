// First-character analysis and the other program summaries.
#include "regex/summaries.h"

#include <cstring>
#include <array>
#include <vector>

#include "regex/program.h"

namespace tintmark::regex {

namespace {
void Add(uint8_t* set, int c) { set[c >> 3] = static_cast<uint8_t>(set[c >> 3] | (1 << (c & 7))); }
}  // namespace

// Walks every node reachable along the analysis' edges with a work list, each node once:
// the union of what they add is the same as a recursive walk's, and neither loops in the
// program nor long programs can exhaust the stack.
bool FirstCharacters(TPattern& pattern, const uint8_t* program, int32_t start, uint8_t* set, bool midLoop,
                     int32_t budget) {
    const ProgramView v{program, 0};
    std::vector<int32_t> work{start};
    std::vector<bool> seen;
    auto push = [&](int32_t node) {
        if (node < 0) return;  // a chain that runs out
        if (static_cast<size_t>(node) >= seen.size()) seen.resize(static_cast<size_t>(node) + 1, false);
        if (seen[static_cast<size_t>(node)]) return;
        seen[static_cast<size_t>(node)] = true;
        work.push_back(node);
    };
    work.clear();
    push(start);
    while (!work.empty()) {
        if (budget >= 0 && budget-- == 0) return false;
        const int32_t node = work.back();
        work.pop_back();
        const uint8_t op = v.Op(node);
        switch (op) {
            case OpEnd: case OpAnyChar: case OpAnyInLine: case OpBackRef: case OpBackRefCI:
                std::memset(set, 0xFF, 32);
                return true;  // nothing can be added to a full set
            case OpInputStart: case OpJumpBack: case OpEmpty: case OpNoOp: case OpLineStart:
            case OpWordBoundary: case OpNotWordBoundary:
                push(v.Next(node));
                break;
            case OpInputEnd: case OpLineEnd:
                Add(set, 0);
                if (op == OpLineEnd || (pattern.ModifierBits() & ModifierBit(kModM)))
                    for (char c : pattern.LineSeparatorChars()) Add(set, static_cast<unsigned char>(c));
                break;
            case OpAlternative: {
                const int32_t next = v.Next(node);
                if (next >= 0 && v.Op(next) == OpAlternative) {
                    for (int32_t alt = node; alt >= 0 && v.Op(alt) == OpAlternative; alt = v.Next(alt))
                        push(v.OperandPos(alt));
                } else {
                    push(v.OperandPos(node));
                }
                break;
            }
            case OpLiteral:
                Add(set, static_cast<unsigned char>(v.Text(node)[0]));
                break;
            case OpLiteralCI: {
                const unsigned char c = static_cast<unsigned char>(v.Text(node)[0]);
                Add(set, c);
                Add(set, pattern.CaseInverter(c));
                break;
            }
            case OpStar: case OpStarLazy:
                push(v.OperandPos(node));
                push(v.Next(node));
                break;
            case OpPlus: case OpPlusLazy:
                push(v.OperandPos(node));
                break;
            case OpRepeatRange: case OpRepeatRangeLazy:
                push(node + kRangeHeader);
                if (v.Min(node) <= 0) push(v.Next(node));
                break;
            case OpDigit:
                for (int c = '0'; c <= '9'; ++c) Add(set, c);
                break;
            case OpNonDigit:
                for (int c = 0; c < 256; ++c)
                    if (c < '0' || c > '9') Add(set, c);
                break;
            case OpLoopEntry:
                push(v.Next(node));
                break;
            case OpLoop: case OpLoopLazy:
                push(v.LoopBody(node));
                if (v.Min(node) == 0 || midLoop) push(v.Next(node));
                break;
            case OpInSet3:
                for (int i = 0; i < 3; ++i) Add(set, v.Operand(node)[i]);
                break;
            case OpNotInSet3: {
                const uint8_t* m = v.Operand(node);
                for (int c = 0; c < 256; ++c)
                    if (c != m[0] && c != m[1] && c != m[2]) Add(set, c);
                break;
            }
            case OpInSet256:
                for (int i = 0; i < 32; ++i) set[i] = static_cast<uint8_t>(set[i] | v.Operand(node)[i]);
                break;
            default:
                if (IsGroupOpen(op) || IsGroupClose(op)) {
                    push(v.Next(node));
                    break;
                }
                pattern.Fail(kCorruptedNode);
        }
    }
    return true;
}

namespace {
int32_t OperandSize(const ProgramView& v, int32_t node) {
    switch (v.Op(node)) {
        case OpLiteral: case OpLiteralCI: return static_cast<int32_t>(std::strlen(v.Text(node))) + 1;
        case OpRepeatRange: case OpRepeatRangeLazy: return 8;
        case OpLoop: case OpLoopLazy: return 12;
        case OpInSet3: case OpNotInSet3: return 3;
        case OpInSet256: return 32;
        case OpBackRef: case OpBackRefCI: return 1;
        default: return 0;
    }
}

bool IsRepeat(uint8_t op) {
    return op == OpStar || op == OpStarLazy || op == OpPlus || op == OpPlusLazy || op == OpRepeatRange ||
           op == OpRepeatRangeLazy;
}

// Every repeat node's bounds and follow set (the first characters of the node after it).
// Each follow analysis has a small budget, so that long chains of optional pieces stay
// linear; a repeat whose follow set is not found in it simply goes unfiltered.
constexpr int32_t kFollowSetBudget = 64;

void ComputeRepeats(TPattern& p, const ProgramView& v, std::vector<int32_t>& index,
                    std::vector<RepeatInfo>& repeats) {
    index.assign(static_cast<size_t>(v.size), -1);
    repeats.clear();
    for (int32_t node = 1; node + kNodeHeader <= v.size; node += kNodeHeader + OperandSize(v, node)) {
        const uint8_t op = v.Op(node);
        if (!IsRepeat(op)) continue;
        const bool range = op == OpRepeatRange || op == OpRepeatRangeLazy;
        RepeatInfo r{};
        r.min = range ? v.Min(node) : (op == OpPlus || op == OpPlusLazy) ? 1 : 0;
        r.max = range ? v.Max(node) : 2147483647;
        r.lazy = op == OpStarLazy || op == OpPlusLazy || op == OpRepeatRangeLazy;
        r.repeated = node + (range ? kRangeHeader : kNodeHeader);
        r.after = v.Next(node);
        r.lookahead = (r.after >= 0 && v.Op(r.after) == OpLiteral) ? static_cast<unsigned char>(v.Text(r.after)[0]) : -1;
        r.hasFollow = r.after >= 0 && FirstCharacters(p, v.base, r.after, r.follow.data(), true, kFollowSetBudget);
        index[static_cast<size_t>(node)] = static_cast<int32_t>(repeats.size());
        repeats.push_back(r);
    }
}

// Numbers the loops that jump back (star and plus loops on groups), one register each.
void ComputeLoopRegisters(const ProgramView& v, std::vector<int32_t>& index, int32_t& count) {
    index.assign(static_cast<size_t>(v.size), -1);
    count = 0;
    for (int32_t node = 1; node + kNodeHeader <= v.size; node += kNodeHeader + OperandSize(v, node))
        if (v.Op(node) == OpJumpBack) index[static_cast<size_t>(node)] = count++;
}

}  // namespace

void ComputeSummaries(TPattern& p, bool startsWithRepeat) {
    const uint8_t* prog = p.program_.data();
    const ProgramView v{prog, static_cast<int32_t>(p.program_.size())};
    p.startCharSet_.fill(0);
    FirstCharacters(p, prog, 1, p.startCharSet_.data());
    ComputeRepeats(p, v, p.repeatIndex_, p.repeats_);
    ComputeLoopRegisters(v, p.jumpRegister_, p.loopRegisters_);
    p.firstLiteralChar_ = 0;
    p.anchoredAtStart_ = false;
    p.requiredLiteral_.clear();
    p.requiredLiteralFolded_ = false;
    p.requiredFolded_.Clear();
    const int32_t next = v.Next(1);
    if (next < 0 || v.Op(next) != OpEnd) return;  // more than one alternative at the top
    const int32_t first = 1 + kNodeHeader;
    if (v.Op(first) == OpLiteral)
        p.firstLiteralChar_ = static_cast<unsigned char>(v.Text(first)[0]);
    else if (v.Op(first) == OpInputStart)
        p.anchoredAtStart_ = true;
    if (!startsWithRepeat) return;
    // A case-insensitive literal filters as well as an exact one, searched for by case class.
    size_t longest = 0;
    for (int32_t node = first; node >= 0; node = v.Next(node)) {
        if (v.Op(node) != OpLiteral && v.Op(node) != OpLiteralCI) continue;
        const size_t len = std::strlen(v.Text(node));
        if (len >= longest) {
            longest = len;
            p.requiredLiteral_ = v.Text(node);
            p.requiredLiteralFolded_ = v.Op(node) == OpLiteralCI;
        }
    }
    if (p.requiredLiteralFolded_) p.requiredFolded_.Assign(p.requiredLiteral_, CaseClasses(p.caseTable_));
}

}  // namespace tintmark::regex
