// The opcode table helpers and the listing of hand-made (possibly malformed)
// prototypes: the disassembler is a debugging tool and must never read past
// the code it is given.

#include <gtest/gtest.h>

#include "bytecode.h"
#include "compiler_support.h"

namespace velmor {
namespace {

TEST(OpcodeTable, NamesAndLengthsFollowTheOperandKinds) {
    EXPECT_STREQ(opcodeName(OP_CONSTANT), "OP_CONSTANT");
    EXPECT_STREQ(opcodeName(OP_GET_INDEX_KEEP), "OP_GET_INDEX_KEEP");
    EXPECT_STREQ(opcodeName(OP_HALT), "OP_HALT");
    EXPECT_STREQ(opcodeName(46), "<unknown>");
    EXPECT_STREQ(opcodeName(255), "<unknown>");

    EXPECT_EQ(instructionLength(OP_POP), 1);
    EXPECT_EQ(instructionLength(OP_GET_UPVALUE), 2);
    EXPECT_EQ(instructionLength(OP_CALL), 2);
    EXPECT_EQ(instructionLength(OP_GET_LOCAL), 3);
    EXPECT_EQ(instructionLength(OP_TRY), 3);
    EXPECT_EQ(instructionLength(OP_LOOP), 3);
    EXPECT_EQ(opcodeOperand(OP_JUMP_IF_TRUE), OperandKind::JUMP);
    EXPECT_EQ(opcodeOperand(OP_LOOP), OperandKind::LOOP);
    EXPECT_EQ(opcodeOperand(OP_CLOSURE), OperandKind::U16);
}

TEST(OpcodeTable, EveryOpcodeHasADistinctName) {
    for (int a = 0; a < kOpcodeCount; ++a) {
        EXPECT_EQ(std::string(opcodeName(static_cast<uint8_t>(a))).rfind("OP_", 0), 0u);
        for (int b = 0; b < a; ++b) {
            EXPECT_STRNE(opcodeName(static_cast<uint8_t>(a)), opcodeName(static_cast<uint8_t>(b)));
        }
    }
}

Ref<FunctionProto> handMade(std::vector<uint8_t> code) {
    Ref<FunctionProto> proto = makeRef<FunctionProto>();
    proto->name = "odd";
    proto->lines.assign(code.size(), 7);
    proto->code = std::move(code);
    return proto;
}

TEST(Disassembler, MalformedCodeIsShownNotTrusted) {
    Ref<FunctionProto> proto = handMade({OP_CONSTANT, 0, 3, 0xC8, OP_CLOSURE, 0, 0, OP_LOOP, 0, 200, OP_GET_LOCAL, 1});
    EXPECT_EQ(testing::listing(*proto), "function odd (arity 0, 0 constants, 0 upvalues, 0 functions)\n"
                                        "0000 7 OP_CONSTANT 3 ; <no such constant>\n"
                                        "0003 7 <unknown opcode 0xc8>\n"
                                        "0004 7 OP_CLOSURE 0 ; <no such function>\n"
                                        "0007 7 OP_LOOP 200 ; -> before start\n"
                                        "0010 7 OP_GET_LOCAL <truncated>\n");
}

TEST(Disassembler, MissingLinesReadAsZero) {
    Ref<FunctionProto> proto = handMade({OP_NIL, OP_RETURN});
    proto->lines.resize(1);
    EXPECT_EQ(testing::listing(*proto), "function odd (arity 0, 0 constants, 0 upvalues, 0 functions)\n"
                                        "0000 7 OP_NIL\n"
                                        "0001 0 OP_RETURN\n");
}

TEST(Disassembler, ListsUpvaluesAndChildrenAfterTheirParent) {
    Ref<FunctionProto> child = handMade({OP_GET_UPVALUE, 1, OP_SET_UPVALUE, 0, OP_RETURN});
    child->name = "inner";
    child->arity = 2;
    child->upvalues = {{1, 4}, {0, 2}};
    Ref<FunctionProto> parent = handMade({OP_CLOSURE, 0, 0, OP_JUMP, 0, 1, OP_POP, OP_RETURN});
    parent->name = "";
    parent->protos.push_back(child);
    EXPECT_EQ(testing::listing(*parent), "function <script> (arity 0, 0 constants, 0 upvalues, 1 functions)\n"
                                         "0000 7 OP_CLOSURE 0 ; <function inner>\n"
                                         "0003 7 OP_JUMP 1 ; -> 0007\n"
                                         "0006 7 OP_POP\n"
                                         "0007 7 OP_RETURN\n"
                                         "\n"
                                         "function inner (arity 2, 0 constants, 2 upvalues, 0 functions)\n"
                                         "upvalue 0: local 4\n"
                                         "upvalue 1: upvalue 2\n"
                                         "0000 7 OP_GET_UPVALUE 1\n"
                                         "0002 7 OP_SET_UPVALUE 0\n"
                                         "0004 7 OP_RETURN\n");
}

}  // namespace
}  // namespace velmor
