// The tree-walker's sharp edges: wrapping arithmetic at the Int limits,
// integer counting near the Int limits, the signals at function and program
// boundaries, the REPL entry, callbacks through Caller, and the recursion
// guards (call depth, and native stack for nesting no parser would produce).

#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "error.h"
#include "execution_limits.h"
#include "interpreter.h"
#include "parser.h"

using namespace velmor;

namespace {

constexpr int64_t kMinInt = INT64_MIN;
constexpr int64_t kMaxInt = INT64_MAX;

// Runs a program on a fresh interpreter and gives what it printed.
std::string runProgram(const std::string& source) {
    StmtList program = parseSource(source);
    Interpreter interpreter;
    std::ostringstream output;
    std::streambuf* saved = std::cout.rdbuf(output.rdbuf());
    try {
        interpreter.run(program);
    } catch (...) {
        std::cout.rdbuf(saved);
        throw;
    }
    std::cout.rdbuf(saved);
    return output.str();
}

// The RuntimeError a program ends with; fails the test if it ends otherwise.
RuntimeError runtimeErrorOf(const std::string& source) {
    try {
        runProgram(source);
    } catch (const RuntimeError& error) {
        return error;
    }
    ADD_FAILURE() << "no RuntimeError from: " << source;
    return RuntimeError("");
}

Value arithmeticOf(BinaryOp op, Value left, Value right) { return Interpreter::binaryOp(op, left, right, 1, 1); }

}  // namespace

TEST(InterpreterArithmetic, IntOperationsWrapWithoutTrapping) {
    EXPECT_EQ(arithmeticOf(BinaryOp::Add, Value(kMaxInt), Value(int64_t{1})).asInt(), kMinInt);
    EXPECT_EQ(arithmeticOf(BinaryOp::Sub, Value(kMinInt), Value(int64_t{1})).asInt(), kMaxInt);
    EXPECT_EQ(arithmeticOf(BinaryOp::Mul, Value(kMinInt), Value(int64_t{-1})).asInt(), kMinInt);
    EXPECT_EQ(arithmeticOf(BinaryOp::FloorDiv, Value(kMinInt), Value(int64_t{-1})).asInt(), kMinInt);
    EXPECT_EQ(arithmeticOf(BinaryOp::Mod, Value(kMinInt), Value(int64_t{-1})).asInt(), 0);
    EXPECT_EQ(arithmeticOf(BinaryOp::Mod, Value(kMinInt), Value(kMinInt)).asInt(), 0);
    EXPECT_EQ(arithmeticOf(BinaryOp::FloorDiv, Value(kMinInt), Value(kMaxInt)).asInt(), -2);
    EXPECT_EQ(arithmeticOf(BinaryOp::Pow, Value(int64_t{-2}), Value(int64_t{63})).asInt(), kMinInt);
    EXPECT_EQ(arithmeticOf(BinaryOp::Pow, Value(int64_t{3}), Value(kMaxInt)).asInt(), -6148914691236517205)
        << "a huge exponent is computed by squaring, not by kMaxInt multiplications";
    EXPECT_EQ(arithmeticOf(BinaryOp::Pow, Value(int64_t{0}), Value(int64_t{0})).asInt(), 1);
    const Value negativePower = arithmeticOf(BinaryOp::Pow, Value(int64_t{-2}), Value(int64_t{-1}));
    ASSERT_TRUE(negativePower.isFloat());
    EXPECT_EQ(negativePower.asFloat(), -0.5);
}

TEST(InterpreterArithmetic, FloorDivisionAndRemainderPairUp) {
    struct Case {
        int64_t a, b, quotient, remainder;
    };
    const Case cases[] = {{7, 2, 3, 1}, {-7, 2, -4, -1}, {7, -2, -4, 1}, {-7, -2, 3, -1}, {6, 3, 2, 0}, {-6, 3, -2, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(arithmeticOf(BinaryOp::FloorDiv, Value(c.a), Value(c.b)).asInt(), c.quotient) << c.a << " // " << c.b;
        EXPECT_EQ(arithmeticOf(BinaryOp::Mod, Value(c.a), Value(c.b)).asInt(), c.remainder) << c.a << " % " << c.b;
    }
}

TEST(InterpreterArithmetic, ZeroDivisorsOfEitherKindFail) {
    const Value zeros[] = {Value(int64_t{0}), Value(0.0), Value(-0.0)};
    for (const Value& zero : zeros) {
        EXPECT_THROW(arithmeticOf(BinaryOp::Div, Value(int64_t{1}), zero), RuntimeError);
        EXPECT_THROW(arithmeticOf(BinaryOp::FloorDiv, Value(1.5), zero), RuntimeError);
        EXPECT_THROW(arithmeticOf(BinaryOp::Mod, Value(int64_t{1}), zero), RuntimeError);
    }
    try {
        arithmeticOf(BinaryOp::Mod, Value(5.0), Value(int64_t{0}));
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "modulo by zero");
        EXPECT_EQ(error.line, 1);
        EXPECT_EQ(error.column, 1);
    }
}

TEST(InterpreterArithmetic, MessagesNameTheOperatorAndTheTypes) {
    try {
        arithmeticOf(BinaryOp::FloorDiv, Value("a"), Value());
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "operator '//' needs numbers, got string and nil");
    }
    try {
        arithmeticOf(BinaryOp::Add, Value::newList(), Value("x"));
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "cannot add list and string");
    }
}

TEST(InterpreterIndexing, ExtremeIndicesAreOutOfRangeNotUndefined) {
    const Value list = Value::newList({Value(int64_t{1}), Value(int64_t{2})});
    try {
        Interpreter::getIndex(list, Value(kMinInt), 2, 3);
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "list index -9223372036854775808 out of range (len 2)");
        EXPECT_EQ(error.line, 2);
        EXPECT_EQ(error.column, 3);
    }
    EXPECT_THROW(Interpreter::setIndex(list, Value(kMaxInt), Value(), 1, 1), RuntimeError);
    EXPECT_THROW(Interpreter::getIndex(Value("ab"), Value(kMinInt), 1, 1), RuntimeError);
    EXPECT_EQ(Interpreter::getIndex(Value("ab"), Value(int64_t{-2}), 1, 1).asString(), "a");
}

TEST(InterpreterIndexing, IterationItemsAreASnapshot) {
    const Value list = Value::newList({Value(int64_t{1})});
    ValueVector items = Interpreter::iterationItems(list, 1, 1);
    list.listItems().push_back(Value(int64_t{2}));
    EXPECT_EQ(items.size(), 1u);
    const ValueVector bytes = Interpreter::iterationItems(Value(std::string("a\xff", 2)), 1, 1);
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[1].asString(), "\xff");
}

TEST(InterpreterLoops, IntegerCountingStaysExactNearTheLimits) {
    // Beyond 2^53 a double counter would stall (x + 1 == x); at the top of
    // the Int range the next value would wrap around.
    EXPECT_EQ(runProgram("for i = 2 ^ 53, 2 ^ 53 + 2 do print(i) end"),
              "9007199254740992\n9007199254740993\n9007199254740994\n");
    EXPECT_EQ(runProgram("let top = 2 ^ 62 - 1 + 2 ^ 62\nfor i = top - 1, top do print(i) end"),
              "9223372036854775806\n9223372036854775807\n");
    EXPECT_EQ(runProgram("let bottom = -(2 ^ 62) * 2\nfor i = bottom + 2, bottom, -2 do print(i) end"),
              "-9223372036854775806\n-9223372036854775808\n");
    EXPECT_EQ(runProgram("let top = 2 ^ 62 - 1 + 2 ^ 62\nlet n = 0\nfor i = 0, top, top do n += 1 end\nprint(n)"),
              "2\n");
}

TEST(InterpreterLoops, ReusedIterationScopesDoNotLeakIntoCapturedOnes) {
    // Only some iterations capture their scope; the others may be recycled.
    EXPECT_EQ(runProgram("let fs = []\n"
                         "for i = 1, 6 do\n"
                         "    let v = i * 10\n"
                         "    if i % 3 == 0 then push(fs, function() return [i, v] end) end\n"
                         "end\n"
                         "print(fs[0](), fs[1]())"),
              "[3, 30] [6, 60]\n");
}

TEST(InterpreterSignals, BreakAndContinueStopAtFunctionBoundaries) {
    const RuntimeError inFunction = runtimeErrorOf("function f()\n    break\nend\nwhile true do f() end");
    EXPECT_EQ(inFunction.message, "'break' outside a loop");
    EXPECT_EQ(inFunction.line, 2);
    EXPECT_EQ(inFunction.column, 5);

    const RuntimeError atTop = runtimeErrorOf("let x = 1\n  continue");
    EXPECT_EQ(atTop.message, "'continue' outside a loop");
    EXPECT_EQ(atTop.line, 2);
    EXPECT_EQ(atTop.column, 3);

    // The boundary error is an ordinary runtime error for the caller's try.
    EXPECT_EQ(runProgram("function f() continue end\n"
                         "for i = 1, 2 do\n"
                         "    try f() catch e print(i, e) end\n"
                         "end"),
              "1 'continue' outside a loop\n2 'continue' outside a loop\n");
}

TEST(InterpreterSignals, TopLevelReturnEndsTheProgramQuietly) {
    EXPECT_EQ(runProgram("print(1)\nfor i = 1, 3 do\n    if i == 2 then return i end\n    print(i)\nend\nprint(9)"),
              "1\n1\n");
}

TEST(InterpreterRepl, ValueOfAFinalExpressionAndPersistentBindings) {
    Interpreter interpreter;
    StmtList first = parseSource("let x = 40\nx + 2");
    EXPECT_EQ(interpreter.runRepl(first).asInt(), 42);
    StmtList second = parseSource("function twice(v) return v * 2 end");
    EXPECT_TRUE(interpreter.runRepl(second).isNil());
    StmtList third = parseSource("twice(x)");
    EXPECT_EQ(interpreter.runRepl(third).asInt(), 80);
    StmtList empty = parseSource("");
    EXPECT_TRUE(interpreter.runRepl(empty).isNil());
    StmtList returning = parseSource("return 5\nx = 0");
    EXPECT_TRUE(interpreter.runRepl(returning).isNil());
    StmtList check = parseSource("x");
    EXPECT_EQ(interpreter.runRepl(check).asInt(), 40) << "statements after a top-level return do not run";
    StmtList stray = parseSource("break");
    EXPECT_THROW(interpreter.runRepl(stray), RuntimeError);
    StmtList after = parseSource("x + 1");
    EXPECT_EQ(interpreter.runRepl(after).asInt(), 41) << "the interpreter stays usable after an error";
}

TEST(InterpreterCaller, CallbacksHaveNoPositionForTheirOwnErrors) {
    Interpreter interpreter;
    StmtList program = parseSource("function add(a, b) return a + b end\nfunction bad() return nope end");
    interpreter.run(program);
    const Value add = *interpreter.globals->lookup("add");
    EXPECT_EQ(interpreter.call(add, {Value(int64_t{2}), Value(int64_t{3})}).asInt(), 5);
    try {
        interpreter.call(add, {Value(int64_t{2})});
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "add() expects 2 argument(s), got 1");
        EXPECT_EQ(error.line, 0);
        EXPECT_EQ(error.column, 0);
    }
    try {
        interpreter.call(Value(int64_t{3}), {});
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "number is not callable");
        EXPECT_EQ(error.line, 0);
    }
    try {
        interpreter.call(*interpreter.globals->lookup("bad"), {});
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "undefined variable 'nope'");
        EXPECT_EQ(error.line, 2) << "errors inside the body keep their own position";
    }
    const Value len = *interpreter.globals->lookup("len");
    EXPECT_EQ(interpreter.call(len, {Value("abcd")}).asInt(), 4);
}

TEST(InterpreterRecursion, RunawayRecursionIsACatchableErrorAndLeavesNoDebt) {
    const RuntimeError error = runtimeErrorOf("function f(n)\n    return 1 + f(n + 1)\nend\nf(0)");
    EXPECT_EQ(error.message, "call stack overflow (too much recursion)");
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.column, 17);
    // If unwinding left the depth count raised, later calls would fail early.
    EXPECT_EQ(runProgram("function f(n) return f(n + 1) end\n"
                         "function g(n)\n    if n == 0 then return 0 end\n    return 1 + g(n - 1)\nend\n"
                         "for i = 1, 20 do try f(0) catch e end end\n"
                         "print(g(200))"),
              "200\n");
}

TEST(InterpreterRecursion, NestingDeeperThanTheStackAllowsIsStopped) {
    // A hand-built chain of 200,000 unary minus nodes: far deeper than the
    // parser accepts, and deeper than the native stack could evaluate.
    constexpr int kDepth = 200000;
    ExprPtr chain = std::make_unique<LiteralExpr>(Value(int64_t{1}), 1, 1);
    for (int i = 0; i < kDepth; ++i) chain = std::make_unique<UnaryExpr>("-", std::move(chain), 1, 1);
    StmtList program;
    program.push_back(std::make_unique<ExprStmt>(std::move(chain), 1, 1));
    Interpreter interpreter;
    EXPECT_THROW(interpreter.run(program), RuntimeError);
    // Take the chain apart iteratively: recursive destruction would need as
    // much stack as the evaluation.
    ExprPtr node = std::move(static_cast<ExprStmt&>(*program[0]).expr);
    while (node && node->kind == ExprKind::Unary) {
        ExprPtr next = std::move(static_cast<UnaryExpr&>(*node).operand);
        node = std::move(next);
    }
}

TEST(InterpreterRecursion, BlocksNestedDeeperThanTheStackAllowsAreStopped) {
    // Try blocks nest without an expression between them, 200,000 deep,
    // around print("ran"). The error that stops the descent is one that the
    // try blocks above catch, so the program ends quietly, never reaching
    // the print.
    constexpr int kDepth = 200000;
    StmtList program;
    std::vector<ExprPtr> args;
    args.push_back(std::make_unique<LiteralExpr>(Value("ran"), 1, 1));
    program.push_back(std::make_unique<ExprStmt>(
        std::make_unique<CallExpr>(std::make_unique<NameExpr>("print", 1, 1), std::move(args), 1, 1), 1, 1));
    for (int i = 0; i < kDepth; ++i) {
        StmtList outer;
        outer.push_back(std::make_unique<TryStmt>(std::move(program), "e", StmtList{}, 1, 1));
        program = std::move(outer);
    }
    executionLimits().nativeStackReached = false;
    Interpreter interpreter;
    std::ostringstream output;
    std::streambuf* saved = std::cout.rdbuf(output.rdbuf());
    EXPECT_NO_THROW(interpreter.run(program));
    std::cout.rdbuf(saved);
    EXPECT_EQ(output.str(), "");
    EXPECT_TRUE(executionLimits().nativeStackReached);
    executionLimits().nativeStackReached = false;
    while (!program.empty() && program[0]->kind == StmtKind::Try) {
        StmtList inner = std::move(static_cast<TryStmt&>(*program[0]).body);
        program = std::move(inner);
    }
}

TEST(InterpreterScopes, ScopesHeldOnlyByTheirOwnFunctionsAreFreed) {
    // `witness` is referenced by the global binding and by every scope that
    // still holds `keep`; a scope left alive in a cycle with its own
    // function would keep an extra reference.
    const char* const patterns[] = {
        "function f()\n    let keep = witness\n    function g() return keep end\nend\nf()\nf()",
        "for i = 1, 3 do\n    let keep = witness\n    function g() return keep end\nend",
        "let n = 0\nwhile n < 2 do\n    let keep = witness\n    let g = 1\n    function g() return keep end\n    n += "
        "1\nend",
        "if true then\n    let keep = witness\n    function g() return keep end\nend",
        "try\n    error(1)\ncatch e\n    let keep = witness\n    function g() return keep end\nend",
        "function f()\n    let keep = witness\n    function g() return keep end\n    error(\"out\")\nend\n"
        "try f() catch e end",
        // Object-like maps and lists of functions that point back at the scope.
        "function f()\n    let keep = witness\n    let box = {get: function() return keep end}\n    return 1\nend\nf()",
        "function f()\n    let keep = witness\n    let fs = [[function() return keep end]]\nend\nf()",
    };
    for (const char* pattern : patterns) {
        Interpreter interpreter;
        StmtList program = parseSource(std::string("let witness = [0]\n") + pattern);
        interpreter.run(program);
        EXPECT_EQ(interpreter.globals->lookup("witness")->asObject()->refCount, 1u) << pattern;
    }
}

TEST(InterpreterScopes, EscapingFunctionsKeepTheirScopes) {
    EXPECT_EQ(runProgram("function make()\n"
                         "    let secret = \"kept\"\n"
                         "    function reveal() return secret end\n"
                         "    return reveal\n"
                         "end\n"
                         "let fs = []\n"
                         "for i = 1, 2 do\n"
                         "    let local = i\n"
                         "    function get() return local end\n"
                         "    push(fs, get)\n"
                         "end\n"
                         "print(make()(), fs[0](), fs[1]())"),
              "kept 1 2\n");
}

TEST(InterpreterScopes, EscapedScopesThatBecomeGarbageAreReclaimedDuringTheRun) {
    // Each call's scope escapes with the function it returns, and forms a
    // cycle with it once the caller drops the function. Without reclaiming,
    // all 2,000 scopes (and their references to `witness`) would pile up.
    Interpreter interpreter;
    StmtList program = parseSource("let witness = [0]\n"
                                   "function make()\n"
                                   "    let keep = witness\n"
                                   "    function reveal() return keep end\n"
                                   "    return reveal\n"
                                   "end\n"
                                   "let total = 0\n"
                                   "for i = 1, 2000 do\n"
                                   "    let f = make()\n"
                                   "    total += len(f())\n"
                                   "end\n"
                                   "print(total)");
    std::ostringstream output;
    std::streambuf* saved = std::cout.rdbuf(output.rdbuf());
    interpreter.run(program);
    std::cout.rdbuf(saved);
    EXPECT_EQ(output.str(), "2000\n");
    EXPECT_LT(interpreter.globals->lookup("witness")->asObject()->refCount, 600u);
}

TEST(InterpreterScopes, DroppedObjectsMadeOfMapsAndClosuresAreReclaimed) {
    Interpreter interpreter;
    StmtList program = parseSource("let witness = [0]\n"
                                   "function newPoint(x)\n"
                                   "    let keep = witness\n"
                                   "    let p = {x: x}\n"
                                   "    p.get = function() return p.x end\n"
                                   "    return p\n"
                                   "end\n"
                                   "let total = 0\n"
                                   "for i = 1, 2000 do\n"
                                   "    let q = newPoint(i)\n"
                                   "    total += q.get()\n"
                                   "end");
    interpreter.run(program);
    EXPECT_EQ(interpreter.globals->lookup("total")->asInt(), 2001000);
    EXPECT_LT(interpreter.globals->lookup("witness")->asObject()->refCount, 600u);
}
