#pragma once

// The compiled form of a program: function prototypes holding flat byte code.
// An instruction is a one-byte opcode followed by zero, one or two operand
// bytes; 16-bit operands are big-endian. Jumps are relative distances counted
// from the byte after the operand, so a prototype is never relocated or
// rewritten once the compiler has finished it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "value.h"

namespace velmor {

// Operand kinds: NONE, U8, U16 (an index or count), JUMP (forward distance),
// LOOP (backward distance).
//
// X(name, number, operand, meaning)
#define VELMOR_OPCODES(X)                                                                         \
    X(OP_CONSTANT, 0, U16, "push a copy of the constant at that index")                           \
    X(OP_NIL, 1, NONE, "push nil")                                                                \
    X(OP_TRUE, 2, NONE, "push true")                                                              \
    X(OP_FALSE, 3, NONE, "push false")                                                            \
    X(OP_POP, 4, NONE, "discard the top value")                                                   \
    X(OP_DEFINE_GLOBAL, 5, U16, "pop v and define the global named by the constant as v")         \
    X(OP_GET_GLOBAL, 6, U16, "push the value of an existing global")                              \
    X(OP_SET_GLOBAL, 7, U16, "store the top value into an existing global; it stays")             \
    X(OP_GET_LOCAL, 8, U16, "push a copy of the frame's slot")                                    \
    X(OP_SET_LOCAL, 9, U16, "store the top value into the frame's slot; it stays")                \
    X(OP_GET_UPVALUE, 10, U8, "push the current value of the closure's upvalue")                  \
    X(OP_SET_UPVALUE, 11, U8, "store the top value through the closure's upvalue; it stays")      \
    X(OP_CLOSE_UPVALUE, 12, NONE, "close open upvalues of the top slot, then discard it")         \
    X(OP_BUILD_LIST, 13, U16, "new list of the N values in push order")                           \
    X(OP_BUILD_MAP, 14, U16, "new map of N key/value pairs, inserted first to last")              \
    X(OP_GET_INDEX, 15, NONE, "index a list, string or map")                                      \
    X(OP_GET_INDEX_KEEP, 16, NONE, "index, leaving object and key in place")                      \
    X(OP_SET_INDEX, 17, NONE, "store into a list element or map entry; the value stays")          \
    X(OP_ADD, 18, NONE, "numbers, string or list concatenation")                                  \
    X(OP_SUB, 19, NONE, "subtract")                                                               \
    X(OP_MUL, 20, NONE, "multiply")                                                               \
    X(OP_DIV, 21, NONE, "divide; always a float")                                                 \
    X(OP_FLOOR_DIV, 22, NONE, "floor division")                                                   \
    X(OP_MOD, 23, NONE, "remainder")                                                              \
    X(OP_POW, 24, NONE, "power")                                                                  \
    X(OP_NEGATE, 25, NONE, "negate a number")                                                     \
    X(OP_NOT, 26, NONE, "logical negation of truthiness")                                         \
    X(OP_EQUAL, 27, NONE, "value equality")                                                       \
    X(OP_NOT_EQUAL, 28, NONE, "negated equality")                                                 \
    X(OP_LESS, 29, NONE, "a < b")                                                                 \
    X(OP_LESS_EQUAL, 30, NONE, "a <= b")                                                          \
    X(OP_GREATER, 31, NONE, "a > b")                                                              \
    X(OP_GREATER_EQUAL, 32, NONE, "a >= b")                                                       \
    X(OP_JUMP, 33, JUMP, "jump forward")                                                          \
    X(OP_JUMP_IF_FALSE, 34, JUMP, "jump forward when the top value is falsy; it stays")           \
    X(OP_JUMP_IF_TRUE, 35, JUMP, "jump forward when the top value is truthy; it stays")           \
    X(OP_LOOP, 36, LOOP, "jump backwards")                                                        \
    X(OP_CALL, 37, U8, "call a closure or native with N arguments")                               \
    X(OP_CLOSURE, 38, U16, "make a closure of a child prototype, capturing its upvalues")         \
    X(OP_RETURN, 39, NONE, "leave the frame with the popped value")                               \
    X(OP_ITER_LIST, 40, NONE, "replace an iterable by a fresh list of the items a for-in visits") \
    X(OP_LEN, 41, NONE, "integer length of a list, string or map")                                \
    X(OP_FOR_TEST, 42, NONE, "numeric-for continuation test of var, limit, step")                 \
    X(OP_TRY, 43, JUMP, "install an exception handler")                                           \
    X(OP_END_TRY, 44, NONE, "remove the innermost handler")                                       \
    X(OP_HALT, 45, NONE, "end the run loop with nil")

enum OpCode : uint8_t {
#define VELMOR_OPCODE_ENUM(name, number, operand, meaning) name = number,
    VELMOR_OPCODES(VELMOR_OPCODE_ENUM)
#undef VELMOR_OPCODE_ENUM
};

#define VELMOR_OPCODE_COUNT(name, number, operand, meaning) +1
inline constexpr int kOpcodeCount = 0 VELMOR_OPCODES(VELMOR_OPCODE_COUNT);
#undef VELMOR_OPCODE_COUNT
static_assert(kOpcodeCount == 46);

enum class OperandKind : uint8_t { NONE, U8, U16, JUMP, LOOP };

namespace detail {
inline constexpr OperandKind kOpcodeOperands[] = {
#define VELMOR_OPCODE_OPERAND(name, number, operand, meaning) OperandKind::operand,
    VELMOR_OPCODES(VELMOR_OPCODE_OPERAND)
#undef VELMOR_OPCODE_OPERAND
};
}  // namespace detail

const char* opcodeName(uint8_t op);

constexpr OperandKind opcodeOperand(uint8_t op) {
    return op < kOpcodeCount ? detail::kOpcodeOperands[op] : OperandKind::NONE;
}

// Operand bytes of an operand kind.
constexpr int operandWidth(OperandKind kind) {
    switch (kind) {
    case OperandKind::NONE: return 0;
    case OperandKind::U8: return 1;
    case OperandKind::U16:
    case OperandKind::JUMP:
    case OperandKind::LOOP: return 2;
    }
    return 0;
}

// Bytes taken by the instruction starting with `op`, opcode included.
constexpr int instructionLength(uint8_t op) { return 1 + operandWidth(opcodeOperand(op)); }

struct UpvalueDesc {
    uint8_t isLocal;  // 1: a local slot of the enclosing function; 0: its upvalue
    uint32_t index;
    bool operator==(const UpvalueDesc&) const = default;
};

// Which local variable a slot holds over which code: from the instruction at
// `start` up to the one before `end`. For a debugger; nothing runs from it.
struct LocalName {
    std::string name;
    uint32_t slot;
    uint32_t start;
    uint32_t end;
};

struct FunctionProto final : Object {
    std::string name;  // empty for the top-level script
    uint32_t arity = 0;
    std::vector<uint8_t> code;
    std::vector<uint32_t> lines;   // exactly as long as `code`
    std::vector<Value> constants;  // Int, Float and String only
    std::vector<Ref<FunctionProto>> protos;
    std::vector<UpvalueDesc> upvalues;
    std::vector<LocalName> localNames;
    std::vector<std::string> upvalueNames;  // as long as `upvalues`
};

// Names the instruction at an offset of a prototype in a listing in place of
// its opcode's name, or gives nullptr to keep that (the VM's fused
// instructions are listed this way).
using InstructionNamer = std::function<const char*(const FunctionProto& proto, std::size_t offset)>;

// A readable listing of a prototype and, after it, its children.
std::string disassemble(const FunctionProto& proto, const InstructionNamer& nameOf = nullptr);

}  // namespace velmor
