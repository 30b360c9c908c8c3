// The tree-walker's shortcuts must be invisible: remembered global slots,
// call scopes reused by their function, loop variables rebound in place, and
// the Int fast path of the binary operators.

#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine_options.h"
#include "error.h"
#include "execution_limits.h"
#include "interpreter.h"
#include "parser.h"

using namespace velmor;

namespace {

std::string runOn(Interpreter& interpreter, const StmtList& program) {
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

std::string runProgram(const std::string& source) {
    StmtList program = parseSource(source);
    Interpreter interpreter;
    return runOn(interpreter, program);
}

// An expression for any Int: literals convert through a double, so only
// those up to 2^53 are exact, but wrapping arithmetic on two halves is.
std::string spellInt(int64_t value) {
    const int64_t high = value >> 32;
    const int64_t low = value & 0xFFFFFFFF;
    return "(" + std::to_string(high) + ") * 4294967296 + " + std::to_string(low);
}

// The general rules: equality and ordering of numbers as asDouble, the
// arithmetic through binaryOp.
Value expectedResult(BinaryOp op, const Value& left, const Value& right) {
    const double x = asDouble(left);
    const double y = asDouble(right);
    switch (op) {
    case BinaryOp::Eq: return Value(valuesEqual(left, right));
    case BinaryOp::NotEq: return Value(!valuesEqual(left, right));
    case BinaryOp::Less: return Value(x < y);
    case BinaryOp::LessEq: return Value(x <= y);
    case BinaryOp::Greater: return Value(x > y);
    case BinaryOp::GreaterEq: return Value(x >= y);
    default: return Interpreter::binaryOp(op, left, right, 1, 1);
    }
}

}  // namespace

TEST(InterpreterGlobalSlots, AScopeThatLaterBindsTheNameShadowsTheGlobal) {
    EXPECT_EQ(runProgram("let x = \"g\"\n"
                         "function outer()\n"
                         "  let f = function() return x end\n"
                         "  let before = f()\n"
                         "  let x = \"l\"\n"
                         "  return before + f()\n"
                         "end\n"
                         "print(outer())\n"
                         "print(outer())\n"),
              "gl\ngl\n");
}

TEST(InterpreterGlobalSlots, GlobalsDefinedLaterAndRebindingsAreSeen) {
    EXPECT_EQ(runProgram("function get() return later end\n"
                         "for i = 1, 2 do\n"
                         "  try print(get()) catch e print(e) end\n"
                         "end\n"
                         "let later = 1\n"
                         "print(get())\n"
                         "later = 2\n"
                         "print(get())\n"
                         "let later = 3\n"
                         "print(get())\n"
                         "for i = 1, 2 do\n"
                         "  print(len([1, 2]))\n"
                         "  len = function(v) return \"mine\" end\n"
                         "end\n"),
              "undefined variable 'later'\nundefined variable 'later'\n1\n2\n3\n2\nmine\n");
}

TEST(InterpreterGlobalSlots, AssignmentThroughTheCacheReachesTheGlobal) {
    EXPECT_EQ(runProgram("let total = 0\n"
                         "function add(n) total = total + n end\n"
                         "for i = 1, 10 do add(i) end\n"
                         "total += 5\n"
                         "print(total)\n"),
              "60\n");
}

TEST(InterpreterGlobalSlots, ASecondProgramOnTheSameInterpreterResolvesItsOwnNames) {
    // The first tree is freed before the second is parsed, so its nodes'
    // addresses may come back with other names at them.
    Interpreter interpreter;
    {
        StmtList first = parseSource("let a = \"a\"\nlet b = \"b\"\nfor i = 1, 3 do print(a) end\n");
        EXPECT_EQ(runOn(interpreter, first), "a\na\na\n");
    }
    StmtList second = parseSource("for i = 1, 3 do print(b) end\n");
    EXPECT_EQ(runOn(interpreter, second), "b\nb\nb\n");
}

TEST(InterpreterCallScopes, ACapturedCallScopeKeepsItsParametersWhileLaterCallsRun) {
    EXPECT_EQ(runProgram("function f(n, keep)\n"
                         "  if keep then return function() return n end end\n"
                         "  return n\n"
                         "end\n"
                         "let g = f(1, true)\n"
                         "print(f(2, false) + f(3, false))\n"
                         "let h = f(4, true)\n"
                         "print(g(), h(), f(5, false))\n"),
              "5\n1 4 5\n");
}

TEST(InterpreterCallScopes, ALetOfAnEarlierCallIsNotVisibleInTheNext) {
    EXPECT_EQ(runProgram("let y = \"global\"\n"
                         "function f(first)\n"
                         "  if not first then return y end\n"
                         "  let y = \"local\"\n"
                         "  return y\n"
                         "end\n"
                         "print(f(false), f(true), f(false), f(true), f(false))\n"),
              "global local global local global\n");
}

TEST(InterpreterCallScopes, RecursionGetsOneScopePerActiveCall) {
    EXPECT_EQ(runProgram("function walk(depth, limit)\n"
                         "  if depth == limit then return [depth] end\n"
                         "  let rest = walk(depth + 1, limit)\n"
                         "  push(rest, depth)\n"
                         "  return rest\n"
                         "end\n"
                         "function fib(n)\n"
                         "  if n < 2 then return n end\n"
                         "  return fib(n - 1) + fib(n - 2)\n"
                         "end\n"
                         "print(walk(0, 12))\n"
                         "print(fib(15), fib(1))\n"),
              "[12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0]\n610 1\n");
}

TEST(InterpreterCallScopes, AnErrorInsideACallLeavesTheNextCallClean) {
    EXPECT_EQ(runProgram("function f(a, b)\n"
                         "  if a == 0 then error(\"boom\") end\n"
                         "  return a + b\n"
                         "end\n"
                         "try f(0, 1) catch e print(e) end\n"
                         "print(f(2, 3))\n"
                         "try f(1) catch e print(e) end\n"
                         "print(f(4, 5))\n"),
              "boom\n5\nf() expects 2 argument(s), got 1\n9\n");
}

TEST(InterpreterLoopScopes, EachIterationStillStartsFresh) {
    EXPECT_EQ(runProgram("let v = \"outer\"\n"
                         "let seen = []\n"
                         "for i = 1, 3 do\n"
                         "  push(seen, v)\n"
                         "  let v = i\n"
                         "end\n"
                         "print(seen)\n"
                         "let kept = []\n"
                         "for i = 1, 4 do\n"
                         "  if i % 2 == 1 then push(kept, function() return i end) end\n"
                         "end\n"
                         "for x in [10, 20] do\n"
                         "  let x = x + 1\n"
                         "  push(kept, function() return x end)\n"
                         "end\n"
                         "let values = []\n"
                         "for f in kept do push(values, f()) end\n"
                         "print(values)\n"),
              "[\"outer\", \"outer\", \"outer\"]\n[1, 3, 11, 21]\n");
}

TEST(InterpreterFastPath, IntOperatorsAgreeWithTheGeneralRules) {
    const std::vector<int64_t> operands = {
        0, 1, -1, 7, -7, 3, -3, INT64_MAX, INT64_MIN, 9007199254740992, 9007199254740993};
    const std::vector<std::pair<std::string, BinaryOp>> operators = {
        {"+", BinaryOp::Add},     {"-", BinaryOp::Sub},        {"*", BinaryOp::Mul},      {"%", BinaryOp::Mod},
        {"==", BinaryOp::Eq},     {"!=", BinaryOp::NotEq},     {"<", BinaryOp::Less},     {"<=", BinaryOp::LessEq},
        {">", BinaryOp::Greater}, {">=", BinaryOp::GreaterEq}, {"//", BinaryOp::FloorDiv}};
    std::string source = "let a = 0\nlet b = 0\n";
    std::string expected;
    for (const int64_t left : operands) {
        for (const int64_t right : operands) {
            source += "a = " + spellInt(left) + "\n";
            source += "b = " + spellInt(right) + "\n";
            for (const auto& [spelling, op] : operators) {
                if (right == 0 && (op == BinaryOp::Mod || op == BinaryOp::FloorDiv)) continue;
                source += "print(a " + spelling + " b)\n";
                expected += toText(expectedResult(op, Value(left), Value(right))) + "\n";
            }
        }
    }
    EXPECT_EQ(runProgram(source), expected);
}

TEST(InterpreterLoopScopes, ALoopLeftAndEnteredAgainSeesItsNewSurroundings) {
    // The same loop statement runs under a different call scope each time,
    // nested in itself through recursion, and under closures made in
    // different iterations.
    EXPECT_EQ(
        runProgram("let log = []\n"
                   "function nest(depth)\n"
                   "  for i = 1, 2 do\n"
                   "    push(log, depth * 10 + i)\n"
                   "    if depth < 2 then nest(depth + 1) end\n"
                   "    push(log, depth * 10 + i)\n"
                   "  end\n"
                   "end\n"
                   "nest(0)\n"
                   "print(log)\n"
                   "let out = []\n"
                   "let fs = []\n"
                   "for k = 1, 3 do\n"
                   "  push(fs, function() for i = 1, 2 do push(out, k * 10 + i) end end)\n"
                   "end\n"
                   "for f in fs do f() end\n"
                   "fs[1]()\n"
                   "print(out)\n"),
        "[1, 11, 21, 21, 22, 22, 11, 12, 21, 21, 22, 22, 12, 1, 2, 11, 21, 21, 22, 22, 11, 12, 21, 21, 22, 22, 12, "
        "2]\n[11, 12, 21, 22, 31, 32, 21, 22]\n");
}

TEST(InterpreterLoopScopes, AVariableCapturedInTheLastIterationOutlivesTheLoop) {
    EXPECT_EQ(runProgram("let last = nil\n"
                         "function run(n)\n"
                         "  for i = 1, n do\n"
                         "    if i == n then last = function() return i end end\n"
                         "  end\n"
                         "end\n"
                         "run(3)\n"
                         "let three = last\n"
                         "run(5)\n"
                         "print(three(), last())\n"
                         "for word in [\"a\", \"b\"] do last = function() return word end end\n"
                         "for word in [\"c\"] do end\n"
                         "print(last())\n"),
              "3 5\nb\n");
}

namespace {

// Runs `source` with a budget of 100 steps on the tree-walker; the global n
// when the budget runs out.
int64_t countedUntilBudgetRunsOut(const std::string& source, EngineOptions options) {
    const StmtList program = parseSource(source);
    ExecutionLimits& limits = executionLimits();
    const ExecutionLimits saved = limits;
    limits.stepsEnabled = true;
    limits.stepsLeft = 100;
    Interpreter interpreter(options);
    bool exhausted = false;
    try {
        runOn(interpreter, program);
    } catch (const BudgetExhausted&) {
        exhausted = true;
    }
    limits = saved;
    EXPECT_TRUE(exhausted) << source;
    return interpreter.globals->lookup("n")->asInt();
}

}  // namespace

TEST(InterpreterFastPath, ASortByAComparatorFormCountsItsCallsUnderABudget) {
    // Sort answers these comparators without calls only while no steps are
    // counted: under a budget each comparison is a call and a step, as in
    // the plain tree-walker.
    const std::pair<const char*, const char*> sorts[] = {
        {"function(a, b) return a < b end", "[5, 3, 1, 4, 2]"},
        {"function(a, b) return b[0] >= a[0] end", "[[5], [3], [1], [4], [2]]"},
        {"function(a, b) return a.k > b.k end", "[{k: \"e\"}, {k: \"c\"}, {k: \"a\"}, {k: \"d\"}]"}};
    for (const auto& [comparator, items] : sorts) {
        const std::string source = std::string("let n = 0\nlet less = ") + comparator + "\nlet items = " + items +
                                   "\n"
                                   "for i = 1, 1000 do\n"
                                   "  sort(items, less)\n"
                                   "  n = n + 1\n"
                                   "end\n";
        const int64_t fast = countedUntilBudgetRunsOut(source, EngineOptions{});
        EXPECT_EQ(fast, countedUntilBudgetRunsOut(source, EngineOptions{true})) << comparator;
        EXPECT_LT(fast, 20) << comparator;
    }
}

TEST(InterpreterFastPath, OnlyTheFastTreeWalkerSortsByAComparatorFormWithoutCalls) {
    // The plain tree-walker keeps calling the comparator; the fast one sorts
    // these lists itself, in the order the calls would give.
    const StmtList program = parseSource("let less = function(a, b) return b < a end\n"
                                         "let near = function(a, b) return b < a[0] end\n");
    for (const bool plain : {false, true}) {
        Interpreter interpreter(EngineOptions{plain});
        runOn(interpreter, program);
        const Value less = *interpreter.globals->lookup("less");
        ValueVector items{Value(int64_t{2}), Value(3.5), Value(int64_t{1}), Value(int64_t{3})};
        EXPECT_EQ(interpreter.sortBy(items, less), !plain);
        if (!plain) {
            EXPECT_EQ(toText(Value::newList(items)), "[3.5, 3, 2, 1]");
        }
        ValueVector words{Value("b"), Value("c"), Value("a")};
        EXPECT_EQ(interpreter.sortBy(words, less), !plain);
        ValueVector mixed{Value(int64_t{2}), Value("c")};
        EXPECT_FALSE(interpreter.sortBy(mixed, less));
        EXPECT_FALSE(interpreter.sortBy(items, *interpreter.globals->lookup("near")));
    }
}
