// Expression compiler: a recursive-descent parser run twice, first counting bytes, then
// emitting the program into a buffer of exactly that size.
#include <cstring>

#include "regex/pattern.h"
#include "regex/program.h"
#include "regex/summaries.h"

namespace tintmark::regex {

namespace {

enum Flags : int { kNoFlags = 0, FlagHasWidth = 1, FlagSingleChar = 2, FlagStartsWithRepeat = 4 };

constexpr char kMetaChars[] = "^$.[()|?+*\\{";

bool IsMeta(char c) { return c != 0 && std::strchr(kMetaChars, c) != nullptr; }
bool IsQuantifier(char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The 33 letters of each case that the Russian ranges yield (Windows-1251).
const char kLowerRussian[] = "\xE0\xE1\xE2\xE3\xE4\xE5\xB8\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
                             "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF";
const char kUpperRussian[] = "\xC0\xC1\xC2\xC3\xC4\xC5\xA8\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
                             "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF";

// Where emitted bytes go: nowhere but a count in the sizing pass, into the buffer after it.
class Emitter {
public:
    explicit Emitter(std::vector<uint8_t>* buffer) : buf_(buffer) {}
    bool Sizing() const { return buf_ == nullptr; }
    int32_t Size() const { return pos_; }

    int32_t Node(uint8_t op) {
        const int32_t at = pos_;
        Byte(op);
        for (int i = 0; i < 4; ++i) Byte(0);
        return at;
    }
    void Byte(uint8_t b) {
        if (!Sizing()) At(pos_) = b;
        ++pos_;
    }
    void Int(int32_t v) {
        if (!Sizing()) WriteInt32(&At(pos_ + 3) - 3, v);
        pos_ += 4;
    }
    void WriteIntAt(int32_t at, int32_t v) {
        if (!Sizing()) WriteInt32(&At(at + 3) - 3, v);
    }
    // Moves everything from at onward up by size and writes op there, zero-filled.
    void Insert(uint8_t op, int32_t at, int32_t size) {
        if (!Sizing()) {
            At(pos_ + size - 1);  // bounds check of the new end
            std::memmove(buf_->data() + at + size, buf_->data() + at, static_cast<size_t>(pos_ - at));
            std::memset(buf_->data() + at, 0, static_cast<size_t>(size));
            (*buf_)[static_cast<size_t>(at)] = op;
        }
        pos_ += size;
    }
    // Sets the next of the last node of node's chain to target.
    void SetTail(int32_t node, int32_t target) {
        if (Sizing()) return;
        int32_t scan = node;
        for (;;) {
            const int32_t off = ReadInt32(buf_->data() + scan + 1);
            if (off == 0) break;
            scan += off;
        }
        WriteInt32(buf_->data() + scan + 1, target - scan);
    }
    void OperandTail(int32_t node, int32_t target) {
        if (Sizing() || (*buf_)[static_cast<size_t>(node)] != OpAlternative) return;
        SetTail(node + kNodeHeader, target);
    }
    uint8_t Op(int32_t node) const { return Sizing() ? 0 : (*buf_)[static_cast<size_t>(node)]; }
    void SetOp(int32_t node, uint8_t op) {
        if (!Sizing()) (*buf_)[static_cast<size_t>(node)] = op;
    }
    int32_t Next(int32_t node) const {
        const int32_t off = ReadInt32(buf_->data() + node + 1);
        return off == 0 ? -1 : node + off;
    }

private:
    uint8_t& At(int32_t i) {
        // The sizing pass fixed the size; running past it would be a compiler fault.
        if (i < 0 || static_cast<size_t>(i) >= buf_->size()) throw std::logic_error("program overrun");
        return (*buf_)[static_cast<size_t>(i)];
    }
    std::vector<uint8_t>* buf_;
    int32_t pos_ = 0;
};

// Members of a bracket set while it is built.
struct SetBuilder {
    uint8_t bits[32] = {};
    int count = 0;
    int rangeMin = 255;
    int rangeMax = 0;
    bool fold = false;
    const TPattern* pattern = nullptr;

    bool Has(int c) const { return (bits[c >> 3] >> (c & 7)) & 1; }
    void AddOne(int c) {
        if (c == 0 || Has(c)) return;  // 0 ends a set while it is built: it cannot be a member
        bits[c >> 3] = static_cast<uint8_t>(bits[c >> 3] | (1 << (c & 7)));
        ++count;
        if (c < rangeMin) rangeMin = c;
        if (c > rangeMax) rangeMax = c;
    }
    void Add(int c) {
        if (c == 0) return;
        AddOne(c);
        if (fold) AddOne(pattern->CaseInverter(static_cast<unsigned char>(c)));
    }
    void AddString(const std::string& s) {
        for (char ch : s) Add(static_cast<unsigned char>(ch));
    }
};

}  // namespace

class Compiler {
public:
    explicit Compiler(TPattern& p) : p_(p), expr_(p.Expression()) {}

    void Run() {
        // Sizing pass.
        Pass(nullptr);
        std::vector<uint8_t> program(static_cast<size_t>(size_));
        Pass(&program);
        p_.program_ = std::move(program);
        ComputeSummaries(p_, outerFlags_ & FlagStartsWithRepeat);
    }

private:
    void Pass(std::vector<uint8_t>* buffer) {
        Emitter e(buffer);
        e_ = &e;
        bits_ = p_.modifierBits_;
        pos_ = 0;
        nextGroup_ = 1;
        e.Byte(kProgramMagic);
        ParseGroup(false, outerFlags_);
        size_ = e.Size();
        e_ = nullptr;
    }

    char Peek(size_t ahead = 0) const { return pos_ + ahead < expr_.size() ? expr_[pos_ + ahead] : '\0'; }
    bool AtEnd() const { return pos_ >= expr_.size(); }
    bool Mod(int index) const { return (bits_ & ModifierBit(index)) != 0; }
    bool LineMode() const { return Mod(kModM) && (!p_.lineSeparatorChars_.empty() || p_.pairAssigned_); }

    [[noreturn]] void Error(int32_t code) {
        p_.compilePos_ = static_cast<int32_t>(pos_);
        p_.Fail(code);
    }

    int32_t ParseGroup(bool group, int& flagp) {
        flagp = FlagHasWidth;
        const uint32_t savedBits = bits_;
        int n = 0;
        int32_t ret = -1;
        if (group) {
            if (nextGroup_ > kMaxGroups) Error(kTooManyGroups);
            n = nextGroup_++;
            ret = e_->Node(static_cast<uint8_t>(OpGroupOpen + n));
        }
        int flags = 0;
        int32_t alt = ParseAlternative(flags);
        if (group)
            e_->SetTail(ret, alt);
        else
            ret = alt;
        auto take = [&](int f) {
            if (!(f & FlagHasWidth)) flagp &= ~FlagHasWidth;
            flagp |= f & FlagStartsWithRepeat;
        };
        take(flags);
        int32_t lastAlt = alt;  // the tail of ret's chain
        while (Peek() == '|') {
            ++pos_;
            alt = ParseAlternative(flags);
            e_->SetTail(lastAlt, alt);
            lastAlt = alt;
            take(flags);
        }
        const int32_t ender = e_->Node(static_cast<uint8_t>(group ? OpGroupClose + n : OpEnd));
        e_->SetTail(lastAlt, ender);
        if (!e_->Sizing())
            for (int32_t node = ret; node >= 0 && node != ender; node = e_->Next(node)) e_->OperandTail(node, ender);
        if (group) {
            if (Peek() != ')') Error(kUnmatchedOpenParen);
            ++pos_;
        } else if (!AtEnd()) {
            Error(Peek() == ')' ? kUnmatchedCloseParen : kTextAfterExpression);
        }
        bits_ = savedBits;
        return ret;
    }

    int32_t ParseAlternative(int& flagp) {
        flagp = kNoFlags;
        const int32_t ret = e_->Node(OpAlternative);
        int32_t prev = -1;
        while (!AtEnd() && Peek() != '|' && Peek() != ')') {
            int flags = 0;
            const int32_t piece = ParseQuantified(flags);
            flagp |= flags & FlagHasWidth;
            if (prev < 0)
                flagp |= flags & FlagStartsWithRepeat;
            else
                e_->SetTail(prev, piece);
            prev = piece;
        }
        if (prev < 0) e_->Node(OpEmpty);
        return ret;
    }

    int32_t ParseQuantified(int& flagp) {
        int flags = 0;
        const int32_t ret = ParseAtom(flags);
        const char op = Peek();
        if (!IsQuantifier(op)) {
            flagp = flags;
            return ret;
        }
        if (!(flags & FlagHasWidth) && op != '?') Error(kOperandCouldMatchEmpty);

        int32_t min = 0, max = kUnboundedCount;
        if (op == '{') {
            const size_t brace = pos_;
            if (!ReadBraces(min, max)) {
                pos_ = brace;  // an ordinary character: the brace starts a literal run
                flagp = flags;
                return ret;
            }
        } else {
            ++pos_;
        }
        const bool lazy = Peek() == '?' || !Mod(kModG);
        if (Peek() == '?') ++pos_;
        const bool single = (flags & FlagSingleChar) != 0;

        switch (op) {
            case '*':
                flagp = FlagStartsWithRepeat;
                if (single)
                    e_->Insert(lazy ? OpStarLazy : OpStar, ret, kNodeHeader);
                else if (lazy)
                    CountedLoop(ret, 0, kUnboundedCount, true);
                else
                    StarLoop(ret);
                break;
            case '+':
                flagp = FlagHasWidth | FlagStartsWithRepeat;
                if (single)
                    e_->Insert(lazy ? OpPlusLazy : OpPlus, ret, kNodeHeader);
                else if (lazy)
                    CountedLoop(ret, 1, kUnboundedCount, true);
                else
                    PlusLoop(ret);
                break;
            case '?':
                flagp = kNoFlags;
                if (single && lazy)
                    RepeatRange(ret, 0, 1, true);
                else if (!single && lazy)
                    CountedLoop(ret, 0, 1, true);
                else
                    Optional(ret);
                break;
            default:  // braces
                // Width only when at least one count is required: «b{0,2}» can match empty,
                // and taking it for width would let «(b{0,2}){2,}» loop without consuming.
                flagp = (max > 0 ? FlagStartsWithRepeat : kNoFlags) | (min > 0 ? FlagHasWidth : kNoFlags);
                if (single)
                    RepeatRange(ret, min, max, lazy);
                else
                    CountedLoop(ret, min, max, lazy);
                break;
        }
        if (IsQuantifier(Peek())) Error(kNestedQuantifier);
        return ret;
    }

    // Reads «{n}», «{n,}» or «{n,m}» from the current '{'; false when it is not one.
    bool ReadBraces(int32_t& min, int32_t& max) {
        ++pos_;
        const size_t firstDigits = pos_;
        while (Peek() >= '0' && Peek() <= '9') ++pos_;
        const size_t nDigits = pos_ - firstDigits;
        if (nDigits == 0 || (Peek() != '}' && Peek() != ',')) return false;
        min = max = Count(firstDigits, nDigits);
        if (Peek() == ',') {
            ++pos_;
            const size_t second = pos_;
            while (Peek() >= '0' && Peek() <= '9') ++pos_;
            if (Peek() != '}') return false;
            const size_t mDigits = pos_ - second;
            max = mDigits == 0 ? kUnboundedCount : Count(second, mDigits);
        }
        ++pos_;  // '}'
        if (max < min) Error(kBraceMinAboveMax);
        return true;
    }

    int32_t Count(size_t from, size_t digits) {
        if (digits > 8) Error(kBraceCountTooBig);
        int64_t v = 0;
        for (size_t i = 0; i < digits; ++i) v = v * 10 + (expr_[from + i] - '0');
        if (v > kUnboundedCount) Error(kBraceCountTooBig);
        return static_cast<int32_t>(v);
    }

    void RepeatRange(int32_t operand, int32_t min, int32_t max, bool lazy) {
        e_->Insert(lazy ? OpRepeatRangeLazy : OpRepeatRange, operand, kRangeHeader);
        e_->WriteIntAt(operand + kNodeHeader, min);
        e_->WriteIntAt(operand + kNodeHeader + 4, max);
    }

    void CountedLoop(int32_t operand, int32_t min, int32_t max, bool lazy) {
        e_->Insert(OpLoopEntry, operand, kNodeHeader);
        const int32_t body = operand + kNodeHeader;
        const int32_t loop = e_->Node(lazy ? OpLoopLazy : OpLoop);
        e_->Int(min);
        e_->Int(max);
        e_->Int(body - loop);
        e_->SetTail(operand, loop);  // the entry's next is the loop node
        e_->SetTail(body, loop);     // the body leads back to it
    }

    void StarLoop(int32_t operand) {
        e_->Insert(OpAlternative, operand, kNodeHeader);
        e_->OperandTail(operand, e_->Node(OpJumpBack));
        e_->OperandTail(operand, operand);
        e_->SetTail(operand, e_->Node(OpAlternative));
        e_->SetTail(operand, e_->Node(OpEmpty));
    }

    void PlusLoop(int32_t operand) {
        const int32_t loop = e_->Node(OpAlternative);
        e_->SetTail(operand, loop);
        e_->SetTail(e_->Node(OpJumpBack), operand);
        e_->SetTail(loop, e_->Node(OpAlternative));
        e_->SetTail(operand, e_->Node(OpEmpty));
    }

    void Optional(int32_t operand) {
        e_->Insert(OpAlternative, operand, kNodeHeader);
        e_->SetTail(operand, e_->Node(OpAlternative));
        const int32_t empty = e_->Node(OpEmpty);
        e_->SetTail(operand, empty);
        e_->OperandTail(operand, empty);
    }

    int32_t ParseAtom(int& flagp) {
        flagp = kNoFlags;
        if (AtEnd() || Peek() == ')' || Peek() == '|') Error(kAtomParserInternal);
        const char c = Peek();
        ++pos_;
        switch (c) {
            case '^': return e_->Node(LineMode() ? OpLineStart : OpInputStart);
            case '$': return e_->Node(LineMode() ? OpLineEnd : OpInputEnd);
            case '.':
                flagp = Mod(kModS) ? (FlagHasWidth | FlagSingleChar) : FlagHasWidth;
                return e_->Node(Mod(kModS) ? OpAnyChar : OpAnyInLine);
            case '(': return ParseParen(flagp);
            case '*':
            case '+':
            case '?': Error(kQuantifierFollowsNothing);
            case '[':
                flagp = FlagHasWidth | FlagSingleChar;
                return ParseBracketSet();
            case '\\':
                if (AtEnd()) Error(kTrailingBackslash);
                return ParseEscape(flagp);
            default:
                --pos_;
                return ParseLiteralRun(flagp);
        }
    }

    int32_t ParseParen(int& flagp) {
        if (Peek() == '?' && Peek(1) == '#') {
            pos_ += 2;
            while (!AtEnd() && Peek() != ')') ++pos_;
            if (AtEnd()) Error(kUnclosedComment);
            ++pos_;
            return e_->Node(OpNoOp);
        }
        if (Peek() == '?') {
            ++pos_;
            const size_t from = pos_;
            while (!AtEnd() && Peek() != ')') ++pos_;
            if (AtEnd()) Error(kUnrecognizedModifier);
            uint32_t bits = bits_;
            if (!ApplyModifierString(std::string_view(expr_).substr(from, pos_ - from), bits))
                Error(kUnrecognizedModifier);
            bits_ = bits;
            ++pos_;
            return e_->Node(OpNoOp);
        }
        int flags = 0;
        const int32_t ret = ParseGroup(true, flags);
        flagp = flags & (FlagHasWidth | FlagStartsWithRepeat);
        return ret;
    }

    // One character of an escape that stands for a character (after the '\'); also used
    // inside brackets. Steps over what it reads.
    int EscapedChar(int32_t missingHexError) {
        const char c = Peek();
        ++pos_;
        switch (c) {
            case 't': return 9;
            case 'n': return 10;
            case 'r': return 13;
            case 'f': return 12;
            case 'a': return 7;
            case 'e': return 27;
            case 'x': return HexEscape(missingHexError);
            default: return static_cast<unsigned char>(c);
        }
    }

    int HexEscape(int32_t missingHexError) {
        if (Peek() == '{') {
            ++pos_;
            int value = 0;
            while (!AtEnd() && Peek() != '}') {
                const int d = HexValue(Peek());
                if (d < 0) Error(kBadHexDigit);
                value = value * 16 + d;
                if (value > 255) Error(kHexCodeTooBig);
                ++pos_;
            }
            if (AtEnd()) Error(missingHexError);
            ++pos_;
            return value;
        }
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            if (AtEnd()) Error(missingHexError);
            const int d = HexValue(Peek());
            if (d < 0) Error(kBadHexDigit);
            value = value * 16 + d;
            ++pos_;
        }
        return value;
    }

    int32_t ParseEscape(int& flagp) {
        const char c = Peek();
        flagp = FlagHasWidth | FlagSingleChar;
        if (c >= '1' && c <= '9') {
            ++pos_;
            const int32_t node = e_->Node(Mod(kModI) ? OpBackRefCI : OpBackRef);
            e_->Byte(static_cast<uint8_t>(c - '0'));
            return node;
        }
        switch (c) {
            case 'A': ++pos_; flagp = kNoFlags; return e_->Node(OpInputStart);
            case 'Z': ++pos_; flagp = kNoFlags; return e_->Node(OpInputEnd);
            case 'b': ++pos_; flagp = kNoFlags; return e_->Node(OpWordBoundary);
            case 'B': ++pos_; flagp = kNoFlags; return e_->Node(OpNotWordBoundary);
            case 'd': ++pos_; return e_->Node(OpDigit);
            case 'D': ++pos_; return e_->Node(OpNonDigit);
            case 'w': ++pos_; return WholeSet(p_.wordCharacters_, false);
            case 'W': ++pos_; return WholeSet(p_.wordCharacters_, true);
            case 's': ++pos_; return WholeSet(p_.spaceCharacters_, false);
            case 'S': ++pos_; return WholeSet(p_.spaceCharacters_, true);
            default: break;
        }
        const int ch = EscapedChar(kNoHexCode);
        if (ch == 0) {
            // Code 0 never occurs in a subject (it ends it): a set with no member, which
            // never matches, instead of an empty literal, which would always match.
            const int32_t node = e_->Node(OpInSet256);
            for (int i = 0; i < 32; ++i) e_->Byte(0);
            return node;
        }
        const int32_t node = e_->Node(Mod(kModI) ? OpLiteralCI : OpLiteral);
        e_->Byte(static_cast<uint8_t>(ch));
        e_->Byte(0);
        return node;
    }

    int32_t WholeSet(const std::string& members, bool negated) {
        const int32_t node = e_->Node(negated ? OpNotInSet3 : OpInSet3);
        SetBuilder set;
        set.pattern = &p_;
        set.AddString(members);
        FinishSet(node, set, negated);
        return node;
    }

    void FinishSet(int32_t node, const SetBuilder& set, bool negated) {
        if (set.count > 3) {
            e_->SetOp(node, OpInSet256);
            for (int i = 0; i < 32; ++i) e_->Byte(static_cast<uint8_t>(negated ? ~set.bits[i] : set.bits[i]));
            return;
        }
        int written = 0;
        for (int c = 1; c < 256; ++c)
            if (set.Has(c)) {
                e_->Byte(static_cast<uint8_t>(c));
                ++written;
            }
        for (; written < 3; ++written) e_->Byte(static_cast<uint8_t>(set.rangeMax));
    }

    bool ClassEscapeAt(size_t at) const {
        if (at + 1 >= expr_.size() || expr_[at] != '\\') return false;
        const char c = expr_[at + 1];
        return c == 'd' || c == 'D' || c == 's' || c == 'S' || c == 'w' || c == 'W';
    }

    int32_t ParseBracketSet() {
        bool negated = false;
        if (Peek() == '^') {
            negated = true;
            ++pos_;
        }
        const int32_t node = e_->Node(negated ? OpNotInSet3 : OpInSet3);
        SetBuilder set;
        set.pattern = &p_;
        set.fold = Mod(kModI);
        bool first = true;
        int last = -1;  // the previous single character, a possible range start
        for (;;) {
            if (AtEnd()) Error(kUnmatchedBracket);
            const char c = Peek();
            if (c == ']' && !first) {
                ++pos_;
                break;
            }
            first = false;
            if (c == '-' && last >= 0 && Peek(1) != ']' && !AtEndAfter(1) && !ClassEscapeAt(pos_ + 1)) {
                ++pos_;
                int hi;
                if (Peek() == '\\') {
                    ++pos_;
                    if (AtEnd()) Error(kTrailingBackslashInSet);
                    hi = EscapedChar(kNoHexCode);
                } else {
                    hi = static_cast<unsigned char>(Peek());
                    ++pos_;
                }
                AddRange(set, last, hi);
                last = -1;
                continue;
            }
            if (c == '\\') {
                ++pos_;
                if (AtEnd()) Error(kTrailingBackslashInSet);
                const char k = Peek();
                if (k == 'd' || k == 's' || k == 'w') {
                    ++pos_;
                    set.AddString(k == 'd' ? std::string("0123456789")
                                           : k == 's' ? p_.spaceCharacters_ : p_.wordCharacters_);
                    last = -1;
                    continue;
                }
                last = EscapedChar(kNoHexCode);
                set.Add(last);
                continue;
            }
            ++pos_;
            last = static_cast<unsigned char>(c);
            set.Add(last);
        }
        FinishSet(node, set, negated);
        return node;
    }

    bool AtEndAfter(size_t ahead) const { return pos_ + ahead >= expr_.size(); }

    void AddRange(SetBuilder& set, int lo, int hi) {
        if (Mod(kModR)) {
            const bool lowerRange = lo == 0xE0 && hi == 0xFF;
            const bool upperRange = lo == 0xC0 && hi == 0xDF;
            const bool bothRange = lo == 0xE0 && hi == 0xDF;
            if (lowerRange || bothRange) set.AddString(kLowerRussian);
            if (upperRange || bothRange) set.AddString(kUpperRussian);
            if (lowerRange || upperRange || bothRange) return;
        }
        if (hi < lo) Error(kInvalidRange);
        for (int c = lo + 1; c <= hi; ++c) set.Add(c);
    }

    int32_t ParseLiteralRun(int& flagp) {
        const bool extended = Mod(kModX);
        if (extended && IsBlank(Peek())) {
            while (IsBlank(Peek())) ++pos_;
            return e_->Node(OpNoOp);
        }
        if (extended && Peek() == '#') {
            while (!AtEnd() && Peek() != '\r' && Peek() != '\n') ++pos_;
            while (Peek() == '\r' || Peek() == '\n') ++pos_;
            return e_->Node(OpNoOp);
        }
        size_t len = 0;
        if (Peek() == '{') len = 1;
        while (pos_ + len < expr_.size() && !IsMeta(expr_[pos_ + len])) ++len;
        if (len == 0) Error(kEmptyLiteral);
        if (len > 1 && IsQuantifier(Peek(len))) --len;
        flagp = FlagHasWidth | (len == 1 ? FlagSingleChar : 0);
        const int32_t node = e_->Node(Mod(kModI) ? OpLiteralCI : OpLiteral);
        const size_t end = pos_ + len;
        while (pos_ < end) {
            const char c = expr_[pos_];
            if (extended && c == '#') break;  // a comment ends the run
            ++pos_;
            if (extended && IsBlank(c)) continue;
            e_->Byte(static_cast<uint8_t>(c));
        }
        e_->Byte(0);
        return node;
    }

    TPattern& p_;
    const std::string& expr_;
    Emitter* e_ = nullptr;
    uint32_t bits_ = 0;
    size_t pos_ = 0;
    int nextGroup_ = 1;
    int32_t size_ = 0;
    int outerFlags_ = 0;
};

void TPattern::CompileProgram() {
    if (!expression_) Fail(kNoExpressionAssigned);
    DropProgram();
    programModifierBits_ = modifierBits_;
    compiling_ = true;
    compilePos_ = 0;
    try {
        Compiler(*this).Run();
    } catch (...) {
        program_.clear();
        compiling_ = false;
        compilePos_ = 0;
        throw;
    }
    compiling_ = false;
    compilePos_ = 0;
    isCompiled_ = true;
}

}  // namespace tintmark::regex
