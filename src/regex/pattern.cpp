// Settings, modifiers and errors of the expression object.
#include "regex/pattern.h"

#include "text/cp1251.h"

namespace tintmark::regex {

std::string PatternErrorText(int32_t code) {
    switch (code) {
        case 0: return "No errors";
        case 100: return "TPattern(comp): no expression to compile";
        case 101: return "TPattern(comp): expression too big";
        case 102: return "TPattern(comp): too many groups";
        case 103: return "TPattern(comp): unmatched parenthesis";
        case 104: return "TPattern(comp): unmatched parenthesis";
        case 105: return "TPattern(comp): unexpected text after the expression";
        case 106: return "TPattern(comp): operand of *, + or {} could match empty";
        case 107: return "TPattern(comp): nested quantifier";
        case 108: return "TPattern(comp): bad hex digit";
        case 109: return "TPattern(comp): invalid range in []";
        case 110: return "TPattern(comp): trailing \\ inside []";
        case 111: return "TPattern(comp): no hex code after \\x";
        case 112: return "TPattern(comp): hex code after \\x is too big";
        case 113: return "TPattern(comp): unmatched []";
        case 114: return "TPattern(comp): internal error in the atom parser";
        case 115: return "TPattern(comp): quantifier follows nothing";
        case 116: return "TPattern(comp): trailing \\";
        case 119: return "TPattern(comp): internal error: empty literal";
        case 122: return "TPattern(comp): brace count too big";
        case 124: return "TPattern(comp): brace minimum greater than maximum";
        case 125: return "TPattern(comp): unclosed (?#comment)";
        case 126: return "TPattern(comp): complex braces and lazy quantifiers are not available";
        case 127: return "TPattern(comp): unrecognized modifier";
        case 128: return "TPattern(comp): line break pair must hold two different characters or none";
        case 1000: return "TPattern(exec): repeat counting on an unsuitable node";
        case 1001: return "TPattern(exec): corrupted program node";
        case 1002: return "TPattern(exec): missing program node";
        case 1003: return "TPattern(exec): no expression assigned";
        case 1004: return "TPattern(exec): corrupted program";
        case 1005: return "TPattern(exec): no subject given";
        case 1006: return "TPattern(exec): offset must be greater than 0";
        case 1007: return "TPattern(exec): continued search without a first search";
        case 1008: return "TPattern(exec): subject read without a subject";
        case 1011: return "TPattern(dump): corrupted opcode";
        case 1014: return "TPattern(exec): loop stack exceeded";
        case 1015: return "TPattern(exec): loop node without loop entry";
        case 1016: return "TPattern(exec): backtracking nested too deeply";
        case 1017: return "TPattern(exec): step limit exceeded";
        case 2000: return "TPattern(misc): bad program imported";
        default: return "Unknown error";
    }
}

bool ApplyModifierString(std::string_view letters, uint32_t& bits) {
    uint32_t result = bits;
    bool on = true;
    for (char c : letters) {
        if (c == '-') {
            on = false;
            continue;
        }
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        int index = 0;
        for (int i = 0; kModifierLetters[i]; ++i)
            if (kModifierLetters[i] == lower) index = i + 1;
        if (index == 0) return false;
        if (on)
            result |= ModifierBit(index);
        else
            result &= ~ModifierBit(index);
    }
    bits = result;
    return true;
}

TPattern::TPattern() {
    for (int c = 0; c < 256; ++c) caseTable_[static_cast<size_t>(c)] = DefaultSwapCase(static_cast<unsigned char>(c));
    auto fill = [](std::array<uint8_t, 32>& set, const std::string& members) {
        for (char c : members) {
            const unsigned char u = static_cast<unsigned char>(c);
            set[u >> 3] = static_cast<uint8_t>(set[u >> 3] | (1 << (u & 7)));
        }
    };
    fill(wordSet_, wordCharacters_);
    fill(lineSeparatorSet_, lineSeparatorChars_);
    ClearResults();
    // Defaults for indices 1..5; x stays off.
    WriteModifier(kModI, false);
    WriteModifier(kModR, true);
    WriteModifier(kModS, true);
    WriteModifier(kModG, true);
    WriteModifier(kModM, false);
}

void TPattern::RaiseError(int32_t code) {
    lastErrorCode_ = code;
    const int32_t pos = compiling_ ? compilePos_ : 0;
    std::string message = ErrorText(code);
    if (code < 1000) message += " (pos " + std::to_string(pos) + ")";
    throw EPatternError(message, code, pos);
}

void TPattern::Fail(int32_t code) {
    RaiseError(code);
    throw EPatternError(ErrorText(code), code, 0);
}

std::string TPattern::ErrorText(int32_t code) const { return PatternErrorText(code); }

void TPattern::SetExpression(std::string_view text) {
    // Like the subject, the expression ends at its first NUL.
    const std::string_view cut = text.substr(0, text.find('\0'));
    if (isCompiled_ && expression_ && *expression_ == cut) return;
    DropProgram();
    expression_.reset();
    if (!cut.empty()) expression_ = std::string(cut);
}

const std::string& TPattern::Expression() const {
    static const std::string kEmpty;
    return expression_ ? *expression_ : kEmpty;
}

bool TPattern::ReadModifier(int index) {
    if (index < 1 || index > 6) Fail(kBadModifierIndex);
    return (modifierBits_ & ModifierBit(index)) != 0;
}

void TPattern::WriteModifier(int index, bool on) {
    if (index < 1 || index > 6) Fail(kBadModifierIndex);
    if (on)
        modifierBits_ |= ModifierBit(index);
    else
        modifierBits_ &= ~ModifierBit(index);
}

void TPattern::SetLineBreakPair(std::string_view pair) {
    if (pair.empty()) {
        if (!pairAssigned_) return;
        pairAssigned_ = false;
        DropProgram();
        return;
    }
    if (pair.size() != 2 || pair[0] == pair[1]) Fail(kBadLineBreakPair);
    if (pairAssigned_ && pairHead_ == pair[0] && pairTail_ == pair[1]) return;
    pairHead_ = pair[0];
    pairTail_ = pair[1];
    pairAssigned_ = true;
    DropProgram();
}

void TPattern::SetStepLimit(int64_t steps) { stepLimit_ = steps < 1 ? 1 : steps; }

void TPattern::SetBacktrackMemory(int64_t bytes) {
    constexpr int64_t kMin = 4096, kMax = int64_t{1} << 30;
    backtrackMemory_ = bytes < kMin ? kMin : bytes > kMax ? kMax : bytes;
}

std::string TPattern::LineBreakPair() const {
    return pairAssigned_ ? std::string{pairHead_, pairTail_} : std::string();
}

unsigned char TPattern::DefaultSwapCase(unsigned char c) {
    const unsigned char upper = Upper1251(c);
    return upper != c ? upper : Lower1251(c);
}

void TPattern::DropProgram() {
    program_.clear();
    isCompiled_ = false;
}

void TPattern::ClearResults() {
    groupStart_.fill(-1);
    groupEnd_.fill(-1);
}

TPluginPattern::TPluginPattern() {
    WriteModifier(kModI, true);
    WriteModifier(kModR, true);
    WriteModifier(kModS, true);
    WriteModifier(kModG, true);
    WriteModifier(kModM, false);
    WriteModifier(kModX, false);
}

}  // namespace tintmark::regex
