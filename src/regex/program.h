// The byte program of a compiled expression: opcodes, node layout and operand access.
//
// Byte 0 is ProgramMagic; nodes follow from byte 1. Every node is an opcode byte, a signed
// 32-bit little-endian offset from the node's first byte to the next node of its chain
// (0 = none), then the opcode's operand.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "regex/pattern.h"

namespace tintmark::regex {

enum Opcode : uint8_t {
    OpEnd = 0,
    OpInputStart = 1,
    OpInputEnd = 2,
    OpAnyChar = 3,
    OpAlternative = 6,
    OpJumpBack = 7,
    OpLiteral = 8,
    OpEmpty = 9,
    OpStar = 10,
    OpPlus = 11,
    OpDigit = 12,
    OpNonDigit = 13,
    OpRepeatRange = 18,
    OpNoOp = 19,
    OpLiteralCI = 20,
    OpLoopEntry = 23,
    OpLoop = 24,
    OpInSet3 = 25,
    OpNotInSet3 = 26,
    OpInSet256 = 27,
    OpBackRef = 28,
    OpBackRefCI = 29,
    OpStarLazy = 30,
    OpPlusLazy = 31,
    OpRepeatRangeLazy = 32,
    OpLoopLazy = 33,
    OpLineStart = 34,
    OpLineEnd = 35,
    OpAnyInLine = 36,
    OpWordBoundary = 37,
    OpNotWordBoundary = 38,
    OpGroupOpen = 39,   // + group number 1..14 (40..53)
    OpGroupClose = 54,  // + group number 1..14 (55..68)
};

constexpr uint8_t kProgramMagic = 216;
constexpr int32_t kUnboundedCount = 2147483646;
constexpr int32_t kNodeHeader = 5;      // opcode + next offset
constexpr int32_t kRangeHeader = 13;    // header + min + max

inline bool IsGroupOpen(uint8_t op) { return op > OpGroupOpen && op <= OpGroupOpen + kMaxGroups; }
inline bool IsGroupClose(uint8_t op) { return op > OpGroupClose && op <= OpGroupClose + kMaxGroups; }

inline int32_t ReadInt32(const uint8_t* p) {
    uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                 static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(v);
}

inline void WriteInt32(uint8_t* p, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// Read-only view of a program with bounds-free accessors (the compiler guarantees layout).
struct ProgramView {
    const uint8_t* base = nullptr;
    int32_t size = 0;

    uint8_t Op(int32_t node) const { return base[node]; }
    int32_t NextOffset(int32_t node) const { return ReadInt32(base + node + 1); }
    // Position of the next node, or -1 for none.
    int32_t Next(int32_t node) const {
        const int32_t off = NextOffset(node);
        return off == 0 ? -1 : node + off;
    }
    const uint8_t* Operand(int32_t node) const { return base + node + kNodeHeader; }
    int32_t OperandPos(int32_t node) const { return node + kNodeHeader; }
    // Min and max of a repeat range or loop.
    int32_t Min(int32_t node) const { return ReadInt32(Operand(node)); }
    int32_t Max(int32_t node) const { return ReadInt32(Operand(node) + 4); }
    int32_t LoopBody(int32_t node) const { return node + ReadInt32(Operand(node) + 8); }
    const char* Text(int32_t node) const { return reinterpret_cast<const char*>(Operand(node)); }
};

// The name of an opcode ("?" for numbers that are not opcodes).
const char* OpcodeName(uint8_t op);

// The program node by node, one line each: position, name, next target, operand.
std::string DumpProgram(const uint8_t* program, int32_t size);

}  // namespace tintmark::regex
