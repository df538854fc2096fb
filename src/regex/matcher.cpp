// The matcher: leftmost search over the stored subject, backtracking through the program in
// program order. The choices it can go back to live on a stack on the heap, so neither the
// length of the line nor the expression can exhaust the thread's stack; memory and steps
// are bounded so that no run can take the host down.
#include <algorithm>
#include <cstring>

#include "regex/heap_stack.h"
#include "regex/pattern.h"
#include "regex/program.h"

namespace tintmark::regex {

namespace {

// The matcher's restorable state, one int each: what backtracking must put back.
constexpr int32_t kSlotGroupStart = 0;                                 // + group 0..14
constexpr int32_t kSlotGroupEnd = kSlotGroupStart + kMaxGroups + 1;    // + group 0..14
constexpr int32_t kSlotCounter = kSlotGroupEnd + kMaxGroups + 1;       // + loop level 0..10
constexpr int32_t kSlotPassStart = kSlotCounter + kMaxLoopLevels + 1;  // + loop level 0..10
constexpr int32_t kSlotLevel = kSlotPassStart + kMaxLoopLevels + 1;
constexpr int32_t kSlotLoopRegisters = kSlotLevel + 1;                 // + loop register

// Choices not yet tried, resumed in the order a recursive backtracking matcher would try
// them. Going back to a choice first undoes every change logged after it was made.
enum ChoiceKind : int32_t {
    kNextAlternative,  // a the alternative to try, b the position
    kNextCount,        // a the repeat node, b its start position, c the next count, d the count found
    kLeaveLoop,        // a the greedy loop node, b the position: go on past the loop
    kLoopPass,         // a the lazy loop node, b the position: one more pass through the body
};

constexpr int32_t kMatched = -2;  // the node "after" OpEnd

bool Has(const uint8_t* set, uint8_t c) { return (set[c >> 3] >> (c & 7)) & 1; }

}  // namespace

class Matcher {
public:
    using UndoEntry = TPattern::UndoEntry;
    using ChoiceEntry = TPattern::ChoiceEntry;

    explicit Matcher(TPattern& p)
        : p_(p), v_{p.program_.data(), static_cast<int32_t>(p.program_.size())},
          s_(reinterpret_cast<const uint8_t*>(p.subject_.data())),
          end_(static_cast<int32_t>(p.subject_.size()) - 1),  // the stored subject holds no NUL before its end
          budget_{static_cast<size_t>(p.backtrackMemory_), 0}, undo_(p.undoStore_, budget_),
          choices_(p.choiceStore_, budget_), stepLimit_(p.stepLimit_) {
        pairHead_ = static_cast<uint8_t>(p.pairHead_);
        pairTail_ = static_cast<uint8_t>(p.pairTail_);
        pair_ = p.pairAssigned_;
        // Groups start absent and loop registers at no position (all bits set is -1); the
        // counters and pass starts are set when their loop is entered.
        std::vector<int32_t>& slots = p.matchSlots_;
        slots.resize(static_cast<size_t>(kSlotLoopRegisters + p.loopRegisters_));
        slots_ = slots.data();
        std::memset(slots_ + kSlotGroupStart, 0xFF, sizeof(int32_t) * 2 * (kMaxGroups + 1));
        for (int32_t r = 0; r < p.loopRegisters_; ++r) slots_[kSlotLoopRegisters + r] = -1;
        slots_[kSlotLevel] = 0;
    }

    bool Search(int32_t first) {
        try {
            return FindFirst(first);
        } catch (...) {
            PublishGroups();  // an error ends the run with the groups as they stood
            throw;
        }
    }

private:
    bool FindFirst(int32_t first) {
        const std::string& req = p_.requiredLiteral_;
        if (!req.empty()) {
            const bool found = p_.requiredLiteralFolded_
                                   ? p_.requiredFolded_.OccursIn(s_ + first)
                                   : std::strstr(reinterpret_cast<const char*>(s_ + first), req.c_str()) != nullptr;
            if (!found) return false;
        }
        // The start set only filters: a position whose character cannot begin a match is
        // not attempted.
        if (p_.anchoredAtStart_) return p_.StartCharSetHas(s_[first]) && Attempt(first);
        if (const uint8_t c = p_.firstLiteralChar_) {
            for (int32_t at = first; at < end_; ++at) {
                const void* hit = std::memchr(s_ + at, c, static_cast<size_t>(end_ - at));
                if (!hit) return false;
                at = static_cast<int32_t>(static_cast<const uint8_t*>(hit) - s_);
                if (Attempt(at)) return true;
            }
            return false;
        }
        for (int32_t at = first; at <= end_; ++at)
            if (p_.StartCharSetHas(s_[at]) && Attempt(at)) return true;
        return false;
    }

    // One attempt at a start position. A failed attempt has undone everything it set, so the
    // slots are as at the start of the run and both stacks are empty.
    bool Attempt(int32_t at);

    // The groups' positions into the results (group 0 is the attempt's business).
    void PublishGroups() {
        for (int n = 1; n <= kMaxGroups; ++n) {
            p_.groupStart_[static_cast<size_t>(n)] = slots_[kSlotGroupStart + n];
            p_.groupEnd_[static_cast<size_t>(n)] = slots_[kSlotGroupEnd + n];
        }
    }

    uint8_t Cur() const { return s_[pos_]; }
    bool IsLineSep(uint8_t c) const { return Has(p_.lineSeparatorSet_.data(), c); }
    bool IsWord(int32_t at) const { return at >= 0 && at < end_ && Has(p_.wordSet_.data(), s_[at]); }
    uint8_t Inv(uint8_t c) const { return p_.CaseInverter(c); }

    // Counts work: one per node visited, one per character compared or counted.
    void Charge(int64_t steps) {
        steps_ += steps;
        if (steps_ > stepLimit_) p_.Fail(kStepLimitExceeded);
    }

    // Remembers a choice to come back to.
    void Push(int32_t kind, int32_t a, int32_t b, int32_t c = 0, int32_t d = 0) {
        if (choices_.Full() && !choices_.Grow()) p_.Fail(kMatchTooDeep);
        choices_.Push(ChoiceEntry{kind, a, b, c, d, static_cast<uint32_t>(undo_.Size())});
    }
    // Changes a slot so that going back to an earlier choice puts it back.
    void Set(int32_t slot, int32_t value) {
        if (slots_[slot] == value) return;
        if (undo_.Full() && !undo_.Grow()) p_.Fail(kMatchTooDeep);
        undo_.Push(UndoEntry{slot, slots_[slot]});
        slots_[slot] = value;
    }
    void UndoTo(size_t mark) {
        while (undo_.Size() > mark) {
            const UndoEntry& u = undo_.Pop();
            slots_[u.slot] = u.old;
        }
    }

    // One character accepted by a single-character node (c is not the end).
    bool Accepts(int32_t node, uint8_t c) const {
        const uint8_t* o = v_.Operand(node);
        switch (v_.Op(node)) {
            case OpAnyChar: return true;
            case OpLiteral: return c == o[0];
            case OpLiteralCI: return c == o[0] || c == Inv(o[0]);
            case OpDigit: return c >= '0' && c <= '9';
            case OpNonDigit: return c < '0' || c > '9';
            case OpInSet3: return c == o[0] || c == o[1] || c == o[2];
            case OpNotInSet3: return c != o[0] && c != o[1] && c != o[2];
            case OpInSet256: return Has(o, c);
            default: return false;
        }
    }

    // The text of group n for a back-reference: false when the group took no part. A group
    // whose span is not complete (entered again, or for the first time, and not yet closed:
    // its start lies after its end) stands for the empty text, so the position never moves
    // backwards.
    bool GroupText(int n, int32_t& start, int32_t& len) const {
        start = slots_[kSlotGroupStart + n];
        const int32_t end = slots_[kSlotGroupEnd + n];
        if (start < 0) return false;
        len = end >= start ? end - start : 0;
        return true;
    }

    // Whether len characters from start stand at the position (case-folded with fold).
    bool TextAt(int32_t start, int32_t len, bool fold, int32_t at) {
        if (len > end_ - at) return false;
        int32_t i = 0;
        while (i < len && (s_[at + i] == s_[start + i] || (fold && s_[at + i] == Inv(s_[start + i])))) ++i;
        Charge(i < len ? i + 1 : i);
        return i == len;
    }

    // Counts how many successive characters (or group texts of unit characters) node
    // accepts from the position, up to max, and advances past them.
    int32_t CountRepeats(int32_t node, int32_t max, int32_t unit) {
        const uint8_t op = v_.Op(node);
        if (op == OpBackRef || op == OpBackRefCI) {
            const int32_t from = slots_[kSlotGroupStart + v_.Operand(node)[0]];
            int32_t count = 0;
            while (count < max && TextAt(from, unit, op == OpBackRefCI, pos_)) {
                pos_ += unit;
                ++count;
            }
            return count;
        }
        if (op != OpAnyChar && op != OpLiteral && op != OpLiteralCI && op != OpDigit && op != OpNonDigit &&
            op != OpInSet3 && op != OpNotInSet3 && op != OpInSet256)
            p_.Fail(kRepeatOnUnsuitableNode);
        const int32_t limit = std::min(max, end_ - pos_);
        int32_t count = 0;
        if (op == OpAnyChar) {
            count = limit;
        } else {
            while (count < limit && Accepts(node, s_[pos_ + count])) ++count;
        }
        Charge(count);
        pos_ += count;
        return count;
    }

    const RepeatInfo& InfoOf(int32_t repeat) const {
        return p_.repeats_[static_cast<size_t>(p_.repeatIndex_[static_cast<size_t>(repeat)])];
    }
    int32_t RepeatUnit(int32_t repeated, bool& groupSet) const;
    bool Repeat(int32_t& node);
    bool TryCounts(int32_t node, const RepeatInfo& r, int32_t unit, int32_t start, int32_t from, int32_t found,
                   int32_t& next);
    bool Loop(int32_t& node);
    void StartPass(int32_t level);
    bool JumpBack(int32_t& node);
    bool LineStart() const;
    bool LineEnd() const;
    bool Advance(int32_t& node);
    bool Backtrack(int32_t& node);

    TPattern& p_;
    ProgramView v_;
    const uint8_t* s_;
    int32_t end_;
    int32_t pos_ = 0;
    uint8_t pairHead_ = 0, pairTail_ = 0;
    bool pair_ = false;
    int32_t* slots_ = nullptr;
    MemoryBudget budget_;
    HeapStack<UndoEntry> undo_;
    HeapStack<ChoiceEntry> choices_;
    int64_t steps_ = 0;
    int64_t stepLimit_;
};

// Runs one node: true with node set to what comes next (kMatched past the end of the
// program), false when the node fails at the position.
[[gnu::always_inline]] inline bool Matcher::Advance(int32_t& node) {
    if (node < 0) p_.Fail(kMissingNode);
    Charge(1);
    const uint8_t op = v_.Op(node);
    const uint8_t c = Cur();
    switch (op) {
        case OpEnd: node = kMatched; return true;
        case OpInputStart: if (pos_ != 0) return false; break;
        case OpInputEnd: if (c != 0) return false; break;
        case OpAnyChar: if (c == 0) return false; ++pos_; break;
        case OpEmpty: case OpNoOp: break;
        case OpJumpBack: return JumpBack(node);
        case OpLiteral: {
            const uint8_t* t = v_.Operand(node);
            int32_t i = 0;
            while (t[i] && s_[pos_ + i] == t[i]) ++i;  // the subject's NUL stops a mismatch
            Charge(t[i] ? i + 1 : i);
            if (t[i]) return false;
            pos_ += i;
            break;
        }
        case OpLiteralCI: {
            const uint8_t* t = v_.Operand(node);
            int32_t i = 0;
            while (t[i] && (s_[pos_ + i] == t[i] || s_[pos_ + i] == Inv(t[i]))) ++i;
            Charge(t[i] ? i + 1 : i);
            if (t[i]) return false;
            pos_ += i;
            break;
        }
        case OpDigit: case OpNonDigit: case OpInSet3: case OpNotInSet3: case OpInSet256:
            if (c == 0 || !Accepts(node, c)) return false;
            ++pos_;
            break;
        case OpBackRef: case OpBackRefCI: {
            int32_t start, len;
            if (!GroupText(v_.Operand(node)[0], start, len) || !TextAt(start, len, op == OpBackRefCI, pos_))
                return false;
            pos_ += len;
            break;
        }
        case OpLineStart: if (!LineStart()) return false; break;
        case OpLineEnd: if (!LineEnd()) return false; break;
        case OpAnyInLine:
            if (c == 0 || IsLineSep(c) || (pair_ && c == pairHead_ && s_[pos_ + 1] == pairTail_)) return false;
            ++pos_;
            break;
        case OpWordBoundary: case OpNotWordBoundary: {
            const bool boundary = IsWord(pos_ - 1) != IsWord(pos_);
            if (boundary != (op == OpWordBoundary)) return false;
            break;
        }
        case OpAlternative: {
            // A chain of alternatives is a choice: the later ones wait on the stack.
            const int32_t next = v_.Next(node);
            if (next >= 0 && v_.Op(next) == OpAlternative) Push(kNextAlternative, next, pos_);
            node = v_.OperandPos(node);
            return true;
        }
        case OpStar: case OpStarLazy: case OpPlus: case OpPlusLazy: case OpRepeatRange: case OpRepeatRangeLazy:
            return Repeat(node);
        case OpLoopEntry: {
            const int32_t level = slots_[kSlotLevel] + 1;
            if (level > kMaxLoopLevels) p_.Fail(kLoopStackExceeded);
            Set(kSlotLevel, level);
            Set(kSlotCounter + level, 0);
            break;
        }
        case OpLoop: case OpLoopLazy: return Loop(node);
        default:
            if (IsGroupOpen(op))
                Set(kSlotGroupStart + (op - OpGroupOpen), pos_);
            else if (IsGroupClose(op))
                Set(kSlotGroupEnd + (op - OpGroupClose), pos_);
            else
                p_.Fail(kCorruptedNode);
    }
    node = v_.Next(node);
    return true;
}

// Undoes state back to the newest choice and takes it: true with node set to where to go
// on, false when no choice is left (and everything the attempt set is undone).
[[gnu::always_inline]] inline bool Matcher::Backtrack(int32_t& node) {
    while (!choices_.Empty()) {
        const ChoiceEntry e = choices_.Pop();
        UndoTo(e.undoMark);
        switch (e.kind) {
            case kNextAlternative: {
                pos_ = e.b;
                const int32_t next = v_.Next(e.a);
                if (next >= 0 && v_.Op(next) == OpAlternative) Push(kNextAlternative, next, pos_);
                node = v_.OperandPos(e.a);
                return true;
            }
            case kNextCount: {
                const RepeatInfo& r = InfoOf(e.a);
                bool groupSet = true;
                const int32_t unit = RepeatUnit(r.repeated, groupSet);
                if (TryCounts(e.a, r, unit, e.b, e.c, e.d, node)) return true;
                break;
            }
            case kLeaveLoop:
                pos_ = e.b;
                Set(kSlotLevel, slots_[kSlotLevel] - 1);
                node = v_.Next(e.a);
                return true;
            case kLoopPass:
                pos_ = e.b;
                StartPass(slots_[kSlotLevel]);
                node = v_.LoopBody(e.a);
                return true;
            default:
                p_.Fail(kCorruptedNode);
        }
    }
    UndoTo(0);
    return false;
}

bool Matcher::Attempt(int32_t at) {
    pos_ = at;
    int32_t node = 1;
    for (;;) {
        if (!Advance(node)) {
            if (choices_.Empty()) {  // the common way out: nothing to go back to
                UndoTo(0);
                return false;
            }
            if (!Backtrack(node)) return false;
        } else if (node == kMatched) {
            break;
        }
    }
    PublishGroups();
    p_.groupStart_[0] = at;
    p_.groupEnd_[0] = pos_;
    return true;
}

bool Matcher::LineStart() const {
    if (pos_ == 0) return true;
    if (pair_ && pos_ >= 2 && s_[pos_ - 2] == pairHead_ && s_[pos_ - 1] == pairTail_) return true;
    const uint8_t prev = s_[pos_ - 1];
    return IsLineSep(prev) && !(pair_ && prev == pairHead_ && Cur() == pairTail_);
}

bool Matcher::LineEnd() const {
    const uint8_t c = Cur();
    if (c == 0) return true;
    if (pair_ && c == pairHead_ && s_[pos_ + 1] == pairTail_) return true;
    return IsLineSep(c) && !(pair_ && c == pairTail_ && pos_ >= 1 && s_[pos_ - 1] == pairHead_);
}

// Characters one count of the repeated node takes: 1, or the length of a back-referenced
// group's text (0 for a group without positions, which only the count 0 can take).
inline int32_t Matcher::RepeatUnit(int32_t repeated, bool& groupSet) const {
    groupSet = true;
    const uint8_t op = v_.Op(repeated);
    if (op != OpBackRef && op != OpBackRefCI) return 1;
    int32_t start, len;
    groupSet = GroupText(v_.Operand(repeated)[0], start, len);
    return groupSet ? len : 0;
}

inline bool Matcher::Repeat(int32_t& node) {
    const RepeatInfo& r = InfoOf(node);
    const int32_t start = pos_;
    bool groupSet = true;
    const int32_t unit = RepeatUnit(r.repeated, groupSet);
    int32_t found;
    if (!groupSet)
        found = 0;
    else if (unit == 0)
        found = r.min;  // every count of an empty text consumes nothing: one count stands for all
    else
        found = CountRepeats(r.repeated, r.max, unit);
    pos_ = start;
    if (found < r.min) return false;
    return TryCounts(node, r, unit, start, r.lazy ? r.min : found, found, node);
}

// Takes the first count from `from` on (upwards when lazy, down to min when greedy) after
// which what follows the repeat can begin, leaving the next count on the stack.
inline bool Matcher::TryCounts(int32_t node, const RepeatInfo& r, int32_t unit, int32_t start, int32_t from,
                        int32_t found, int32_t& next) {
    const int32_t step = r.lazy ? 1 : -1;
    const int32_t last = r.lazy ? found : r.min;
    for (int32_t i = from; r.lazy ? i <= last : i >= last; i += step) {
        const uint8_t c = s_[start + i * unit];
        // What follows cannot begin at this character: this count cannot succeed.
        if ((r.lookahead >= 0 && c != r.lookahead) || (r.hasFollow && !Has(r.follow.data(), c))) continue;
        if (i != last) Push(kNextCount, node, start, i + step, found);
        pos_ = start + i * unit;
        next = r.after;
        return true;
    }
    return false;
}

// A counted loop's node, reached from its entry (counter 0) or after a pass of its body.
bool Matcher::Loop(int32_t& node) {
    const int32_t level = slots_[kSlotLevel];
    if (level <= 0) p_.Fail(kLoopNodeWithoutEntry);
    const int32_t k = slots_[kSlotCounter + level];
    const int32_t min = v_.Min(node), max = v_.Max(node);
    const int32_t after = v_.Next(node);
    if (k > 0 && slots_[kSlotPassStart + level] == pos_) {
        // The last pass consumed nothing: every further pass would repeat it, so the loop
        // ends here, whether or not min passes were made.
        Set(kSlotLevel, level - 1);
        node = after;
        return true;
    }
    if (k < min) {
        StartPass(level);
        node = v_.LoopBody(node);
        return true;
    }
    if (v_.Op(node) == OpLoop) {
        if (k < max) {
            Push(kLeaveLoop, node, pos_);
            StartPass(level);
            node = v_.LoopBody(node);
            return true;
        }
    } else if (k < max) {
        Push(kLoopPass, node, pos_);
    }
    Set(kSlotLevel, level - 1);
    node = after;
    return true;
}

void Matcher::StartPass(int32_t level) {
    Set(kSlotCounter + level, slots_[kSlotCounter + level] + 1);
    Set(kSlotPassStart + level, pos_);
}

// The end of a pass of a star loop (jumping back to its choice) or the start of a further
// pass of a plus loop (its first alternative). The loop's register holds the position of its
// newest jump back on this path; positions never decrease along a path, so when it equals
// the position the pass that just ended consumed nothing, and the loop ends.
bool Matcher::JumpBack(int32_t& node) {
    const int32_t slot = kSlotLoopRegisters + p_.jumpRegister_[static_cast<size_t>(node)];
    const int32_t target = v_.Next(node);
    if (slots_[slot] == pos_) {
        if (target < 0 || v_.Op(target) != OpAlternative) return false;  // plus: leaving is the newest choice
        const int32_t leave = v_.Next(target);  // star: its second alternative goes on past the loop
        if (leave < 0) p_.Fail(kMissingNode);
        node = v_.OperandPos(leave);
        return true;
    }
    Set(slot, pos_);
    node = target;
    return true;
}

bool TPattern::Exec(std::string_view subject) {
    const std::string_view cut = subject.substr(0, subject.find('\0'));
    subject_.assign(cut.data(), cut.size());
    subject_.push_back('\0');
    hasSubject_ = true;
    return ExecFrom(1);  // which clears the results first
}

bool TPattern::ExecFrom(int32_t offset) {
    ClearResults();
    if (isCompiled_ && programModifierBits_ != modifierBits_) DropProgram();
    if (!isCompiled_) CompileProgram();
    if (program_.empty() || program_[0] != kProgramMagic) Fail(kCorruptedProgram);
    if (!hasSubject_) Fail(kNoSubject);
    if (offset <= 0) Fail(kBadOffset);
    const int32_t length = static_cast<int32_t>(subject_.size()) - 1;
    if (offset > length + 1) return false;
    return Matcher(*this).Search(offset - 1);
}

}  // namespace tintmark::regex
