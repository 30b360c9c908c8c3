// Golden instruction sequences: each program's expected listing is worked out
// by hand from the instruction shapes of the construct it exercises.

#include <gtest/gtest.h>

#include "compiler_support.h"
#include "compiler_tree.h"

namespace velmor {
namespace {

using namespace tree;
using testing::compileChecked;
using testing::compileFailure;
using testing::listing;

TEST(CompilerGolden, EmptyProgramIsNilReturnOnLineZero) {
    Ref<FunctionProto> proto = compileChecked(StmtList{});
    EXPECT_EQ(proto->code, (std::vector<uint8_t>{OP_NIL, OP_RETURN}));
    EXPECT_EQ(proto->lines, (std::vector<uint32_t>{0, 0}));
    EXPECT_TRUE(proto->constants.empty());
    EXPECT_TRUE(proto->protos.empty());
    EXPECT_TRUE(proto->upvalues.empty());
    EXPECT_EQ(proto->name, "");
    EXPECT_EQ(proto->arity, 0u);
}

TEST(CompilerGolden, TopLevelLetOfASum) {
    StmtList program = block(at(1, 1, let("x", binary("+", num(1), num(2)))));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(proto->code,
              (std::vector<uint8_t>{0x00, 0x00, 0x01, 0x00, 0x00, 0x02, 0x12, 0x05, 0x00, 0x00, 0x01, 0x27}));
    EXPECT_EQ(proto->lines, (std::vector<uint32_t>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}));
    ASSERT_EQ(proto->constants.size(), 3u);
    EXPECT_EQ(proto->constants[0].asString(), "x");
    EXPECT_TRUE(proto->constants[1].isInt());
    EXPECT_EQ(proto->constants[1].asInt(), 1);
    EXPECT_EQ(proto->constants[2].asInt(), 2);
}

TEST(CompilerGolden, ListingFormat) {
    StmtList program = block(at(12, 1, let("x", at(12, 9, real(2.5)))));
    EXPECT_EQ(disassemble(*compileChecked(program)),
              "function <script> (arity 0, 2 constants, 0 upvalues, 0 functions)\n"
              "0000    12  OP_CONSTANT         1     ; 2.5\n"
              "0003    12  OP_DEFINE_GLOBAL    0     ; \"x\"\n"
              "0006     0  OP_NIL\n"
              "0007     0  OP_RETURN\n");
}

TEST(CompilerGolden, LiteralsKeepTheirKindAndNilTrueFalseUseNoConstants) {
    StmtList program =
        block(expr(nil()), expr(truth(true)), expr(truth(false)), expr(num(7)), expr(real(7.0)), expr(str("7")));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(listing(*proto), "function <script> (arity 0, 3 constants, 0 upvalues, 0 functions)\n"
                               "0000 1 OP_NIL\n"
                               "0001 1 OP_POP\n"
                               "0002 1 OP_TRUE\n"
                               "0003 1 OP_POP\n"
                               "0004 1 OP_FALSE\n"
                               "0005 1 OP_POP\n"
                               "0006 1 OP_CONSTANT 0 ; 7\n"
                               "0009 1 OP_POP\n"
                               "0010 1 OP_CONSTANT 1 ; 7.0\n"
                               "0013 1 OP_POP\n"
                               "0014 1 OP_CONSTANT 2 ; \"7\"\n"
                               "0017 1 OP_POP\n"
                               "0018 0 OP_NIL\n"
                               "0019 0 OP_RETURN\n");
    EXPECT_TRUE(proto->constants[0].isInt());
    EXPECT_TRUE(proto->constants[1].isFloat());
}

TEST(CompilerGolden, ConstantsAreNeverMerged) {
    StmtList program = block(expr(binary("+", name("x"), name("x"))), expr(binary("+", num(1), num(1))));
    Ref<FunctionProto> proto = compileChecked(program);
    ASSERT_EQ(proto->constants.size(), 4u);
    EXPECT_EQ(proto->constants[0].asString(), "x");
    EXPECT_EQ(proto->constants[1].asString(), "x");
    EXPECT_EQ(proto->constants[2].asInt(), 1);
    EXPECT_EQ(proto->constants[3].asInt(), 1);
}

TEST(CompilerGolden, OperatorsContainersAndIndexing) {
    StmtList program = block(
        expr(unary("-", name("a"))), expr(unary("not", name("a"))), expr(binary("//", num(7), num(2))),
        expr(binary(">=", num(1), num(2))), expr(list(exprs(num(1), nil()))), expr(list({})), expr(map([] {
            std::vector<std::pair<ExprPtr, ExprPtr>> pairs;
            pairs.emplace_back(str("k"), truth(true));
            return pairs;
        }())),
        expr(index(name("a"), num(0))), expr(get(name("a"), "field")), expr(call(name("f"), exprs(num(1), num(2)))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 15 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_GET_GLOBAL 0 ; \"a\"\n"
                                                 "0003 1 OP_NEGATE\n"
                                                 "0004 1 OP_POP\n"
                                                 "0005 1 OP_GET_GLOBAL 1 ; \"a\"\n"
                                                 "0008 1 OP_NOT\n"
                                                 "0009 1 OP_POP\n"
                                                 "0010 1 OP_CONSTANT 2 ; 7\n"
                                                 "0013 1 OP_CONSTANT 3 ; 2\n"
                                                 "0016 1 OP_FLOOR_DIV\n"
                                                 "0017 1 OP_POP\n"
                                                 "0018 1 OP_CONSTANT 4 ; 1\n"
                                                 "0021 1 OP_CONSTANT 5 ; 2\n"
                                                 "0024 1 OP_GREATER_EQUAL\n"
                                                 "0025 1 OP_POP\n"
                                                 "0026 1 OP_CONSTANT 6 ; 1\n"
                                                 "0029 1 OP_NIL\n"
                                                 "0030 1 OP_BUILD_LIST 2\n"
                                                 "0033 1 OP_POP\n"
                                                 "0034 1 OP_BUILD_LIST 0\n"
                                                 "0037 1 OP_POP\n"
                                                 "0038 1 OP_CONSTANT 7 ; \"k\"\n"
                                                 "0041 1 OP_TRUE\n"
                                                 "0042 1 OP_BUILD_MAP 1\n"
                                                 "0045 1 OP_POP\n"
                                                 "0046 1 OP_GET_GLOBAL 8 ; \"a\"\n"
                                                 "0049 1 OP_CONSTANT 9 ; 0\n"
                                                 "0052 1 OP_GET_INDEX\n"
                                                 "0053 1 OP_POP\n"
                                                 "0054 1 OP_GET_GLOBAL 10 ; \"a\"\n"
                                                 "0057 1 OP_CONSTANT 11 ; \"field\"\n"
                                                 "0060 1 OP_GET_INDEX\n"
                                                 "0061 1 OP_POP\n"
                                                 "0062 1 OP_GET_GLOBAL 12 ; \"f\"\n"
                                                 "0065 1 OP_CONSTANT 13 ; 1\n"
                                                 "0068 1 OP_CONSTANT 14 ; 2\n"
                                                 "0071 1 OP_CALL 2\n"
                                                 "0073 1 OP_POP\n"
                                                 "0074 0 OP_NIL\n"
                                                 "0075 0 OP_RETURN\n");
}

TEST(CompilerGolden, AndOrLeaveTheDecidingOperand) {
    StmtList program = block(expr(binary("and", name("a"), name("b"))), expr(binary("or", name("c"), name("d"))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 4 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_GET_GLOBAL 0 ; \"a\"\n"
                                                 "0003 1 OP_JUMP_IF_FALSE 4 ; -> 0010\n"
                                                 "0006 1 OP_POP\n"
                                                 "0007 1 OP_GET_GLOBAL 1 ; \"b\"\n"
                                                 "0010 1 OP_POP\n"
                                                 "0011 1 OP_GET_GLOBAL 2 ; \"c\"\n"
                                                 "0014 1 OP_JUMP_IF_TRUE 4 ; -> 0021\n"
                                                 "0017 1 OP_POP\n"
                                                 "0018 1 OP_GET_GLOBAL 3 ; \"d\"\n"
                                                 "0021 1 OP_POP\n"
                                                 "0022 0 OP_NIL\n"
                                                 "0023 0 OP_RETURN\n");
}

TEST(CompilerGolden, AssignmentsEvaluateTheTargetFirst) {
    StmtList program =
        block(assign(get(name("a"), "b"), num(1), "+"),                                                          //
              assign(index(name("xs"), num(0)), num(2), "//"), assign(index(name("xs"), name("i")), name("v")),  //
              assign(name("n"), num(1), "-"),                                                                    //
              assign(name("n"), nil()));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 12 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_GET_GLOBAL 0 ; \"a\"\n"
                                                 "0003 1 OP_CONSTANT 1 ; \"b\"\n"
                                                 "0006 1 OP_GET_INDEX_KEEP\n"
                                                 "0007 1 OP_CONSTANT 2 ; 1\n"
                                                 "0010 1 OP_ADD\n"
                                                 "0011 1 OP_SET_INDEX\n"
                                                 "0012 1 OP_POP\n"
                                                 "0013 1 OP_GET_GLOBAL 3 ; \"xs\"\n"
                                                 "0016 1 OP_CONSTANT 4 ; 0\n"
                                                 "0019 1 OP_GET_INDEX_KEEP\n"
                                                 "0020 1 OP_CONSTANT 5 ; 2\n"
                                                 "0023 1 OP_FLOOR_DIV\n"
                                                 "0024 1 OP_SET_INDEX\n"
                                                 "0025 1 OP_POP\n"
                                                 "0026 1 OP_GET_GLOBAL 6 ; \"xs\"\n"
                                                 "0029 1 OP_GET_GLOBAL 7 ; \"i\"\n"
                                                 "0032 1 OP_GET_GLOBAL 8 ; \"v\"\n"
                                                 "0035 1 OP_SET_INDEX\n"
                                                 "0036 1 OP_POP\n"
                                                 "0037 1 OP_GET_GLOBAL 9 ; \"n\"\n"
                                                 "0040 1 OP_CONSTANT 10 ; 1\n"
                                                 "0043 1 OP_SUB\n"
                                                 "0044 1 OP_SET_GLOBAL 9 ; \"n\"\n"
                                                 "0047 1 OP_POP\n"
                                                 "0048 1 OP_NIL\n"
                                                 "0049 1 OP_SET_GLOBAL 11 ; \"n\"\n"
                                                 "0052 1 OP_POP\n"
                                                 "0053 0 OP_NIL\n"
                                                 "0054 0 OP_RETURN\n");
}

TEST(CompilerGolden, LetInsideABlockIsALocalPoppedAtTheEnd) {
    // if true then let x = 1 end -- no else: the last end jump is still emitted.
    StmtList program = block(ifStmt(branch(truth(true), block(let("x", num(1))))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 1 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_TRUE\n"
                                                 "0001 1 OP_JUMP_IF_FALSE 8 ; -> 0012\n"
                                                 "0004 1 OP_POP\n"
                                                 "0005 1 OP_CONSTANT 0 ; 1\n"
                                                 "0008 1 OP_POP\n"
                                                 "0009 1 OP_JUMP 1 ; -> 0013\n"
                                                 "0012 1 OP_POP\n"
                                                 "0013 0 OP_NIL\n"
                                                 "0014 0 OP_RETURN\n");
}

TEST(CompilerGolden, LetInitializerSeesTheOuterVariable) {
    // if true then let x = 1  if true then let x = x + 1 end end
    StmtList program = block(ifStmt(
        branch(truth(true),
               block(let("x", num(1)), ifStmt(branch(truth(true), block(let("x", binary("+", name("x"), num(1))))))))));
    std::string text = listing(*compileChecked(program));
    EXPECT_NE(text.find("0013 1 OP_GET_LOCAL 0\n0016 1 OP_CONSTANT 1 ; 1\n0019 1 OP_ADD\n0020 1 OP_POP\n"),
              std::string::npos)
        << text;
}

TEST(CompilerGolden, IfElifElse) {
    StmtList program = block(ifStmt(branch(name("a"), block(expr(num(1)))), branch(name("b"), block(expr(num(2)))),
                                    elseBranch(block(expr(num(3))))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 5 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_GET_GLOBAL 0 ; \"a\"\n"
                                                 "0003 1 OP_JUMP_IF_FALSE 8 ; -> 0014\n"
                                                 "0006 1 OP_POP\n"
                                                 "0007 1 OP_CONSTANT 1 ; 1\n"
                                                 "0010 1 OP_POP\n"
                                                 "0011 1 OP_JUMP 20 ; -> 0034\n"
                                                 "0014 1 OP_POP\n"
                                                 "0015 1 OP_GET_GLOBAL 2 ; \"b\"\n"
                                                 "0018 1 OP_JUMP_IF_FALSE 8 ; -> 0029\n"
                                                 "0021 1 OP_POP\n"
                                                 "0022 1 OP_CONSTANT 3 ; 2\n"
                                                 "0025 1 OP_POP\n"
                                                 "0026 1 OP_JUMP 5 ; -> 0034\n"
                                                 "0029 1 OP_POP\n"
                                                 "0030 1 OP_CONSTANT 4 ; 3\n"
                                                 "0033 1 OP_POP\n"
                                                 "0034 0 OP_NIL\n"
                                                 "0035 0 OP_RETURN\n");
}

TEST(CompilerGolden, WhileWithBreakAndContinuePopsBodyLocals) {
    // while x do let t = 1  if y then break end  continue end
    StmtList program = block(
        whileStmt(name("x"), block(let("t", num(1)), ifStmt(branch(name("y"), block(breakStmt()))), continueStmt())));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 3 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_GET_GLOBAL 0 ; \"x\"\n"
                                                 "0003 1 OP_JUMP_IF_FALSE 27 ; -> 0033\n"
                                                 "0006 1 OP_POP\n"
                                                 "0007 1 OP_CONSTANT 1 ; 1\n"
                                                 "0010 1 OP_GET_GLOBAL 2 ; \"y\"\n"
                                                 "0013 1 OP_JUMP_IF_FALSE 8 ; -> 0024\n"
                                                 "0016 1 OP_POP\n"
                                                 "0017 1 OP_POP\n"
                                                 "0018 1 OP_JUMP 13 ; -> 0034\n"
                                                 "0021 1 OP_JUMP 1 ; -> 0025\n"
                                                 "0024 1 OP_POP\n"
                                                 "0025 1 OP_POP\n"
                                                 "0026 1 OP_JUMP 1 ; -> 0030\n"
                                                 "0029 1 OP_POP\n"
                                                 "0030 1 OP_LOOP 33 ; -> 0000\n"
                                                 "0033 1 OP_POP\n"
                                                 "0034 0 OP_NIL\n"
                                                 "0035 0 OP_RETURN\n");
}

TEST(CompilerGolden, NumericForKeepsLimitAndStepInHiddenSlots) {
    StmtList program =
        block(numericFor("i", num(1), num(3), nullptr, block(expr(call(name("print"), exprs(name("i")))))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 4 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_CONSTANT 0 ; 1\n"
                                                 "0003 1 OP_CONSTANT 1 ; 3\n"
                                                 "0006 1 OP_CONSTANT 2 ; 1\n"
                                                 "0009 1 OP_GET_LOCAL 0\n"
                                                 "0012 1 OP_GET_LOCAL 1\n"
                                                 "0015 1 OP_GET_LOCAL 2\n"
                                                 "0018 1 OP_FOR_TEST\n"
                                                 "0019 1 OP_JUMP_IF_FALSE 24 ; -> 0046\n"
                                                 "0022 1 OP_POP\n"
                                                 "0023 1 OP_GET_GLOBAL 3 ; \"print\"\n"
                                                 "0026 1 OP_GET_LOCAL 0\n"
                                                 "0029 1 OP_CALL 1\n"
                                                 "0031 1 OP_POP\n"
                                                 "0032 1 OP_GET_LOCAL 0\n"
                                                 "0035 1 OP_GET_LOCAL 2\n"
                                                 "0038 1 OP_ADD\n"
                                                 "0039 1 OP_SET_LOCAL 0\n"
                                                 "0042 1 OP_POP\n"
                                                 "0043 1 OP_LOOP 37 ; -> 0009\n"
                                                 "0046 1 OP_POP\n"
                                                 "0047 1 OP_POP\n"
                                                 "0048 1 OP_POP\n"
                                                 "0049 1 OP_POP\n"
                                                 "0050 0 OP_NIL\n"
                                                 "0051 0 OP_RETURN\n");
}

TEST(CompilerGolden, NumericForContinueRunsTheIncrementAndStepIsCompiledOnce) {
    // for i = 10, 1, -3 do continue end: the start, limit and step in that order
    StmtList program = block(numericFor("i", num(10), num(1), unary("-", num(3)), block(continueStmt())));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 3 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_CONSTANT 0 ; 10\n"
                                                 "0003 1 OP_CONSTANT 1 ; 1\n"
                                                 "0006 1 OP_CONSTANT 2 ; 3\n"
                                                 "0009 1 OP_NEGATE\n"
                                                 "0010 1 OP_GET_LOCAL 0\n"
                                                 "0013 1 OP_GET_LOCAL 1\n"
                                                 "0016 1 OP_GET_LOCAL 2\n"
                                                 "0019 1 OP_FOR_TEST\n"
                                                 "0020 1 OP_JUMP_IF_FALSE 18 ; -> 0041\n"
                                                 "0023 1 OP_POP\n"
                                                 "0024 1 OP_JUMP 0 ; -> 0027\n"
                                                 "0027 1 OP_GET_LOCAL 0\n"
                                                 "0030 1 OP_GET_LOCAL 2\n"
                                                 "0033 1 OP_ADD\n"
                                                 "0034 1 OP_SET_LOCAL 0\n"
                                                 "0037 1 OP_POP\n"
                                                 "0038 1 OP_LOOP 31 ; -> 0010\n"
                                                 "0041 1 OP_POP\n"
                                                 "0042 1 OP_POP\n"
                                                 "0043 1 OP_POP\n"
                                                 "0044 1 OP_POP\n"
                                                 "0045 0 OP_NIL\n"
                                                 "0046 0 OP_RETURN\n");
}

TEST(CompilerGolden, ForInWalksAFrozenItemList) {
    StmtList program = block(forIn("c", str("ab"), block(breakStmt())));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 3 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_CONSTANT 0 ; \"ab\"\n"
                                                 "0003 1 OP_ITER_LIST\n"
                                                 "0004 1 OP_CONSTANT 1 ; 0\n"
                                                 "0007 1 OP_NIL\n"
                                                 "0008 1 OP_GET_LOCAL 1\n"
                                                 "0011 1 OP_GET_LOCAL 0\n"
                                                 "0014 1 OP_LEN\n"
                                                 "0015 1 OP_LESS\n"
                                                 "0016 1 OP_JUMP_IF_FALSE 29 ; -> 0048\n"
                                                 "0019 1 OP_POP\n"
                                                 "0020 1 OP_GET_LOCAL 0\n"
                                                 "0023 1 OP_GET_LOCAL 1\n"
                                                 "0026 1 OP_GET_INDEX\n"
                                                 "0027 1 OP_SET_LOCAL 2\n"
                                                 "0030 1 OP_POP\n"
                                                 "0031 1 OP_JUMP 15 ; -> 0049\n"
                                                 "0034 1 OP_GET_LOCAL 1\n"
                                                 "0037 1 OP_CONSTANT 2 ; 1\n"
                                                 "0040 1 OP_ADD\n"
                                                 "0041 1 OP_SET_LOCAL 1\n"
                                                 "0044 1 OP_POP\n"
                                                 "0045 1 OP_LOOP 40 ; -> 0008\n"
                                                 "0048 1 OP_POP\n"
                                                 "0049 1 OP_POP\n"
                                                 "0050 1 OP_POP\n"
                                                 "0051 1 OP_POP\n"
                                                 "0052 0 OP_NIL\n"
                                                 "0053 0 OP_RETURN\n");
}

TEST(CompilerGolden, TryCatchBindsTheCaughtValueAsALocal) {
    StmtList program = block(tryStmt(block(expr(call(name("error"), exprs(str("x"))))), "e",
                                     block(expr(call(name("print"), exprs(name("e")))))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 3 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_TRY 13 ; -> 0016\n"
                                                 "0003 1 OP_GET_GLOBAL 0 ; \"error\"\n"
                                                 "0006 1 OP_CONSTANT 1 ; \"x\"\n"
                                                 "0009 1 OP_CALL 1\n"
                                                 "0011 1 OP_POP\n"
                                                 "0012 1 OP_END_TRY\n"
                                                 "0013 1 OP_JUMP 10 ; -> 0026\n"
                                                 "0016 1 OP_GET_GLOBAL 2 ; \"print\"\n"
                                                 "0019 1 OP_GET_LOCAL 0\n"
                                                 "0022 1 OP_CALL 1\n"
                                                 "0024 1 OP_POP\n"
                                                 "0025 1 OP_POP\n"
                                                 "0026 0 OP_NIL\n"
                                                 "0027 0 OP_RETURN\n");
}

TEST(CompilerGolden, BreakFromTryBodyRemovesTheHandlerButNotFromTheCatchPart) {
    // while true do try break catch e break end end
    StmtList program = block(whileStmt(truth(true), block(tryStmt(block(breakStmt()), "e", block(breakStmt())))));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 0 constants, 0 upvalues, 0 functions)\n"
                                                 "0000 1 OP_TRUE\n"
                                                 "0001 1 OP_JUMP_IF_FALSE 20 ; -> 0024\n"
                                                 "0004 1 OP_POP\n"
                                                 "0005 1 OP_TRY 8 ; -> 0016\n"
                                                 "0008 1 OP_END_TRY\n"
                                                 "0009 1 OP_JUMP 13 ; -> 0025\n"
                                                 "0012 1 OP_END_TRY\n"
                                                 "0013 1 OP_JUMP 5 ; -> 0021\n"
                                                 "0016 1 OP_POP\n"
                                                 "0017 1 OP_JUMP 5 ; -> 0025\n"
                                                 "0020 1 OP_POP\n"
                                                 "0021 1 OP_LOOP 24 ; -> 0000\n"
                                                 "0024 1 OP_POP\n"
                                                 "0025 0 OP_NIL\n"
                                                 "0026 0 OP_RETURN\n");
}

TEST(CompilerGolden, ContinueLeavesEveryTryBodyOpenedInsideTheLoopOnly) {
    // try (outer, outside the loop)
    //   while true do try try continue catch a end catch b continue end end
    // catch c end
    StmtList program =
        block(tryStmt(block(whileStmt(truth(true), block(tryStmt(block(tryStmt(block(continueStmt()), "a", block())),
                                                                 "b", block(continueStmt()))))),
                      "c", block()));
    Ref<FunctionProto> proto = compileChecked(program);
    std::string text = listing(*proto);
    // The continue in the innermost body leaves two handlers; the outer try's stays.
    EXPECT_NE(text.find("0011 1 OP_TRY 9 ; -> 0023\n0014 1 OP_END_TRY\n0015 1 OP_END_TRY\n0016 1 OP_JUMP"),
              std::string::npos)
        << text;
    // The continue in the catch part of the loop's try pops "b" and leaves no handler.
    EXPECT_NE(text.find("0028 1 OP_POP\n0029 1 OP_JUMP"), std::string::npos) << text;
}

TEST(CompilerGolden, TopLevelFunctionCapturingALocalOfItsEnclosingFunction) {
    // 1 function f()
    // 2   let x = 1
    // 3   function g() return x end
    // 4   return g
    // 5 end
    StmtList program =
        block(at(1, 1,
                 functionDecl("f", {},
                              block(at(2, 3, let("x", at(2, 11, num(1)))),
                                    at(3, 3, functionDecl("g", {}, block(at(3, 18, ret(at(3, 25, name("x"))))))),
                                    at(4, 3, ret(at(4, 10, name("g"))))))));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(listing(*proto), "function <script> (arity 0, 1 constants, 0 upvalues, 1 functions)\n"
                               "0000 1 OP_CLOSURE 0 ; <function f>\n"
                               "0003 1 OP_DEFINE_GLOBAL 0 ; \"f\"\n"
                               "0006 0 OP_NIL\n"
                               "0007 0 OP_RETURN\n"
                               "\n"
                               "function f (arity 0, 1 constants, 0 upvalues, 1 functions)\n"
                               "0000 2 OP_CONSTANT 0 ; 1\n"
                               "0003 3 OP_CLOSURE 0 ; <function g>\n"
                               "0006 4 OP_GET_LOCAL 1\n"
                               "0009 4 OP_RETURN\n"
                               "0010 1 OP_NIL\n"
                               "0011 1 OP_RETURN\n"
                               "\n"
                               "function g (arity 0, 0 constants, 1 upvalues, 0 functions)\n"
                               "upvalue 0: local 0\n"
                               "0000 3 OP_GET_UPVALUE 0\n"
                               "0002 3 OP_RETURN\n"
                               "0003 3 OP_NIL\n"
                               "0004 3 OP_RETURN\n");
    const FunctionProto& g = *proto->protos[0]->protos[0];
    ASSERT_EQ(g.upvalues.size(), 1u);
    EXPECT_EQ(g.upvalues[0], (UpvalueDesc{1, 0}));
}

TEST(CompilerGolden, UpvalueChainThroughAMiddleFunction) {
    // function f()
    //   let a = 1
    //   function m()
    //     let b = 2
    //     function inner() return a + b + a end
    //     return inner
    //   end
    // end
    StmtList program = block(functionDecl(
        "f", {},
        block(let("a", num(1)),
              functionDecl("m", {},
                           block(let("b", num(2)),
                                 functionDecl("inner", {},
                                              block(ret(binary("+", binary("+", name("a"), name("b")), name("a"))))),
                                 ret(name("inner")))))));
    Ref<FunctionProto> proto = compileChecked(program);
    const FunctionProto& m = *proto->protos[0]->protos[0];
    const FunctionProto& inner = *m.protos[0];
    EXPECT_EQ(m.upvalues, (std::vector<UpvalueDesc>{{1, 0}}));
    EXPECT_EQ(inner.upvalues, (std::vector<UpvalueDesc>{{0, 0}, {1, 0}}));
    EXPECT_EQ(inner.code, (std::vector<uint8_t>{OP_GET_UPVALUE, 0, OP_GET_UPVALUE, 1, OP_ADD, OP_GET_UPVALUE, 0, OP_ADD,
                                                OP_RETURN, OP_NIL, OP_RETURN}));
    // m uses its upvalue only to pass it on; it never reads it.
    EXPECT_EQ(m.code, (std::vector<uint8_t>{OP_CONSTANT, 0, 0, OP_CLOSURE, 0, 0, OP_GET_LOCAL, 0, 1, OP_RETURN, OP_NIL,
                                            OP_RETURN}));
}

TEST(CompilerGolden, ParametersTakeTheFirstSlots) {
    StmtList program = block(functionDecl("add", {"a", "b"}, block(ret(binary("+", name("a"), name("b"))))),
                             expr(function({"n"}, block(ret()))));
    Ref<FunctionProto> proto = compileChecked(program);
    const FunctionProto& add = *proto->protos[0];
    EXPECT_EQ(add.name, "add");
    EXPECT_EQ(add.arity, 2u);
    EXPECT_EQ(add.code,
              (std::vector<uint8_t>{OP_GET_LOCAL, 0, 0, OP_GET_LOCAL, 0, 1, OP_ADD, OP_RETURN, OP_NIL, OP_RETURN}));
    const FunctionProto& anonymous = *proto->protos[1];
    EXPECT_EQ(anonymous.name, "<anonymous>");
    EXPECT_EQ(anonymous.arity, 1u);
    EXPECT_EQ(anonymous.code, (std::vector<uint8_t>{OP_NIL, OP_RETURN, OP_NIL, OP_RETURN}));
    EXPECT_EQ(proto->code, (std::vector<uint8_t>{OP_CLOSURE, 0, 0, OP_DEFINE_GLOBAL, 0, 0, OP_CLOSURE, 0, 1, OP_POP,
                                                 OP_NIL, OP_RETURN}));
}

TEST(CompilerGolden, BlockLevelFunctionReachesItselfThroughACapturedSlot) {
    // if true then function r(n) return r(n) end end
    StmtList program = block(
        ifStmt(branch(truth(true), block(functionDecl("r", {"n"}, block(ret(call(name("r"), exprs(name("n"))))))))));
    Ref<FunctionProto> proto = compileChecked(program);
    const FunctionProto& r = *proto->protos[0];
    EXPECT_EQ(r.upvalues, (std::vector<UpvalueDesc>{{1, 0}}));
    EXPECT_TRUE(r.constants.empty());
    // The captured slot is closed, not popped, when the block ends.
    EXPECT_EQ(proto->code, (std::vector<uint8_t>{OP_TRUE, OP_JUMP_IF_FALSE, 0, 8, OP_POP, OP_CLOSURE, 0, 0,
                                                 OP_CLOSE_UPVALUE, OP_JUMP, 0, 1, OP_POP, OP_NIL, OP_RETURN}));
}

TEST(CompilerGolden, BlockLevelLetOfAFunctionSeesOnlyAGlobalOfItsName) {
    // if true then let f = function() return f() end end
    StmtList program = block(ifStmt(branch(truth(true), block(let("f", function({}, block(ret(call(name("f"))))))))));
    Ref<FunctionProto> proto = compileChecked(program);
    const FunctionProto& f = *proto->protos[0];
    EXPECT_TRUE(f.upvalues.empty());
    ASSERT_EQ(f.constants.size(), 1u);
    EXPECT_EQ(f.constants[0].asString(), "f");
    EXPECT_EQ(f.code[0], OP_GET_GLOBAL);
}

TEST(CompilerGolden, LoopVariableCapturedInTheBodyIsClosedWhenTheLoopEnds) {
    // for i = 1, 2 do let f = function() return i end end
    StmtList program =
        block(numericFor("i", num(1), num(2), nullptr, block(let("f", function({}, block(ret(name("i"))))))));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(proto->protos[0]->upvalues, (std::vector<UpvalueDesc>{{1, 0}}));
    const std::vector<uint8_t>& code = proto->code;
    ASSERT_GE(code.size(), 5u);
    // $step and $limit are popped, i is closed, then the script's own ending.
    EXPECT_EQ(std::vector<uint8_t>(code.end() - 5, code.end()),
              (std::vector<uint8_t>{OP_POP, OP_POP, OP_CLOSE_UPVALUE, OP_NIL, OP_RETURN}));
}

TEST(CompilerGolden, ReturnAtTopLevelAndInsideFunctions) {
    StmtList program = block(at(3, 1, ret(at(3, 8, num(5)))));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(proto->code, (std::vector<uint8_t>{OP_CONSTANT, 0, 0, OP_RETURN, OP_NIL, OP_RETURN}));
    EXPECT_EQ(proto->lines, (std::vector<uint32_t>{3, 3, 3, 3, 0, 0}));
}

TEST(CompilerGolden, CompoundAssignmentToLocalsAndUpvaluesResolvesOnce) {
    // function f() let a = 1  a *= 2  return function() a ^= 3 end end
    StmtList program = block(functionDecl("f", {},
                                          block(let("a", num(1)), assign(name("a"), num(2), "*"),
                                                ret(function({}, block(assign(name("a"), num(3), "^")))))));
    Ref<FunctionProto> proto = compileChecked(program);
    const FunctionProto& f = *proto->protos[0];
    EXPECT_EQ(f.code, (std::vector<uint8_t>{OP_CONSTANT, 0, 0,      OP_GET_LOCAL, 0,      0,        OP_CONSTANT,
                                            0,           1, OP_MUL, OP_SET_LOCAL, 0,      0,        OP_POP,
                                            OP_CLOSURE,  0, 0,      OP_RETURN,    OP_NIL, OP_RETURN}));
    const FunctionProto& inner = *f.protos[0];
    EXPECT_EQ(inner.upvalues, (std::vector<UpvalueDesc>{{1, 0}}));
    EXPECT_EQ(inner.code, (std::vector<uint8_t>{OP_GET_UPVALUE, 0, OP_CONSTANT, 0, 0, OP_POW, OP_SET_UPVALUE, 0, OP_POP,
                                                OP_NIL, OP_RETURN}));
}

TEST(CompilerGolden, BreakClosesCapturedBodyLocals) {
    // while true do let x = 1  let f = function() return x end  break end
    StmtList program = block(
        whileStmt(truth(true), block(let("x", num(1)), let("f", function({}, block(ret(name("x"))))), breakStmt())));
    EXPECT_EQ(listing(*compileChecked(program)), "function <script> (arity 0, 1 constants, 0 upvalues, 1 functions)\n"
                                                 "0000 1 OP_TRUE\n"
                                                 "0001 1 OP_JUMP_IF_FALSE 17 ; -> 0021\n"
                                                 "0004 1 OP_POP\n"
                                                 "0005 1 OP_CONSTANT 0 ; 1\n"
                                                 "0008 1 OP_CLOSURE 0 ; <function <anonymous>>\n"
                                                 "0011 1 OP_POP\n"
                                                 "0012 1 OP_CLOSE_UPVALUE\n"
                                                 "0013 1 OP_JUMP 6 ; -> 0022\n"
                                                 "0016 1 OP_POP\n"
                                                 "0017 1 OP_CLOSE_UPVALUE\n"
                                                 "0018 1 OP_LOOP 21 ; -> 0000\n"
                                                 "0021 1 OP_POP\n"
                                                 "0022 0 OP_NIL\n"
                                                 "0023 0 OP_RETURN\n"
                                                 "\n"
                                                 "function <anonymous> (arity 0, 0 constants, 1 upvalues, "
                                                 "0 functions)\n"
                                                 "upvalue 0: local 0\n"
                                                 "0000 1 OP_GET_UPVALUE 0\n"
                                                 "0002 1 OP_RETURN\n"
                                                 "0003 1 OP_NIL\n"
                                                 "0004 1 OP_RETURN\n");
}

TEST(CompilerGolden, CapturedCatchVariableIsClosedAtTheEndOfTheHandler) {
    // try nil catch e let f = function() return e end end
    StmtList program = block(tryStmt(block(expr(nil())), "e", block(let("f", function({}, block(ret(name("e"))))))));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(proto->code, (std::vector<uint8_t>{OP_TRY, 0, 6, OP_NIL, OP_POP, OP_END_TRY, OP_JUMP, 0, 5, OP_CLOSURE, 0,
                                                 0, OP_POP, OP_CLOSE_UPVALUE, OP_NIL, OP_RETURN}));
}

TEST(CompilerGolden, LoopInsideAFunctionInsideALoopHasItsOwnBreak) {
    // while true do let f = function() while false do break end end  break end
    StmtList program = block(whileStmt(
        truth(true), block(let("f", function({}, block(whileStmt(truth(false), block(breakStmt()))))), breakStmt())));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(proto->protos[0]->code, (std::vector<uint8_t>{OP_FALSE, OP_JUMP_IF_FALSE, 0, 7, OP_POP, OP_JUMP, 0, 4,
                                                            OP_LOOP, 0, 11, OP_POP, OP_NIL, OP_RETURN}));
}

// ---- errors with positions

TEST(CompilerErrors, BreakAndContinueOutsideALoop) {
    VelmorError breakError = compileFailure(block(at(4, 7, breakStmt())));
    EXPECT_EQ(breakError.label, "CompileError");
    EXPECT_EQ(breakError.message, "'break' outside a loop");
    EXPECT_EQ(breakError.line, 4);
    EXPECT_EQ(breakError.column, 7);

    VelmorError continueError = compileFailure(block(at(2, 3, continueStmt())));
    EXPECT_EQ(continueError.message, "'continue' outside a loop");
    EXPECT_EQ(continueError.line, 2);
    EXPECT_EQ(continueError.column, 3);
}

TEST(CompilerErrors, LoopsDoNotReachIntoNestedFunctions) {
    // while true do let f = function() break end end
    StmtList program = block(whileStmt(truth(true), block(let("f", function({}, block(at(5, 9, breakStmt())))))));
    VelmorError error = compileFailure(program);
    EXPECT_EQ(error.message, "'break' outside a loop");
    EXPECT_EQ(error.line, 5);
    EXPECT_EQ(error.column, 9);
}

TEST(CompilerErrors, UnknownOperatorsReportTheLineOnly) {
    VelmorError binaryError = compileFailure(block(expr(at(6, 4, binary("<>", num(1), num(2))))));
    EXPECT_EQ(binaryError.message, "unknown operator <>");
    EXPECT_EQ(binaryError.line, 6);
    EXPECT_EQ(binaryError.column, 0);

    VelmorError compoundError = compileFailure(block(at(8, 3, assign(name("x"), num(1), "=="))));
    EXPECT_EQ(compoundError.label, "CompileError");
    EXPECT_EQ(compoundError.message, "bad operator ==");
    EXPECT_EQ(compoundError.line, 8);
    EXPECT_EQ(compoundError.column, 0);
}

}  // namespace
}  // namespace velmor
