// A readable listing of a compiled program, node by node.
#include <cstdio>

#include "regex/program.h"

namespace tintmark::regex {

const char* OpcodeName(uint8_t op) {
    switch (op) {
        case OpEnd: return "End";
        case OpInputStart: return "InputStart";
        case OpInputEnd: return "InputEnd";
        case OpAnyChar: return "AnyChar";
        case OpAlternative: return "Alternative";
        case OpJumpBack: return "JumpBack";
        case OpLiteral: return "Literal";
        case OpEmpty: return "Empty";
        case OpStar: return "Star";
        case OpPlus: return "Plus";
        case OpDigit: return "Digit";
        case OpNonDigit: return "NonDigit";
        case OpRepeatRange: return "RepeatRange";
        case OpNoOp: return "NoOp";
        case OpLiteralCI: return "LiteralCI";
        case OpLoopEntry: return "LoopEntry";
        case OpLoop: return "Loop";
        case OpInSet3: return "InSet3";
        case OpNotInSet3: return "NotInSet3";
        case OpInSet256: return "InSet256";
        case OpBackRef: return "BackRef";
        case OpBackRefCI: return "BackRefCI";
        case OpStarLazy: return "StarLazy";
        case OpPlusLazy: return "PlusLazy";
        case OpRepeatRangeLazy: return "RepeatRangeLazy";
        case OpLoopLazy: return "LoopLazy";
        case OpLineStart: return "LineStart";
        case OpLineEnd: return "LineEnd";
        case OpAnyInLine: return "AnyInLine";
        case OpWordBoundary: return "WordBoundary";
        case OpNotWordBoundary: return "NotWordBoundary";
        default:
            if (IsGroupOpen(op)) return "GroupOpen";
            if (IsGroupClose(op)) return "GroupClose";
            return "?";
    }
}

namespace {
std::string Printable(const uint8_t* p, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        char buf[8];
        if (p[i] >= 0x20 && p[i] < 0x7F && p[i] != '\\') {
            out += static_cast<char>(p[i]);
        } else {
            std::snprintf(buf, sizeof buf, "\\x%02X", p[i]);
            out += buf;
        }
    }
    return out;
}

// Operand length of a node, or -1 when the opcode is unknown.
int32_t OperandSize(const uint8_t* node) {
    switch (node[0]) {
        case OpLiteral: case OpLiteralCI: {
            int32_t n = 0;
            while (node[kNodeHeader + n]) ++n;
            return n + 1;
        }
        case OpRepeatRange: case OpRepeatRangeLazy: return 8;
        case OpLoop: case OpLoopLazy: return 12;
        case OpInSet3: case OpNotInSet3: return 3;
        case OpInSet256: return 32;
        case OpBackRef: case OpBackRefCI: return 1;
        default: return OpcodeName(node[0])[0] == '?' ? -1 : 0;
    }
}
}  // namespace

std::string DumpProgram(const uint8_t* program, int32_t size) {
    std::string out;
    char line[160];
    if (size < 1) return out;
    std::snprintf(line, sizeof line, "0\tmagic %u\n", program[0]);
    out += line;
    for (int32_t at = 1; at + kNodeHeader <= size;) {
        const uint8_t* node = program + at;
        const int32_t off = ReadInt32(node + 1);
        const int32_t operand = OperandSize(node);
        std::string next = off == 0 ? "-" : std::to_string(at + off);
        std::string detail;
        const uint8_t op = node[0];
        const uint8_t* o = node + kNodeHeader;
        if (IsGroupOpen(op)) detail = std::to_string(op - OpGroupOpen);
        else if (IsGroupClose(op)) detail = std::to_string(op - OpGroupClose);
        else if (op == OpLiteral || op == OpLiteralCI) detail = "\"" + Printable(o, operand - 1) + "\"";
        else if (op == OpRepeatRange || op == OpRepeatRangeLazy)
            detail = std::to_string(ReadInt32(o)) + ".." + std::to_string(ReadInt32(o + 4));
        else if (op == OpLoop || op == OpLoopLazy)
            detail = std::to_string(ReadInt32(o)) + ".." + std::to_string(ReadInt32(o + 4)) + " body " +
                     std::to_string(at + ReadInt32(o + 8));
        else if (op == OpInSet3 || op == OpNotInSet3) detail = "\"" + Printable(o, 3) + "\"";
        else if (op == OpInSet256) {
            for (int i = 0; i < 32; ++i) {
                std::snprintf(line, sizeof line, "%02X", o[i]);
                detail += line;
            }
        } else if (op == OpBackRef || op == OpBackRefCI) detail = std::to_string(o[0]);
        std::snprintf(line, sizeof line, "%d\t%s\tnext %s", at, OpcodeName(op), next.c_str());
        out += line;
        if (!detail.empty()) out += "\t" + detail;
        out += "\n";
        if (operand < 0) {
            out += "(unknown opcode: listing stops)\n";
            break;
        }
        at += kNodeHeader + operand;
    }
    return out;
}

}  // namespace tintmark::regex
