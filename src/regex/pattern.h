// The expression object: settings, modifiers, expression and line-break-pair assignment,
// and the engine's numbered errors. Compiling and matching build on this class.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "regex/folded_search.h"

namespace tintmark::regex {

constexpr int kMaxGroups = 14;
constexpr int kMaxLoopLevels = 10;

// Error codes of the engine: below 1000 compile errors, from 1000 on run-time errors.
enum ErrorCode : int32_t {
    kNoErrors = 0,
    kNoExpressionToCompile = 100,
    kExpressionTooBig = 101,
    kTooManyGroups = 102,
    kUnmatchedOpenParen = 103,
    kUnmatchedCloseParen = 104,
    kTextAfterExpression = 105,
    kOperandCouldMatchEmpty = 106,
    kNestedQuantifier = 107,
    kBadHexDigit = 108,
    kInvalidRange = 109,
    kTrailingBackslashInSet = 110,
    kNoHexCode = 111,
    kHexCodeTooBig = 112,
    kUnmatchedBracket = 113,
    kAtomParserInternal = 114,
    kQuantifierFollowsNothing = 115,
    kTrailingBackslash = 116,
    kEmptyLiteral = 119,
    kBraceCountTooBig = 122,
    kBraceMinAboveMax = 124,
    kUnclosedComment = 125,
    kComplexBracesUnavailable = 126,
    kUnrecognizedModifier = 127,
    kBadLineBreakPair = 128,
    kRepeatOnUnsuitableNode = 1000,
    kCorruptedNode = 1001,
    kMissingNode = 1002,
    kNoExpressionAssigned = 1003,
    kCorruptedProgram = 1004,
    kNoSubject = 1005,
    kBadOffset = 1006,
    kContinuedWithoutFirst = 1007,
    kSubjectReadWithoutSubject = 1008,
    kDumpCorruptedOpcode = 1011,
    kBadModifierIndex = 1013,
    kLoopStackExceeded = 1014,
    kLoopNodeWithoutEntry = 1015,
    kMatchTooDeep = 1016,       // the engine's own: the backtracking state outgrew its memory bound
    kStepLimitExceeded = 1017,  // the engine's own: a run took more steps than the step limit
    kBadProgramImported = 2000,
};

// The engine's exception: the message text, the code and, for compile errors, the number
// of expression characters consumed when the error was found.
class EPatternError : public std::runtime_error {
public:
    EPatternError(const std::string& message, int32_t code, int32_t compilePos)
        : std::runtime_error(message), Code(code), CompilePos(compilePos) {}
    int32_t Code;
    int32_t CompilePos;
};

// What the matcher needs to try the counts of a counting repeat, read once from the program
// when it is compiled. The follow set holds the characters at which what follows the repeat
// can begin: counts after which it cannot are skipped.
struct RepeatInfo {
    int32_t min, max;
    int32_t repeated;   // the single-character node or back-reference
    int32_t after;      // the node after the repeat, or -1
    int32_t lookahead;  // the first character of a literal right after the repeat, or -1
    bool lazy;
    bool hasFollow;
    std::array<uint8_t, 32> follow;
};

// Modifier indices (for ReadModifier/WriteModifier) and their letters and bits.
enum ModifierIndex : int { kModI = 1, kModR = 2, kModS = 3, kModG = 4, kModM = 5, kModX = 6 };
constexpr uint32_t ModifierBit(int index) { return 1u << (index - 1); }
constexpr char kModifierLetters[] = "irsgmx";  // letter of index n at [n - 1]

// Applies a modifier string such as "i", "-i", "i-s" (letters before "-" on, after it off,
// either case) to bits. Returns false, leaving bits unchanged, at any other character.
bool ApplyModifierString(std::string_view letters, uint32_t& bits);

// The text of an error code ("Unknown error" for codes the engine does not have).
std::string PatternErrorText(int32_t code);

class TPattern {
public:
    TPattern();
    virtual ~TPattern() = default;
    TPattern(const TPattern&) = delete;
    TPattern& operator=(const TPattern&) = delete;

    // Stores the code and raises EPatternError; compile errors carry " (pos N)".
    [[noreturn]] virtual void RaiseError(int32_t code);
    virtual std::string ErrorText(int32_t code) const;

    // Assigning a different text, or any text to an uncompiled object, drops the program;
    // an empty text leaves no expression.
    void SetExpression(std::string_view text);
    bool HasExpression() const { return expression_.has_value(); }
    const std::string& Expression() const;

    bool ReadModifier(int index);
    void WriteModifier(int index, bool on);
    uint32_t ModifierBits() const { return modifierBits_; }

    // "" removes the pair; two different characters set it; anything else is error 128.
    void SetLineBreakPair(std::string_view pair);
    std::string LineBreakPair() const;

    const std::string& SpaceCharacters() const { return spaceCharacters_; }
    const std::string& WordCharacters() const { return wordCharacters_; }
    const std::string& LineSeparatorChars() const { return lineSeparatorChars_; }

    bool IsCompiled() const { return isCompiled_; }
    int32_t LastErrorCode() const { return lastErrorCode_; }

    // The other case of c under Windows-1251.
    static unsigned char DefaultSwapCase(unsigned char c);
    unsigned char CaseInverter(unsigned char c) const { return caseTable_[c]; }

    // Compiles Expression into the program (error 1003 without one).
    void CompileProgram();
    // Stores a copy of subject (up to its first NUL) and searches from its start.
    bool Exec(std::string_view subject);
    // Searches the stored subject from the 1-based offset.
    bool ExecFrom(int32_t offset);

    // Results of the last run: 0-based positions in the subject, end exclusive; -1 when the
    // group took no part. Index 0 is the whole match.
    int32_t GroupStart(int n) const { return groupStart_[static_cast<size_t>(n)]; }
    int32_t GroupEnd(int n) const { return groupEnd_[static_cast<size_t>(n)]; }

    // The compiled program and its summaries.
    const std::vector<uint8_t>& Program() const { return program_; }
    bool StartCharSetHas(unsigned char c) const { return (startCharSet_[c >> 3] >> (c & 7)) & 1; }
    unsigned char FirstLiteralChar() const { return firstLiteralChar_; }
    bool AnchoredAtStart() const { return anchoredAtStart_; }

    const std::string& RequiredLiteral() const { return requiredLiteral_; }
    // Whether the required literal is searched for in either case.
    bool RequiredLiteralFolded() const { return requiredLiteralFolded_; }

    // Bounds that keep a run from taking the host down. Steps are nodes visited plus
    // characters compared or counted; a run with more ends with error 1017. The choices a
    // run can still go back to are kept on the heap; when they would need more memory than
    // the bound, the run ends with error 1016. Values below 1 step or 4 KB are raised to
    // those. Neither setting touches the program.
    static constexpr int64_t kDefaultStepLimit = 100000000;
    static constexpr int64_t kDefaultBacktrackMemory = 64 * 1024 * 1024;
    void SetStepLimit(int64_t steps);
    int64_t StepLimit() const { return stepLimit_; }
    void SetBacktrackMemory(int64_t bytes);
    int64_t BacktrackMemory() const { return backtrackMemory_; }

protected:
    friend class Compiler;
    friend class Matcher;
    friend void ComputeSummaries(TPattern& pattern, bool startsWithRepeat);
    friend bool FirstCharacters(TPattern& pattern, const uint8_t* program, int32_t node, uint8_t* set,
                                bool midLoop, int32_t budget);
    void DropProgram();
    void ClearResults();
    // RaiseError for the engine's own use; an override that returns still ends the operation.
    [[noreturn]] void Fail(int32_t code);

    std::optional<std::string> expression_;
    uint32_t modifierBits_ = 0;
    std::string spaceCharacters_ = " \t\n\r\f";
    std::string wordCharacters_ = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
    std::string lineSeparatorChars_ = "\r\n";
    char pairHead_ = '\r';
    char pairTail_ = '\n';
    bool pairAssigned_ = true;

    std::array<unsigned char, 256> caseTable_{};

    std::vector<uint8_t> program_;
    uint32_t programModifierBits_ = 0;
    std::array<uint8_t, 32> startCharSet_{};
    unsigned char firstLiteralChar_ = 0;
    bool anchoredAtStart_ = false;
    std::string requiredLiteral_;
    bool requiredLiteralFolded_ = false;
    FoldedLiteral requiredFolded_;  // the search for a case-insensitive required literal
    // For each counting repeat (by program position), an index into repeats_.
    std::vector<int32_t> repeatIndex_;
    std::vector<RepeatInfo> repeats_;
    // For each OpJumpBack (by program position), the number of its loop's register: where
    // the loop's newest pass began, so that a pass that consumes nothing ends the loop.
    std::vector<int32_t> jumpRegister_;
    int32_t loopRegisters_ = 0;

    // WordCharacters and LineSeparatorChars as bitmaps (neither can change after construction).
    std::array<uint8_t, 32> wordSet_{};
    std::array<uint8_t, 32> lineSeparatorSet_{};
    int64_t stepLimit_ = kDefaultStepLimit;
    int64_t backtrackMemory_ = kDefaultBacktrackMemory;
    // The matcher's working storage, kept between runs so that a run allocates nothing: its
    // restorable state, the log of changes to undo, and the choices it can go back to.
    struct UndoEntry {
        int32_t slot, old;
    };
    struct ChoiceEntry {
        int32_t kind, a, b, c, d;
        uint32_t undoMark;  // the undo log's size when the choice was made
    };
    std::vector<int32_t> matchSlots_;
    std::vector<UndoEntry> undoStore_;
    std::vector<ChoiceEntry> choiceStore_;

    std::string subject_;  // with its terminating NUL
    bool hasSubject_ = false;
    std::array<int32_t, kMaxGroups + 1> groupStart_{};
    std::array<int32_t, kMaxGroups + 1> groupEnd_{};
    bool isCompiled_ = false;
    bool compiling_ = false;
    int32_t compilePos_ = 0;  // characters consumed while compiling
    int32_t lastErrorCode_ = 0;
};

// The plugin's expression class: case-insensitive, Russian ranges, dot matches all, greedy.
class TPluginPattern : public TPattern {
public:
    TPluginPattern();
};

}  // namespace tintmark::regex
