// The matcher: leftmost search over the stored subject, backtracking through the program in
// program order, with bounds on nesting depth and steps so that no run can take the host down.
#include <cstring>

#include "regex/pattern.h"
#include "regex/program.h"

namespace tintmark::regex {

class Matcher {
public:
    explicit Matcher(TPattern& p)
        : p_(p), v_{p.program_.data(), static_cast<int32_t>(p.program_.size())},
          s_(reinterpret_cast<const uint8_t*>(p.subject_.data())),
          end_(static_cast<int32_t>(std::strlen(p.subject_.c_str()))) {
        std::memset(lineSep_, 0, sizeof lineSep_);
        for (char c : p.lineSeparatorChars_) {
            const unsigned char u = static_cast<unsigned char>(c);
            lineSep_[u >> 3] = static_cast<uint8_t>(lineSep_[u >> 3] | (1 << (u & 7)));
        }
        pairHead_ = static_cast<uint8_t>(p.pairHead_);
        pairTail_ = static_cast<uint8_t>(p.pairTail_);
        pair_ = p.pairAssigned_;
    }

    bool Search(int32_t first) {
        const std::string& req = p_.requiredLiteral_;
        if (!req.empty() && !std::strstr(reinterpret_cast<const char*>(s_ + first), req.c_str())) return false;
        loopLevel_ = 0;
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

private:
    bool Attempt(int32_t at) {
        pos_ = at;
        if (Match(1)) {
            p_.groupStart_[0] = at;
            p_.groupEnd_[0] = pos_;
            return true;
        }
        p_.ClearResults();
        return false;
    }

    uint8_t Cur() const { return s_[pos_]; }
    bool IsLineSep(uint8_t c) const { return (lineSep_[c >> 3] >> (c & 7)) & 1; }
    bool IsWord(int32_t at) const {
        return at >= 0 && at < end_ && std::strchr(p_.wordCharacters_.c_str(), s_[at]) != nullptr;
    }
    uint8_t Inv(uint8_t c) const { return p_.CaseInverter(c); }

    void Step() {
        if (++steps_ > TPattern::kMaxMatchSteps) p_.Fail(kStepLimitExceeded);
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
            case OpInSet256: return (o[c >> 3] >> (c & 7)) & 1;
            default: return false;
        }
    }

    // Whether the group's text stands at the position (case-folded for OpBackRefCI).
    bool BackRefAt(int n, bool fold, int32_t at) const {
        const int32_t gs = p_.groupStart_[static_cast<size_t>(n)], ge = p_.groupEnd_[static_cast<size_t>(n)];
        const int32_t len = ge - gs;
        if (at + len > end_) return false;
        for (int32_t i = 0; i < len; ++i) {
            const uint8_t k = s_[gs + i], c = s_[at + i];
            if (c != k && !(fold && c == Inv(k))) return false;
        }
        return true;
    }
    bool GroupSet(int n) const {
        return p_.groupStart_[static_cast<size_t>(n)] >= 0 && p_.groupEnd_[static_cast<size_t>(n)] >= 0;
    }
    int32_t GroupLength(int n) const {
        return p_.groupEnd_[static_cast<size_t>(n)] - p_.groupStart_[static_cast<size_t>(n)];
    }

    // Counts how many successive characters (or group texts) node accepts, up to max.
    int32_t CountRepeats(int32_t node, int32_t max) {
        const uint8_t op = v_.Op(node);
        if (op == OpBackRef || op == OpBackRefCI) {
            const int n = v_.Operand(node)[0];
            if (!GroupSet(n)) return 0;
            const int32_t len = GroupLength(n);
            int32_t count = 0;
            while (count < max && BackRefAt(n, op == OpBackRefCI, pos_)) {
                Step();
                pos_ += len;
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
        steps_ += count;
        if (steps_ > TPattern::kMaxMatchSteps) p_.Fail(kStepLimitExceeded);
        pos_ += count;
        return count;
    }

    struct DepthGuard {
        explicit DepthGuard(Matcher& m) : m_(m) {
            if (++m_.depth_ > TPattern::kMaxMatchDepth) {
                --m_.depth_;
                m_.p_.Fail(kMatchTooDeep);
            }
        }
        ~DepthGuard() { --m_.depth_; }
        Matcher& m_;
    };

    bool Repeat(int32_t node);
    bool LoopEntry(int32_t node);
    bool Loop(int32_t node);
    bool LineStart() const;
    bool LineEnd() const;

    bool Match(int32_t node) {
        DepthGuard guard(*this);
        for (;;) {
            if (node < 0) p_.Fail(kMissingNode);
            Step();
            const uint8_t op = v_.Op(node);
            const uint8_t c = Cur();
            switch (op) {
                case OpEnd: return true;
                case OpInputStart: if (pos_ != 0) return false; break;
                case OpInputEnd: if (c != 0) return false; break;
                case OpAnyChar: if (c == 0) return false; ++pos_; break;
                case OpJumpBack: case OpEmpty: case OpNoOp: break;
                case OpLiteral: {
                    const uint8_t* t = v_.Operand(node);
                    int32_t i = 0;
                    for (; t[i]; ++i)
                        if (s_[pos_ + i] != t[i]) return false;  // the subject's NUL stops a mismatch
                    pos_ += i;
                    break;
                }
                case OpLiteralCI: {
                    const uint8_t* t = v_.Operand(node);
                    int32_t i = 0;
                    for (; t[i]; ++i) {
                        const uint8_t sc = s_[pos_ + i];
                        if (sc != t[i] && sc != Inv(t[i])) return false;
                    }
                    pos_ += i;
                    break;
                }
                case OpDigit: case OpNonDigit: case OpInSet3: case OpNotInSet3: case OpInSet256:
                    if (c == 0 || !Accepts(node, c)) return false;
                    ++pos_;
                    break;
                case OpBackRef: case OpBackRefCI: {
                    const int n = v_.Operand(node)[0];
                    if (!GroupSet(n) || !BackRefAt(n, op == OpBackRefCI, pos_)) return false;
                    pos_ += GroupLength(n);
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
                    const int32_t next = v_.Next(node);
                    if (next < 0 || v_.Op(next) != OpAlternative) {
                        node = v_.OperandPos(node);
                        continue;
                    }
                    for (int32_t alt = node; alt >= 0 && v_.Op(alt) == OpAlternative; alt = v_.Next(alt)) {
                        const int32_t saved = pos_;
                        if (Match(v_.OperandPos(alt))) return true;
                        pos_ = saved;
                    }
                    return false;
                }
                case OpStar: case OpStarLazy: case OpPlus: case OpPlusLazy: case OpRepeatRange:
                case OpRepeatRangeLazy:
                    return Repeat(node);
                case OpLoopEntry: return LoopEntry(node);
                case OpLoop: case OpLoopLazy: return Loop(node);
                default:
                    if (IsGroupOpen(op) || IsGroupClose(op)) {
                        const bool open = IsGroupOpen(op);
                        const size_t n = static_cast<size_t>(op - (open ? OpGroupOpen : OpGroupClose));
                        int32_t& slot = open ? p_.groupStart_[n] : p_.groupEnd_[n];
                        const int32_t saved = slot;
                        slot = pos_;
                        if (Match(v_.Next(node))) return true;
                        slot = saved;
                        return false;
                    }
                    p_.Fail(kCorruptedNode);
            }
            node = v_.Next(node);
        }
    }

    TPattern& p_;
    ProgramView v_;
    const uint8_t* s_;
    int32_t end_;
    int32_t pos_ = 0;
    uint8_t lineSep_[32];
    uint8_t pairHead_ = 0, pairTail_ = 0;
    bool pair_ = false;
    int32_t loopCounters_[11] = {};
    int32_t loopLevel_ = 0;
    int32_t depth_ = 0;
    int64_t steps_ = 0;
};

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

bool Matcher::Repeat(int32_t node) {
    const uint8_t op = v_.Op(node);
    const bool range = op == OpRepeatRange || op == OpRepeatRangeLazy;
    const bool lazy = op == OpStarLazy || op == OpPlusLazy || op == OpRepeatRangeLazy;
    int32_t min = 0, max = 2147483647;
    if (op == OpPlus || op == OpPlusLazy) min = 1;
    if (range) {
        min = v_.Min(node);
        max = v_.Max(node);
    }
    const int32_t repeated = node + (range ? kRangeHeader : kNodeHeader);
    const int32_t next = v_.Next(node);
    const int lookahead = (next >= 0 && v_.Op(next) == OpLiteral) ? v_.Operand(next)[0] : -1;
    const int32_t followIndex = p_.followSetIndex_[static_cast<size_t>(node)];
    const uint8_t* follow = followIndex >= 0 ? p_.followSets_[static_cast<size_t>(followIndex)].data() : nullptr;
    const int32_t start = pos_;
    const uint8_t rop = v_.Op(repeated);
    int32_t unit = 1;  // characters per count
    int32_t n;
    if ((rop == OpBackRef || rop == OpBackRefCI) && GroupSet(v_.Operand(repeated)[0]) &&
        GroupLength(v_.Operand(repeated)[0]) == 0) {
        // Every count of an empty group text consumes nothing: one count stands for all.
        unit = 0;
        n = max >= min ? min : -1;
    } else {
        if (rop == OpBackRef || rop == OpBackRefCI) unit = GroupSet(v_.Operand(repeated)[0]) ? GroupLength(v_.Operand(repeated)[0]) : 0;
        n = CountRepeats(repeated, max);
    }
    if (n < min) {
        pos_ = start;
        return false;
    }
    const int32_t savedLevel = loopLevel_;
    int32_t savedCounters[11];
    std::memcpy(savedCounters, loopCounters_, sizeof savedCounters);
    auto attempt = [&](int32_t i) {
        pos_ = start + i * unit;
        if (lookahead >= 0 && Cur() != lookahead) return false;
        // What follows cannot begin at this character: this count cannot succeed.
        if (follow && !((follow[Cur() >> 3] >> (Cur() & 7)) & 1)) return false;
        if (Match(next)) return true;
        loopLevel_ = savedLevel;
        std::memcpy(loopCounters_, savedCounters, sizeof savedCounters);
        return false;
    };
    if (lazy) {
        for (int32_t i = min; i <= n; ++i)
            if (attempt(i)) return true;
    } else {
        for (int32_t i = n; i >= min; --i)
            if (attempt(i)) return true;
    }
    pos_ = start;
    return false;
}

bool Matcher::LoopEntry(int32_t node) {
    const int32_t savedLevel = loopLevel_;
    if (++loopLevel_ > 10) {
        loopLevel_ = savedLevel;
        p_.Fail(kLoopStackExceeded);
    }
    loopCounters_[loopLevel_] = 0;
    const int32_t saved = pos_;
    const bool ok = Match(v_.Next(node));
    loopLevel_ = savedLevel;
    if (!ok) pos_ = saved;
    return ok;
}

bool Matcher::Loop(int32_t node) {
    if (loopLevel_ <= 0) p_.Fail(kLoopNodeWithoutEntry);
    const int32_t level = loopLevel_;
    const int32_t k = loopCounters_[level];
    const int32_t min = v_.Min(node), max = v_.Max(node);
    const int32_t body = v_.LoopBody(node);
    const int32_t saved = pos_;
    // Every way out with false leaves the position, the level and this level's counter as
    // they were: a loop that follows this one reuses the level's counter slot.
    auto restore = [&] {
        loopCounters_[level] = k;
        loopLevel_ = level;
        pos_ = saved;
        return false;
    };
    auto another = [&] {  // one more pass through the body
        loopCounters_[level] = k + 1;
        return Match(body);
    };
    auto leave = [&] {  // on past the loop
        loopLevel_ = level - 1;
        return Match(v_.Next(node));
    };
    if (k < min) return another() || restore();
    if (v_.Op(node) == OpLoop) {
        if (k < max && another()) return true;
        restore();
        return leave() || restore();
    }
    if (leave()) return true;
    restore();
    return (k < max && another()) || restore();
}

bool TPattern::Exec(std::string_view subject) {
    const std::string_view cut = subject.substr(0, subject.find('\0'));
    subject_.assign(cut.data(), cut.size());
    subject_.push_back('\0');
    hasSubject_ = true;
    ClearResults();
    return ExecFrom(1);
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
