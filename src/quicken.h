#pragma once

// Quickening: the VM runs its own copy of each prototype's code, in which the
// opcode byte of some common instruction sequences is replaced by a fused
// instruction that does the work of the whole sequence in one dispatch.
//
// What keeps a fused instruction equal to the sequence it stands for:
//
// 1. Only the first byte of a matched sequence changes. Operands and the
//    instructions after it stay as compiled, so offsets, jump distances and
//    the line table are those of the prototype, and a jump into the middle
//    of a fused sequence runs the original instructions.
// 2. Sequences overlap: an instruction inside one sequence may itself start
//    another (the ADD of GET_LOCAL; CONSTANT; ADD also starts ADD; SET_LOCAL;
//    POP). So a fused instruction never reads the opcode byte of a later
//    instruction of its sequence: another fusion may have replaced it. Where
//    a step accepts several opcodes (ADD, SUB, MUL or MOD, say), the one the
//    compiled code has there is told by the fused opcode's own value: each
//    row owns one opcode value per opcode of that step, its variants.
//    Operand bytes are never written, so they read as compiled.
// 3. A fused instruction takes its fast path only where the sequence could
//    neither fail nor overflow the stack, and there leaves exactly the
//    values and effects the sequence would; otherwise it runs the first
//    instruction of the sequence as compiled and lets the rest follow.
// 4. The rows of VELMOR_QUICK_OPCODES are tried in their order at every
//    instruction start of the compiled code; the first row whose steps and
//    condition match there wins. Where a step sits is derived from the opcode
//    table's operand kinds (instructionLength), never counted by hand.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "bytecode.h"
#include "operators.h"

namespace velmor {

// The opcodes accepted at one step of a fused sequence.
struct OpcodeSet {
    uint64_t bits = 0;
    constexpr OpcodeSet() = default;
    constexpr OpcodeSet(OpCode op) : bits(uint64_t{1} << op) {}  // NOLINT: a single opcode is a set of one
    constexpr bool contains(uint8_t op) const { return op < kOpcodeCount && (bits >> op & 1) != 0; }
};
static_assert(kOpcodeCount <= 64);

template <class... Ops>
constexpr OpcodeSet anyOf(Ops... ops) {
    OpcodeSet set;
    set.bits = (OpcodeSet(ops).bits | ...);
    return set;
}

inline constexpr OpcodeSet kComparisons =
    anyOf(OP_EQUAL, OP_NOT_EQUAL, OP_LESS, OP_LESS_EQUAL, OP_GREATER, OP_GREATER_EQUAL);

// The fused instructions, in the order the matcher tries them. A row names
// the fused opcode, the condition its sequence must meet beyond its opcodes
// (a function of quicken.cpp), what it does, and the compiled sequence it
// stands for: one entry per instruction, the opcodes accepted there. At most
// one step of a row accepts several opcodes; it selects the row's variant.
//
// X(name, condition, meaning, steps...)
#define VELMOR_QUICK_OPCODES(X)                                                                                        \
    X(OP_QUICK_FOR_LOOP, stepsANumericFor, "numeric for step: add the step, test the limit, enter the body or leave",  \
      OP_GET_LOCAL, OP_GET_LOCAL, OP_ADD, OP_SET_LOCAL, OP_POP, OP_LOOP)                                               \
    X(OP_QUICK_FOR_IN_LOOP, stepsAForIn, "for-in step: advance the position by an Int and run the loop's head",        \
      OP_GET_LOCAL, OP_CONSTANT, OP_ADD, OP_SET_LOCAL, OP_POP, OP_LOOP)                                                \
    X(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH, addsATermToTheSameGlobal,                                                       \
      "g = g + x op k for a global g, a local x and an Int constant k (s = s + i % 7)", OP_GET_GLOBAL, OP_GET_LOCAL,   \
      OP_CONSTANT, anyOf(OP_ADD, OP_SUB, OP_MUL, OP_MOD), OP_ADD, OP_SET_GLOBAL, OP_POP)                               \
    X(OP_QUICK_GLOBAL_ADD_ELEMENT, addsAnElementToTheSameGlobal,                                                       \
      "g = g + h[x] for globals g and h and a local x (maps' total = total + m[k])", OP_GET_GLOBAL, OP_GET_GLOBAL,     \
      OP_GET_LOCAL, OP_GET_INDEX, OP_ADD, OP_SET_GLOBAL, OP_POP)                                                       \
    X(OP_QUICK_GLOBAL_ADD_ASSIGN, addsToTheSameGlobal, "g = g + y (g += y) for a global g, y a constant or variable",  \
      OP_GET_GLOBAL, anyOf(OP_CONSTANT, OP_GET_LOCAL, OP_GET_GLOBAL), OP_ADD, OP_SET_GLOBAL, OP_POP)                   \
    X(OP_QUICK_LOCAL_ADD_ASSIGN, addsToTheSameLocal, "x = x + y (x += y) for a local x, y a constant or variable",     \
      OP_GET_LOCAL, anyOf(OP_CONSTANT, OP_GET_LOCAL, OP_GET_GLOBAL), OP_ADD, OP_SET_LOCAL, OP_POP)                     \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, branchesOnAnIntConstant, "if x < k: a local against an Int constant, branch",   \
      OP_GET_LOCAL, OP_CONSTANT, kComparisons, OP_JUMP_IF_FALSE, OP_POP)                                               \
    X(OP_QUICK_LOCAL_STRING_COMPARE_JUMP, branchesOnAStringConstant,                                                   \
      "if c == \"{\": a local against a string constant, branch", OP_GET_LOCAL, OP_CONSTANT, kComparisons,             \
      OP_JUMP_IF_FALSE, OP_POP)                                                                                        \
    X(OP_QUICK_LOCAL_STRING_COMPARE, secondIsAStringConstant,                                                          \
      "c >= \"a\" as a value: a local against a string constant", OP_GET_LOCAL, OP_CONSTANT, kComparisons)             \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, branchesOnTheComparison,                                                     \
      "if x <= g: a local against a global, branch (while j <= n)", OP_GET_LOCAL, OP_GET_GLOBAL, kComparisons,         \
      OP_JUMP_IF_FALSE, OP_POP)                                                                                        \
    X(OP_QUICK_LOCAL_INT_ARITH, secondIsAnIntConstant, "x op k for a local x and an Int constant k", OP_GET_LOCAL,     \
      OP_CONSTANT, anyOf(OP_ADD, OP_SUB, OP_MUL, OP_MOD))                                                              \
    X(OP_QUICK_FIELD_ADD_PRODUCT, namesAndReadsAField,                                                                 \
      "m.f = n.g + x * y (or -) for locals m, n, x and y (b.vx = b.vx - dx * b2m)", OP_GET_LOCAL, OP_CONSTANT,         \
      OP_GET_LOCAL, OP_CONSTANT, OP_GET_INDEX, OP_GET_LOCAL, OP_GET_LOCAL, OP_MUL, anyOf(OP_ADD, OP_SUB),              \
      OP_SET_INDEX, OP_POP)                                                                                            \
    X(OP_QUICK_FIELD_FIELD_ARITH, readsTwoFields, "m.f op n.g for locals m and n, op +, - or * (b.x - b2.x)",          \
      OP_GET_LOCAL, OP_CONSTANT, OP_GET_INDEX, OP_GET_LOCAL, OP_CONSTANT, OP_GET_INDEX, anyOf(OP_ADD, OP_SUB, OP_MUL)) \
    X(OP_QUICK_LOCAL_KEY_FIELD, namesAndReadsAField,                                                                   \
      "m, \"name\", n.field for locals m and n: the head of a field update m.x = m.x + v", OP_GET_LOCAL, OP_CONSTANT,  \
      OP_GET_LOCAL, OP_CONSTANT, OP_GET_INDEX)                                                                         \
    X(OP_QUICK_LOCAL_FIELD_KEEP, secondIsAStringConstant,                                                              \
      "m, \"name\", m.name for a local m: the head of m.name += v", OP_GET_LOCAL, OP_CONSTANT, OP_GET_INDEX_KEEP)      \
    X(OP_QUICK_LOCAL_FIELD, secondIsAStringConstant, "m.name for a local m", OP_GET_LOCAL, OP_CONSTANT, OP_GET_INDEX)  \
    X(OP_QUICK_LOCAL_ELEMENT, secondIsAnIntConstant, "p[k] for a local p and an Int constant k", OP_GET_LOCAL,         \
      OP_CONSTANT, OP_GET_INDEX)                                                                                       \
    X(OP_QUICK_FOR_IN_NEXT, walksTheSameList, "for-in head: test the position, fetch the next item into the variable", \
      OP_GET_LOCAL, OP_GET_LOCAL, OP_LEN, OP_LESS, OP_JUMP_IF_FALSE, OP_POP, OP_GET_LOCAL, OP_GET_LOCAL, OP_GET_INDEX, \
      OP_SET_LOCAL, OP_POP)                                                                                            \
    X(OP_QUICK_EQUAL_JUMP, branchesToAPop, "a == b, then branch on it", OP_EQUAL, OP_JUMP_IF_FALSE, OP_POP)            \
    X(OP_QUICK_NOT_EQUAL_JUMP, branchesToAPop, "a != b, then branch on it", OP_NOT_EQUAL, OP_JUMP_IF_FALSE, OP_POP)    \
    X(OP_QUICK_LESS_JUMP, branchesToAPop, "a < b, then branch on it", OP_LESS, OP_JUMP_IF_FALSE, OP_POP)               \
    X(OP_QUICK_LESS_EQUAL_JUMP, branchesToAPop, "a <= b, then branch on it", OP_LESS_EQUAL, OP_JUMP_IF_FALSE, OP_POP)  \
    X(OP_QUICK_GREATER_JUMP, branchesToAPop, "a > b, then branch on it", OP_GREATER, OP_JUMP_IF_FALSE, OP_POP)         \
    X(OP_QUICK_GREATER_EQUAL_JUMP, branchesToAPop, "a >= b, then branch on it", OP_GREATER_EQUAL, OP_JUMP_IF_FALSE,    \
      OP_POP)                                                                                                          \
    X(OP_QUICK_LOCAL_LOCAL_ARITH, always, "a + b, a - b, a * b for locals a and b", OP_GET_LOCAL, OP_GET_LOCAL,        \
      anyOf(OP_ADD, OP_SUB, OP_MUL))                                                                                   \
    X(OP_QUICK_UPVALUE_ADD_ASSIGN, addsToTheSameUpvalue,                                                               \
      "u = u + v for captured u and v (a counter's count = count + step)", OP_GET_UPVALUE, OP_GET_UPVALUE, OP_ADD,     \
      OP_SET_UPVALUE, OP_POP)                                                                                          \
    X(OP_QUICK_UPVALUE_UPVALUE_ARITH, always, "a + b, a - b, a * b for captured a and b (count + step)",               \
      OP_GET_UPVALUE, OP_GET_UPVALUE, anyOf(OP_ADD, OP_SUB, OP_MUL))                                                   \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, resultIsNoBranch, "a < b for locals as a value (a comparator's return a < b)",     \
      OP_GET_LOCAL, OP_GET_LOCAL, kComparisons)                                                                        \
    X(OP_QUICK_LOCAL_GRID_INDEX, always, "a[i][j] for locals a, i and j, the row read in place", OP_GET_LOCAL,         \
      OP_GET_LOCAL, OP_GET_INDEX, OP_GET_LOCAL, OP_GET_INDEX)                                                          \
    X(OP_QUICK_LOCAL_LOCAL_INDEX, always, "a[i] for locals a and i", OP_GET_LOCAL, OP_GET_LOCAL, OP_GET_INDEX)         \
    X(OP_QUICK_LOCAL_INDEX, always, "<expression>[i] for a local i", OP_GET_LOCAL, OP_GET_INDEX)                       \
    X(OP_QUICK_GLOBAL_LOCAL_INDEX_JUMP, branchesOnTheElement,                                                          \
      "if g[i]: a global g indexed by a local i, branch on the element (sieve's if flags[i])", OP_GET_GLOBAL,          \
      OP_GET_LOCAL, OP_GET_INDEX, OP_JUMP_IF_FALSE, OP_POP)                                                            \
    X(OP_QUICK_GLOBAL_LOCAL_INDEX, always, "g[i] for a global g and a local i, g read in place", OP_GET_GLOBAL,        \
      OP_GET_LOCAL, OP_GET_INDEX)                                                                                      \
    X(OP_QUICK_GLOBAL_LOCAL_STORE, always, "g[i] = v for a global g, a local i, v a literal or a local",               \
      OP_GET_GLOBAL, OP_GET_LOCAL, anyOf(OP_NIL, OP_TRUE, OP_FALSE, OP_CONSTANT, OP_GET_LOCAL), OP_SET_INDEX, OP_POP)  \
    X(OP_QUICK_GLOBAL_LOCAL_STORE_ARITH, fourthIsAnIntConstant,                                                        \
      "g[k] = x op c for a global g, locals k and x, an Int constant c (counts[word] = seen + 1)", OP_GET_GLOBAL,      \
      OP_GET_LOCAL, OP_GET_LOCAL, OP_CONSTANT, anyOf(OP_ADD, OP_SUB, OP_MUL), OP_SET_INDEX, OP_POP)                    \
    X(OP_QUICK_FIELD, firstIsAStringConstant, "<expression>.name", OP_CONSTANT, OP_GET_INDEX)                          \
    X(OP_QUICK_ADD_SET_LOCAL, always, "x = <expression> + y: the sum straight into the local x", OP_ADD, OP_SET_LOCAL, \
      OP_POP)                                                                                                          \
    X(OP_QUICK_ADD_SET_GLOBAL, always, "g = <expression> + y: the sum straight into the global g", OP_ADD,             \
      OP_SET_GLOBAL, OP_POP)                                                                                           \
    X(OP_QUICK_ARITH_SET_INDEX_POP, always, "c[k] = a op b (p.x = a + b): the result straight into the element",       \
      anyOf(OP_ADD, OP_SUB, OP_MUL), OP_SET_INDEX, OP_POP)                                                             \
    X(OP_QUICK_SET_LOCAL_POP, always, "x = <expression> for a local x", OP_SET_LOCAL, OP_POP)                          \
    X(OP_QUICK_SET_GLOBAL_POP, always, "g = <expression> for a global g", OP_SET_GLOBAL, OP_POP)                       \
    X(OP_QUICK_SET_UPVALUE_POP, always, "u = <expression> for a captured u", OP_SET_UPVALUE, OP_POP)                   \
    X(OP_QUICK_CALL_POP, always, "f(...) as a statement: a builtin's result dropped, never pushed", OP_CALL, OP_POP)   \
    X(OP_QUICK_RETURN_LOCAL, always, "return x for a local x", OP_GET_LOCAL, OP_RETURN)                                \
    X(OP_QUICK_RETURN_UPVALUE, always, "return u for a captured u (a counter's return count)", OP_GET_UPVALUE,         \
      OP_RETURN)                                                                                                       \
    X(OP_QUICK_RETURN_CONSTANT, always, "return k for a constant k", OP_CONSTANT, OP_RETURN)                           \
    X(OP_QUICK_RETURN_NIL, always, "return nil, and a function's end without a return", OP_NIL, OP_RETURN)             \
    X(OP_QUICK_GLOBAL_PUSH, pushesOntoAGlobal,                                                                         \
      "push(g, v) as a statement for a global g, v a literal or a local: appended where g is kept", OP_GET_GLOBAL,     \
      OP_GET_GLOBAL, anyOf(OP_NIL, OP_TRUE, OP_FALSE, OP_CONSTANT, OP_GET_LOCAL), OP_CALL, OP_POP)

// Fused opcodes follow the compiled ones at a distance, so that a byte of
// code the compiler never writes is told apart from them.
inline constexpr uint8_t kFirstQuickOpCode = 128;
// What quickening writes over an opcode byte the compiler never writes, so
// that it fails as an unknown opcode instead of running as a fused one.
inline constexpr uint8_t kUnknownOpCode = 0xFF;
static_assert(kOpcodeCount < kFirstQuickOpCode);

// The compiled instruction sequence of a fused instruction.
inline constexpr std::size_t kMaxQuickSteps = 11;
struct QuickSequence {
    std::array<OpcodeSet, kMaxQuickSteps> steps{};
    std::size_t count = 0;
};

template <class... Steps>
constexpr QuickSequence quickSequenceOf(Steps... steps) {
    static_assert(sizeof...(steps) <= kMaxQuickSteps);
    return QuickSequence{{OpcodeSet(steps)...}, sizeof...(steps)};
}

constexpr int opcodeCount(OpcodeSet set) {
    int count = 0;
    for (int op = 0; op < kOpcodeCount; ++op) count += set.contains(static_cast<uint8_t>(op)) ? 1 : 0;
    return count;
}

// The step that accepts several opcodes, or `count` when every step accepts one.
constexpr std::size_t quickVariantStep(const QuickSequence& sequence) {
    std::size_t found = sequence.count;
    for (std::size_t step = 0; step < sequence.count; ++step) {
        if (opcodeCount(sequence.steps[step]) <= 1) continue;
        if (found != sequence.count) throw "a row may have one step of several opcodes only";
        found = step;
    }
    return found;
}

// How many opcode values the row owns: one per opcode of its variant step.
constexpr int quickVariantCount(const QuickSequence& sequence) {
    const std::size_t step = quickVariantStep(sequence);
    return step == sequence.count ? 1 : opcodeCount(sequence.steps[step]);
}

// The opcode of variant `index`: the opcodes of the variant step in numeric order.
constexpr OpCode quickVariantOpcode(const QuickSequence& sequence, int index) {
    const std::size_t step = quickVariantStep(sequence);
    if (step == sequence.count) throw "the row has no variants";
    for (int op = 0; op < kOpcodeCount; ++op) {
        if (sequence.steps[step].contains(static_cast<uint8_t>(op)) && index-- == 0) return static_cast<OpCode>(op);
    }
    throw "the row has fewer variants";
}

// A row's first opcode value is its name; the values of its other variants follow.
enum QuickOpCode : uint8_t {
    OP_QUICK_BEFORE_FIRST = kFirstQuickOpCode - 1,
#define VELMOR_QUICK_ENUM(name, condition, meaning, ...) \
    name, name##_LAST_VARIANT = name + quickVariantCount(quickSequenceOf(__VA_ARGS__)) - 1,
    VELMOR_QUICK_OPCODES(VELMOR_QUICK_ENUM)
#undef VELMOR_QUICK_ENUM
        OP_QUICK_END
};
static_assert(OP_QUICK_END <= kUnknownOpCode);

// The rows of the table, by position.
inline constexpr QuickOpCode kQuickRows[] = {
#define VELMOR_QUICK_ROW_OPCODE(name, condition, meaning, ...) name,
    VELMOR_QUICK_OPCODES(VELMOR_QUICK_ROW_OPCODE)
#undef VELMOR_QUICK_ROW_OPCODE
};
inline constexpr std::size_t kQuickRowCount = std::size(kQuickRows);

namespace detail {
inline constexpr QuickSequence kQuickSequences[] = {
#define VELMOR_QUICK_SEQUENCE(name, condition, meaning, ...) quickSequenceOf(__VA_ARGS__),
    VELMOR_QUICK_OPCODES(VELMOR_QUICK_SEQUENCE)
#undef VELMOR_QUICK_SEQUENCE
};

constexpr std::size_t quickRowIndex(QuickOpCode row) {
    for (std::size_t index = 0; index < kQuickRowCount; ++index) {
        if (kQuickRows[index] == row) return index;
    }
    throw "not the first opcode of a row";
}
}  // namespace detail

// The sequence of a row, named by its first opcode.
constexpr QuickSequence quickSequence(QuickOpCode row) { return detail::kQuickSequences[detail::quickRowIndex(row)]; }

namespace detail {
// Per opcode byte, the first opcode of the row whose variant it is, or the byte itself.
inline constexpr std::array<uint8_t, 256> kQuickRowOpcodes = [] {
    std::array<uint8_t, 256> rows{};
    for (int byte = 0; byte < 256; ++byte) rows[byte] = static_cast<uint8_t>(byte);
    for (const QuickOpCode row : kQuickRows) {
        for (int variant = 1; variant < quickVariantCount(quickSequence(row)); ++variant) rows[row + variant] = row;
    }
    return rows;
}();
}  // namespace detail

// The first opcode of the row that a fused opcode byte is a variant of; any other byte unchanged.
constexpr uint8_t quickRowOpcode(uint8_t op) { return detail::kQuickRowOpcodes[op]; }

constexpr bool isQuickOpcode(uint8_t op) { return op >= kFirstQuickOpCode && op < OP_QUICK_END; }

// The head of a compiled numeric for loop, where OP_QUICK_FOR_LOOP jumps back
// to: GET_LOCAL variable; GET_LOCAL limit; GET_LOCAL step; FOR_TEST;
// JUMP_IF_FALSE out of the loop; POP.
inline constexpr QuickSequence kNumericForHead =
    quickSequenceOf(OP_GET_LOCAL, OP_GET_LOCAL, OP_GET_LOCAL, OP_FOR_TEST, OP_JUMP_IF_FALSE, OP_POP);

// Where step `step` of a sequence starts, counted from the sequence's first
// byte. Every step before it must accept opcodes of one length only, so that
// the offset is the same whichever of them the code has.
constexpr std::size_t quickStepOffset(const QuickSequence& sequence, std::size_t step) {
    std::size_t offset = 0;
    for (std::size_t index = 0; index < step; ++index) {
        int length = 0;
        for (int op = 0; op < kOpcodeCount; ++op) {
            if (!sequence.steps[index].contains(static_cast<uint8_t>(op))) continue;
            const int own = instructionLength(static_cast<uint8_t>(op));
            if (length != 0 && own != length) throw "the steps before this one do not have one length";
            length = own;
        }
        offset += static_cast<std::size_t>(length);
    }
    return offset;
}

// The operand kind of a step whose opcodes all have the same one.
constexpr OperandKind quickStepOperand(const QuickSequence& sequence, std::size_t step) {
    bool found = false;
    OperandKind kind = OperandKind::NONE;
    for (int op = 0; op < kOpcodeCount; ++op) {
        if (!sequence.steps[step].contains(static_cast<uint8_t>(op))) continue;
        const OperandKind own = opcodeOperand(static_cast<uint8_t>(op));
        if (found && own != kind) throw "the opcodes of this step have different operand kinds";
        found = true;
        kind = own;
    }
    return kind;
}

// The bytes of a whole sequence whose steps each have one length.
constexpr std::size_t quickSequenceLength(const QuickSequence& sequence) {
    return quickStepOffset(sequence, sequence.count);
}

// The name of an opcode byte of quickened code: a fused instruction's (each
// variant by its row's name), or the compiled opcode's.
const char* quickOpcodeName(uint8_t op);
// A fused instruction's one-line meaning; empty for other bytes.
const char* quickOpcodeMeaning(uint8_t op);

enum class Quickening : uint8_t {
    Fuse,   // replace matched sequences by fused instructions
    Plain,  // keep the compiled instructions (only foreign opcode bytes are marked unknown)
};

// The copy of a prototype's code that the VM runs: the same length, offsets
// and operand bytes, with some opcode bytes at instruction starts replaced.
std::unique_ptr<uint8_t[]> quicken(const FunctionProto& proto, Quickening quickening);

// A sort comparator that the VM can answer without calling it: a function
// of two parameters p and q, without upvalues, whose whole body is
// `return p OP q` or `return q OP p` (OP a comparison), or the same with
// both sides read at one constant key, p[k] OP q[k] for an Int k or p.f OP
// q.f, exactly as compiled: the operands, the comparison, RETURN and the
// implicit NIL; RETURN after it. Only the values the comparison itself
// answers without an error are the VM's to compare; any other pair goes
// through the call.
struct ComparatorForm {
    bool recognised = false;
    bool swapped = false;  // q OP p: the sort's second value is the left operand
    bool keyed = false;    // both sides read at `key`
    OpCode op = OP_LESS;   // the comparison, one of kComparisons
    uint16_t key = 0;      // the constant index of the left side's key, when keyed
};

ComparatorForm comparatorForm(const FunctionProto& proto);

// The operator whose instruction `op` is (the operator table names each
// one's opcode): how the comparison of a form is passed to the shared sort.
constexpr BinaryOp binaryOpOf(OpCode op) {
#define VELMOR_BINARY_OP_OF(name, spelling, precedence, associativity, kind, opcode) \
    if (op == opcode && OperatorKind::kind != OperatorKind::ShortCircuit) return BinaryOp::name;
    VELMOR_BINARY_OPERATORS(VELMOR_BINARY_OP_OF)
#undef VELMOR_BINARY_OP_OF
    return BinaryOp::Less;
}

// The listing of a prototype and its children, with the fused instructions
// that the VM runs in place of the compiled ones named as such.
std::string disassembleQuickened(const FunctionProto& proto);

}  // namespace velmor
