#pragma once

// Shared checks for the compiler tests: structural invariants every compiled
// prototype must satisfy, and a whitespace-insensitive disassembly listing
// for golden comparisons.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "bytecode.h"
#include "compiler.h"
#include "error.h"

namespace velmor::testing {

// Walks the code instruction by instruction: lines match the code, every
// operand names something that exists and every jump lands inside the code.
inline void expectWellFormed(const FunctionProto& proto) {
    ASSERT_EQ(proto.lines.size(), proto.code.size()) << "in function '" << proto.name << "'";
    const std::vector<uint8_t>& code = proto.code;
    size_t offset = 0;
    while (offset < code.size()) {
        uint8_t op = code[offset];
        ASSERT_LT(op, kOpcodeCount) << "at " << offset;
        ASSERT_NE(op, OP_HALT) << "the compiler never emits OP_HALT";
        size_t length = static_cast<size_t>(instructionLength(op));
        ASSERT_LE(offset + length, code.size()) << opcodeName(op) << " truncated at " << offset;
        for (size_t i = 1; i < length; ++i) EXPECT_EQ(proto.lines[offset + i], proto.lines[offset]);
        uint32_t operand = 0;
        if (length == 2) operand = code[offset + 1];
        if (length == 3) operand = (uint32_t{code[offset + 1]} << 8) | code[offset + 2];
        size_t next = offset + length;
        switch (opcodeOperand(op)) {
        case OperandKind::JUMP: EXPECT_LE(next + operand, code.size()) << opcodeName(op) << " at " << offset; break;
        case OperandKind::LOOP: EXPECT_LE(operand, next) << "OP_LOOP at " << offset; break;
        default: break;
        }
        switch (op) {
        case OP_CONSTANT:
        case OP_DEFINE_GLOBAL:
        case OP_GET_GLOBAL:
        case OP_SET_GLOBAL: EXPECT_LT(operand, proto.constants.size()) << opcodeName(op) << " at " << offset; break;
        case OP_CLOSURE: EXPECT_LT(operand, proto.protos.size()) << "OP_CLOSURE at " << offset; break;
        case OP_GET_UPVALUE:
        case OP_SET_UPVALUE: EXPECT_LT(operand, proto.upvalues.size()) << opcodeName(op) << " at " << offset; break;
        default: break;
        }
        offset = next;
    }
    for (const Value& constant : proto.constants) {
        EXPECT_TRUE(constant.isInt() || constant.isFloat() || constant.isString());
    }
    for (size_t i = 0; i < proto.upvalues.size(); ++i) {
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(proto.upvalues[i] == proto.upvalues[j]) << "duplicate upvalue";
    }
    for (const Ref<FunctionProto>& child : proto.protos) expectWellFormed(*child);
}

inline Ref<FunctionProto> compileChecked(const StmtList& program) {
    Ref<FunctionProto> proto = compileProgram(program);
    expectWellFormed(*proto);
    return proto;
}

// The disassembly with runs of spaces collapsed, so expectations stay readable.
inline std::string listing(const FunctionProto& proto) {
    std::istringstream in(disassemble(proto));
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string word;
        std::string collapsed;
        while (words >> word) collapsed += (collapsed.empty() ? "" : " ") + word;
        out += collapsed + "\n";
    }
    return out;
}

// The compile error a program raises; fails the test when it compiles.
inline VelmorError compileFailure(const StmtList& program) {
    try {
        compileProgram(program);
    } catch (const VelmorError& error) {
        return error;
    }
    ADD_FAILURE() << "expected a CompileError";
    return compileError("compiled");
}

}  // namespace velmor::testing
