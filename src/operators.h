#pragma once

// The binary operators, one line each. The parser takes the precedence and
// associativity from here, and finds each operator's token, and the token of
// its compound assignment ("+=", "//=", ...), by spelling in the token table;
// the engines take the spelling for their messages, and the compiler the
// opcode. An arithmetic operator is one that has a compound assignment;
// "and" and "or" compile to the jump that skips their right operand.

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmor {

// clang-format off
// name       spelling  precedence  associativity  kind          opcode
#define VELMOR_BINARY_OPERATORS(X)                                         \
    X(Add,       "+",   5, Left,  Arithmetic, OP_ADD)                      \
    X(Sub,       "-",   5, Left,  Arithmetic, OP_SUB)                      \
    X(Mul,       "*",   6, Left,  Arithmetic, OP_MUL)                      \
    X(Div,       "/",   6, Left,  Arithmetic, OP_DIV)                      \
    X(FloorDiv,  "//",  6, Left,  Arithmetic, OP_FLOOR_DIV)                \
    X(Mod,       "%",   6, Left,  Arithmetic, OP_MOD)                      \
    X(Pow,       "^",   8, Right, Arithmetic, OP_POW)                      \
    X(Eq,        "==",  3, Left,  Comparison, OP_EQUAL)                    \
    X(NotEq,     "!=",  3, Left,  Comparison, OP_NOT_EQUAL)                \
    X(Less,      "<",   4, Left,  Comparison, OP_LESS)                     \
    X(LessEq,    "<=",  4, Left,  Comparison, OP_LESS_EQUAL)               \
    X(Greater,   ">",   4, Left,  Comparison, OP_GREATER)                  \
    X(GreaterEq, ">=",  4, Left,  Comparison, OP_GREATER_EQUAL)            \
    X(And,       "and", 2, Left,  ShortCircuit, OP_JUMP_IF_FALSE)          \
    X(Or,        "or",  1, Left,  ShortCircuit, OP_JUMP_IF_TRUE)
// clang-format on

// Decided once by the parser, so that neither engine compares spellings at run time.
enum class BinaryOp : uint8_t {
#define VELMOR_BINARY_OP_ENUM(name, spelling, precedence, associativity, kind, opcode) name,
    VELMOR_BINARY_OPERATORS(VELMOR_BINARY_OP_ENUM)
#undef VELMOR_BINARY_OP_ENUM
};

enum class Associativity : uint8_t { Left, Right };
enum class OperatorKind : uint8_t { Arithmetic, Comparison, ShortCircuit };

struct BinaryOperatorInfo {
    std::string_view spelling;
    int precedence;
    Associativity associativity;
    OperatorKind kind;
};

inline constexpr BinaryOperatorInfo kBinaryOperators[] = {
#define VELMOR_BINARY_OP_INFO(name, spelling, precedence, associativity, kind, opcode) \
    {spelling, precedence, Associativity::associativity, OperatorKind::kind},
    VELMOR_BINARY_OPERATORS(VELMOR_BINARY_OP_INFO)
#undef VELMOR_BINARY_OP_INFO
};

constexpr const BinaryOperatorInfo& operatorInfo(BinaryOp op) { return kBinaryOperators[static_cast<int>(op)]; }
constexpr std::string_view operatorSpelling(BinaryOp op) { return operatorInfo(op).spelling; }

// The operator spelled so, if any.
constexpr std::optional<BinaryOp> binaryOpFromSpelling(std::string_view spelling) {
    for (int i = 0; i < static_cast<int>(std::size(kBinaryOperators)); ++i) {
        if (kBinaryOperators[i].spelling == spelling) return static_cast<BinaryOp>(i);
    }
    return std::nullopt;
}

// The arithmetic operator that a compound assignment spelled with `spelling`
// plus "=" applies ("+" for "+="), if any.
constexpr std::optional<BinaryOp> compoundOpFromSpelling(std::string_view spelling) {
    std::optional<BinaryOp> op = binaryOpFromSpelling(spelling);
    if (op && operatorInfo(*op).kind == OperatorKind::Arithmetic) return op;
    return std::nullopt;
}

}  // namespace velmor
