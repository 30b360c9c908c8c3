// Encoding limits: each quantity compiles right up to what its operand can
// hold and fails with a CompileError one past it, never encoding a wrong value.

#include <gtest/gtest.h>

#include "compiler_support.h"
#include "compiler_tree.h"

namespace velmor {
namespace {

using namespace tree;
using testing::compileChecked;
using testing::compileFailure;

void expectLimitError(const VelmorError& error, const std::string& message) {
    EXPECT_EQ(error.label, "CompileError");
    EXPECT_EQ(error.message, message);
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.column, 0);
}

// Statements that compile to exactly `bytes` bytes (at least 2): "nil" as a
// statement is OP_NIL OP_POP, "not nil" adds OP_NOT.
StmtList filler(size_t bytes) {
    StmtList body;
    if (bytes % 2 == 1) {
        body.push_back(expr(unary("not", nil())));
        bytes -= 3;
    }
    for (; bytes > 0; bytes -= 2) body.push_back(expr(nil()));
    return body;
}

uint32_t operandAt(const FunctionProto& proto, size_t offset) {
    return (uint32_t{proto.code[offset]} << 8) | proto.code[offset + 1];
}

StmtList literals(size_t count) {
    StmtList program;
    for (size_t i = 0; i < count; ++i) program.push_back(expr(num(static_cast<int64_t>(i))));
    return program;
}

TEST(CompilerLimits, ExactlyAFullConstantPoolCompiles) {
    StmtList program = literals(65536);
    Ref<FunctionProto> proto = compileChecked(program);
    ASSERT_EQ(proto->constants.size(), 65536u);
    // The last literal uses index 65535: OP_CONSTANT FF FF, then OP_POP, OP_NIL, OP_RETURN.
    size_t last = proto->code.size() - 6;
    EXPECT_EQ(proto->code[last], OP_CONSTANT);
    EXPECT_EQ(operandAt(*proto, last + 1), 65535u);
    EXPECT_EQ(proto->constants[65535].asInt(), 65535);
}

TEST(CompilerLimits, OneConstantTooManyFails) {
    StmtList program = literals(65536);
    program.push_back(at(9, 9, expr(at(9, 9, name("g")))));  // a global's name is a constant too
    expectLimitError(compileFailure(program), "too many constants");
}

TEST(CompilerLimits, ConstantLimitIsPerFunction) {
    StmtList program = literals(65000);
    program.push_back(functionDecl("f", {}, literals(1000)));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(proto->constants.size(), 65001u);
    EXPECT_EQ(proto->protos[0]->constants.size(), 1000u);
}

// if true then <body> end: the skip jump at offset 1 covers the OP_POP, the
// body and the end jump, so it spans body + 4 bytes.
StmtList ifWithBody(size_t bodyBytes) { return block(ifStmt(branch(truth(true), filler(bodyBytes)))); }

TEST(CompilerLimits, ForwardJumpOfExactly65535Bytes) {
    StmtList program = ifWithBody(65531);
    Ref<FunctionProto> proto = compileChecked(program);
    ASSERT_EQ(proto->code[1], OP_JUMP_IF_FALSE);
    EXPECT_EQ(proto->code[2], 0xFF);
    EXPECT_EQ(proto->code[3], 0xFF);
    // The target is the OP_POP of the false path.
    EXPECT_EQ(proto->code[4 + 65535], OP_POP);
}

TEST(CompilerLimits, ForwardJumpOneByteTooFarFails) {
    StmtList program = ifWithBody(65532);
    expectLimitError(compileFailure(program), "branch too large");
}

TEST(CompilerLimits, TryHandlerJumpIsLimitedToo) {
    // OP_TRY spans the body, OP_END_TRY and the jump over the handler.
    StmtList fits = block(tryStmt(filler(65531), "e", block()));
    Ref<FunctionProto> proto = compileChecked(fits);
    EXPECT_EQ(operandAt(*proto, 1), 65535u);
    StmtList tooFar = block(tryStmt(filler(65532), "e", block()));
    expectLimitError(compileFailure(tooFar), "branch too large");
}

TEST(CompilerLimits, ForwardJumpOverANestedFunctionCountsOnlyTheEnclosingCode) {
    // A function's body lives in its own prototype; the jump skips just OP_CLOSURE and OP_POP.
    StmtList program = block(ifStmt(branch(truth(true), block(expr(function({}, filler(70000)))))));
    Ref<FunctionProto> proto = compileChecked(program);
    EXPECT_EQ(operandAt(*proto, 2), 8u);
}

// while true do <body> end: OP_TRUE, OP_JUMP_IF_FALSE, OP_POP, the body, then
// OP_LOOP back to offset 0, a distance of body + 8 bytes.
StmtList whileWithBody(size_t bodyBytes) { return block(whileStmt(truth(true), filler(bodyBytes))); }

TEST(CompilerLimits, BackwardLoopOfExactly65535Bytes) {
    StmtList program = whileWithBody(65527);
    Ref<FunctionProto> proto = compileChecked(program);
    size_t loop = 5 + 65527;
    ASSERT_EQ(proto->code[loop], OP_LOOP);
    EXPECT_EQ(proto->code[loop + 1], 0xFF);
    EXPECT_EQ(proto->code[loop + 2], 0xFF);
}

TEST(CompilerLimits, LoopBodyOneByteTooLargeFails) {
    StmtList program = whileWithBody(65528);
    expectLimitError(compileFailure(program), "loop body too large");
}

std::vector<ExprPtr> nils(size_t count) {
    std::vector<ExprPtr> values;
    for (size_t i = 0; i < count; ++i) values.push_back(nil());
    return values;
}

TEST(CompilerLimits, CallWith255ArgumentsCompiles) {
    StmtList program = block(expr(call(name("f"), nils(255))));
    Ref<FunctionProto> proto = compileChecked(program);
    // OP_GET_GLOBAL, 255 x OP_NIL, then OP_CALL 255.
    ASSERT_EQ(proto->code[3 + 255], OP_CALL);
    EXPECT_EQ(proto->code[3 + 256], 255);
}

TEST(CompilerLimits, CallWith256ArgumentsFailsAtTheCall) {
    StmtList program = block(expr(at(3, 14, call(name("f"), nils(256)))));
    VelmorError error = compileFailure(program);
    EXPECT_EQ(error.label, "CompileError");
    EXPECT_EQ(error.message, "too many arguments");
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.column, 14);
}

TEST(CompilerLimits, ListLiteralElementCount) {
    StmtList fits = block(expr(list(nils(65535))));
    Ref<FunctionProto> proto = compileChecked(fits);
    ASSERT_EQ(proto->code[65535], OP_BUILD_LIST);
    EXPECT_EQ(operandAt(*proto, 65536), 65535u);

    StmtList tooMany = block(expr(at(2, 5, list(nils(65536)))));
    VelmorError error = compileFailure(tooMany);
    EXPECT_EQ(error.label, "CompileError");
    EXPECT_EQ(error.message, "too many list elements");
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.column, 5);
}

ExprPtr mapOfNils(size_t pairs) {
    std::vector<std::pair<ExprPtr, ExprPtr>> entries;
    for (size_t i = 0; i < pairs; ++i) entries.emplace_back(nil(), nil());
    return map(std::move(entries));
}

TEST(CompilerLimits, MapLiteralPairCount) {
    StmtList fits = block(expr(mapOfNils(65535)));
    Ref<FunctionProto> proto = compileChecked(fits);
    ASSERT_EQ(proto->code[2 * 65535], OP_BUILD_MAP);
    EXPECT_EQ(operandAt(*proto, 2 * 65535 + 1), 65535u);

    StmtList tooMany = block(expr(at(4, 2, mapOfNils(65536))));
    VelmorError error = compileFailure(tooMany);
    EXPECT_EQ(error.message, "too many map entries");
    EXPECT_EQ(error.line, 4);
    EXPECT_EQ(error.column, 2);
}

// function outer() let v0 = nil ... let vN = nil  function inner() v0 ... vN end end
StmtList captureMany(size_t count) {
    StmtList outerBody;
    StmtList innerBody;
    for (size_t i = 0; i < count; ++i) {
        std::string variable = "v" + std::to_string(i);
        outerBody.push_back(let(variable, nil()));
        innerBody.push_back(expr(name(variable)));
    }
    outerBody.push_back(functionDecl("inner", {}, std::move(innerBody)));
    return block(functionDecl("outer", {}, std::move(outerBody)));
}

TEST(CompilerLimits, UpvalueCount) {
    StmtList fits = captureMany(256);
    Ref<FunctionProto> proto = compileChecked(fits);
    const FunctionProto& inner = *proto->protos[0]->protos[0];
    ASSERT_EQ(inner.upvalues.size(), 256u);
    EXPECT_EQ(inner.upvalues[255], (UpvalueDesc{1, 255}));
    // Each read is OP_GET_UPVALUE u, OP_POP; the last one is u = 255.
    EXPECT_EQ(inner.code[3 * 255], OP_GET_UPVALUE);
    EXPECT_EQ(inner.code[3 * 255 + 1], 255);

    StmtList tooMany = captureMany(257);
    expectLimitError(compileFailure(tooMany), "too many upvalues");
}

StmtList functionWithLocals(size_t count) {
    StmtList body;
    for (size_t i = 0; i < count; ++i) body.push_back(let("l", nil()));
    body.push_back(ret(name("l")));
    return block(functionDecl("f", {}, std::move(body)));
}

TEST(CompilerLimits, LocalSlotCount) {
    StmtList fits = functionWithLocals(65536);
    Ref<FunctionProto> proto = compileChecked(fits);
    // The newest "l" is slot 65535: OP_GET_LOCAL FF FF.
    const FunctionProto& f = *proto->protos[0];
    size_t read = 65536;
    ASSERT_EQ(f.code[read], OP_GET_LOCAL);
    EXPECT_EQ(operandAt(f, read + 1), 65535u);

    StmtList tooMany = functionWithLocals(65537);
    expectLimitError(compileFailure(tooMany), "too many local variables");
}

TEST(CompilerLimits, ParametersCountAsLocals) {
    std::vector<std::string> params(65536, "p");
    StmtList program = block(functionDecl("f", params, block(let("one_more", nil()))));
    expectLimitError(compileFailure(program), "too many local variables");
}

StmtList functionsInOneScript(size_t count) {
    StmtList program;
    for (size_t i = 0; i < count; ++i) program.push_back(expr(function({}, block())));
    return program;
}

TEST(CompilerLimits, ChildFunctionCount) {
    StmtList fits = functionsInOneScript(65536);
    Ref<FunctionProto> proto = compileChecked(fits);
    ASSERT_EQ(proto->protos.size(), 65536u);
    size_t last = proto->code.size() - 6;  // OP_CLOSURE, its operand, OP_POP, OP_NIL, OP_RETURN
    ASSERT_EQ(proto->code[last], OP_CLOSURE);
    EXPECT_EQ(operandAt(*proto, last + 1), 65535u);

    StmtList tooMany = functionsInOneScript(65537);
    expectLimitError(compileFailure(tooMany), "too many nested functions");
}

// Nesting far deeper than the parser accepts, built directly, so that only
// the native stack stops the compiler: an expression (unary operators) and
// statements that nest without any expression between (try blocks).
TEST(CompilerLimits, NestingDeeperThanTheNativeStackIsACompileErrorAtANode) {
    constexpr int kDepth = 200000;
    ExprPtr operand = at(2, 5, num(1));
    for (int i = 0; i < kDepth; ++i) operand = at(2, 5, unary("-", std::move(operand)));
    StmtList expression = block(expr(std::move(operand)));
    StmtList tries = block(expr(nil()));
    for (int i = 0; i < kDepth; ++i)
        tries = block(at(3, 7, std::make_unique<TryStmt>(std::move(tries), "e", StmtList{}, 1, 1)));

    for (const StmtList* program : {&expression, &tries}) {
        VelmorError error = compileFailure(*program);
        EXPECT_EQ(error.label, "CompileError");
        EXPECT_EQ(error.message, "expression or block nested too deeply");
        EXPECT_EQ(error.line, program == &expression ? 2 : 3);
        EXPECT_EQ(error.column, program == &expression ? 5 : 7);
    }

    // Taken apart from the top: destroying them whole would recurse as deeply.
    ExprPtr node = std::move(static_cast<ExprStmt&>(*expression[0]).expr);
    while (node && node->kind == ExprKind::Unary) node = std::move(static_cast<UnaryExpr&>(*node).operand);
    while (!tries.empty() && tries[0]->kind == StmtKind::Try) {
        StmtList inner = std::move(static_cast<TryStmt&>(*tries[0]).body);
        tries = std::move(inner);
    }
}

}  // namespace
}  // namespace velmor
