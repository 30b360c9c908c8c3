// Whole programs through the parser and compiler: calls, limits, handlers
// and upvalues, with the machine checked to be at rest afterwards.

#include <span>

#include "vm_support.h"

namespace velmor {
namespace {

using testing::runProgram;

TEST(VmPrograms, RunsOrdinaryCode) {
    auto result = runProgram(R"(
function fib(n)
    if n < 2 then return n end
    return fib(n - 1) + fib(n - 2)
end
let total = 0
for i = 1, 10 do total += i end
print(fib(15), total, 7 // 2, -7 % 3, 2 ^ 10)
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "610 55 3 -1 1024\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, FrameLimitIsReachedAtTheFrameAfterTheLast) {
    // The script's own frame is the first of the 4,096.
    auto result = runProgram(R"(
let depth = 0
function dive()
    depth += 1
    dive()
end
try
    dive()
catch e
    print(depth, e)
end
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "4095 call stack overflow (too much recursion)\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, UncaughtFrameOverflowCarriesTheCallLine) {
    auto result = runProgram("function f()\n    return f()\nend\nf()\n");
    ASSERT_TRUE(result.failed);
    EXPECT_EQ(result.label, "RuntimeError");
    EXPECT_EQ(result.message, "call stack overflow (too much recursion)");
    EXPECT_EQ(result.line, 2);
    EXPECT_EQ(result.column, 0);
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, ArityErrorComesBeforeTheFrameLimit) {
    auto result = runProgram(R"(
function f(n)
    if n == 0 then return f() end
    return f(n - 1)
end
try f(4094) catch e print(e) end
try f(5000) catch e print(e) end
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "f() expects 1 argument(s), got 0\n"
                             "call stack overflow (too much recursion)\n");
}

TEST(VmPrograms, WideFramesOverflowTheValueStackWithLineZero) {
    // Twenty values per call exhaust 65,536 values long before 4,096 frames.
    auto result = runProgram(R"(
function wide(a, b, c, d, e, f, g, h, i, j, k, l, m, o, p, q, r, s, t)
    return wide(a, b, c, d, e, f, g, h, i, j, k, l, m, o, p, q, r, s, t)
end
wide(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19)
)");
    ASSERT_TRUE(result.failed);
    EXPECT_EQ(result.message, "stack overflow");
    EXPECT_EQ(result.line, 0);
    EXPECT_TRUE(result.machineAtRest);

    auto caught = runProgram(R"(
function wide(a, b, c, d, e, f, g, h, i, j, k, l, m, o, p, q, r, s, t)
    return wide(a, b, c, d, e, f, g, h, i, j, k, l, m, o, p, q, r, s, t)
end
try
    wide(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19)
catch e
    print("caught", e)
end
)");
    EXPECT_FALSE(caught.failed) << caught.message;
    EXPECT_EQ(caught.output, "caught stack overflow\n");
}

TEST(VmPrograms, RecursionThroughBuiltinsEndsInACatchableError) {
    // Each level nests a run loop inside the builtin; the budget of native
    // stack for that nesting ends it long before the stack runs out.
    for (const char* builtin : {"map(f, [x])", "filter(f, [x])", "reduce(function(a, b) return f(b) end, [x], 0)",
                                "sort([x, x], function(a, b) return f(a) end)"}) {
        std::string source = std::string("function f(x) return ") + builtin + " end\n" +
                             "try f(1) catch e print(e) end\n"
                             "print(len(map(function(v) return v * 2 end, [1, 2, 3])))\n";
        auto result = runProgram(source);
        EXPECT_FALSE(result.failed) << builtin << ": " << result.message;
        EXPECT_EQ(result.output, "call stack overflow (too much recursion)\n3\n") << builtin;
        EXPECT_TRUE(result.machineAtRest) << builtin;
    }
    auto uncaught = runProgram("function f(x) return map(f, [x]) end\nf(1)\n");
    ASSERT_TRUE(uncaught.failed);
    EXPECT_EQ(uncaught.message, "call stack overflow (too much recursion)");
    EXPECT_TRUE(uncaught.machineAtRest);
}

TEST(VmPrograms, ErrorInACallbackIsCaughtAroundTheBuiltin) {
    auto result = runProgram(R"(
let seen = []
function check(x)
    push(seen, x)
    if x == 2 then return x + "!" end
    return x
end
try
    map(check, [1, 2, 3])
catch e
    print(e)
end
try
    map(function(x) error({"code": x}) end, [7])
catch e
    print(e["code"])
end
print(seen)
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "cannot add number and string\n7\n[1, 2]\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, HandlerInsideACallbackStaysInside) {
    auto result = runProgram(R"(
let out = map(function(x)
    try
        return 10 // x
    catch e
        return e
    end
end, [5, 0])
print(out)
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "[2, \"floor division by zero\"]\n");
}

TEST(VmPrograms, ThrownValueCrossesFramesWithItsKind) {
    auto result = runProgram(R"(
let captured = nil
function inner(n)
    let local = n * 10
    captured = function() return local end
    error([n, "deep"])
end
function middle(n) return inner(n + 1) end
try
    middle(1)
catch e
    print(e, type(e), captured())
end
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "[2, \"deep\"] list 20\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, HandlerDoesNotOutliveItsFunction) {
    auto result = runProgram(R"(
function guarded()
    try
        return 1
    catch e
        print("stale handler ran")
    end
end
guarded()
error("after")
)");
    ASSERT_TRUE(result.failed);
    EXPECT_EQ(result.label, "thrown");
    EXPECT_EQ(result.message, "after");
    EXPECT_EQ(result.output, "");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, BreakInsideTryRemovesTheHandler) {
    auto result = runProgram(R"(
for i = 1, 3 do
    try
        if i == 2 then break end
        print(i)
    catch e
        print("stale handler ran")
    end
end
let n = 0
while true do
    n += 1
    try
        if n < 3 then continue end
        break
    catch e
        print("stale handler ran")
    end
end
print(n)
let x = nil + 1
)");
    ASSERT_TRUE(result.failed);
    EXPECT_EQ(result.message, "cannot add nil and number");
    EXPECT_EQ(result.output, "1\n3\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, ErrorInsideHandlerGoesToTheNextHandlerOut) {
    auto result = runProgram(R"(
try
    try
        error("first")
    catch e
        error(e + " then second")
    end
catch outer
    print(outer)
end
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "first then second\n");
}

TEST(VmPrograms, UpvaluesAreSharedBeforeAndAfterTheLocalLeaves) {
    auto result = runProgram(R"(
function pair()
    let count = 0
    let bump = function()
        count += 1
        return count
    end
    let read = function() return count end
    bump()
    print("open", read(), count)
    count = 10
    print("open", bump(), read())
    return [bump, read]
end
let fns = pair()
print("closed", fns[0](), fns[1]())
print("closed", fns[0](), fns[1]())
let makers = []
if true then
    let shared = "a"
    push(makers, function(v) shared = v end)
    push(makers, function() return shared end)
end
makers[0]("b")
print(makers[1]())
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "open 1 1\n"
                             "open 11 11\n"
                             "closed 12 12\n"
                             "closed 13 13\n"
                             "b\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmPrograms, LoopVariableIsOneVariableForTheWholeLoop) {
    auto result = runProgram(R"(
let fns = []
for i = 1, 3 do push(fns, function() return i end) end
print(fns[0](), fns[2]())
let items = []
for s in ["x", "y"] do push(items, function() return s end) end
print(items[0]())
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "4 4\ny\n");
}

TEST(VmPrograms, CompiledNumericLoopRules) {
    auto result = runProgram(R"(
let seen = []
for i = 1, 2, 0.5 do push(seen, i) end
print(seen)
let runs = 0
for i = 1, 3, 0 do
    runs += 1
    break
end
print(runs)
for i = 10, 1, -3 do print(i) end
try
    for i = 1, "x" do end
catch e
    print(e)
end
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "[1, 1.5, 2.0]\n1\n10\n7\n4\n1\nnumeric for-loop needs numbers\n");
}

TEST(VmPrograms, ErrorsReportTheLineAndNoColumn) {
    auto result = runProgram("let a = 1\nlet b = [1, 2]\n\nprint(b[a + 5])\n");
    ASSERT_TRUE(result.failed);
    EXPECT_EQ(result.message, "list index 6 out of range (len 2)");
    EXPECT_EQ(result.line, 4);
    EXPECT_EQ(result.column, 0);

    auto native = runProgram("let x = 1\nsqrt(\"x\")\n");
    ASSERT_TRUE(native.failed);
    EXPECT_EQ(native.message, "sqrt: expected a number, got string");
    EXPECT_EQ(native.line, 0);
}

TEST(VmPrograms, MapLiteralChecksKeysAfterAllPairs) {
    auto result = runProgram(R"(
let log = []
function note(v)
    push(log, v)
    return v
end
try
    let m = {[note(nil)]: note(1), [note("k")]: note(2)}
catch e
    print(e)
end
print(log)
let twice = {"a": 1, "b": 2, "a": 3}
print(twice)
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "map keys must be string or number, got nil\n[nil, 1, \"k\", 2]\n{\"a\": 3, \"b\": 2}\n");
}

}  // namespace
}  // namespace velmor

namespace velmor {
namespace {

TEST(VmGlobals, CachedBindingsFollowLaterDefinitionsAndAssignments) {
    auto result = testing::runProgram(R"(
function show() return label end
try
    show()
catch e
    print(e)
end
let label = "first"
print(show())
let label = "second"
print(show())
label = "third"
print(show())
function show() return "replaced " + label end
print(show())
print = function(x) push(seen, x) end
let seen = []
print("quiet")
len(seen)
)");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "undefined variable 'label'\nfirst\nsecond\nthird\nreplaced third\n");
}

TEST(VmGlobals, OnePrototypeRunsOnFreshMachinesWithTheirOwnGlobals) {
    StmtList program =
        parseSource("let n = 0\nfunction bump()\n    n += 1\n    return n\nend\nbump()\nreturn bump()\n");
    Ref<FunctionProto> script = compileProgram(program);
    for (int run = 0; run < 3; ++run) {
        VM vm;
        Value result = vm.run(script);
        ASSERT_TRUE(result.isInt());
        EXPECT_EQ(result.asInt(), 2);
    }
}

}  // namespace
}  // namespace velmor

namespace velmor {
namespace {

TEST(VmEscapes, AThrownClosureKeepsItsVariablesAfterTheMachineIsGone) {
    StmtList program = parseSource(R"(
function make()
    let hidden = [1, 2, 3]
    let reader = function() return len(hidden) * 10 end
    error(reader)
end
make()
)");
    Ref<FunctionProto> script = compileProgram(program);
    Value escaped;
    {
        VM vm;
        try {
            vm.run(script);
            ADD_FAILURE() << "the error did not escape";
        } catch (const ThrownValue& thrown) {
            escaped = thrown.value;
        }
        EXPECT_EQ(vm.openUpvalueCount(), 0u);
    }
    ASSERT_TRUE(escaped.isClosure());
    // The upvalue was closed when the error left the frame; another machine can still run the closure.
    VM other;
    Value result = other.call(escaped, {});
    ASSERT_TRUE(result.isInt());
    EXPECT_EQ(result.asInt(), 30);
}

TEST(VmEscapes, CallLeavesTheMachineCleanWhenTheCalleeFails) {
    StmtList program = parseSource(R"(
function failing(x)
    let local = [x]
    let keep = function() return local end
    try
        error("inner")
    catch e
        error(e + " again")
    end
end
return failing
)");
    VM vm;
    Value failing = vm.run(compileProgram(program));
    ASSERT_TRUE(failing.isClosure());
    for (int attempt = 0; attempt < 3; ++attempt) {
        try {
            vm.call(failing, {Value(int64_t{attempt})});
            ADD_FAILURE() << "the callee did not fail";
        } catch (const ThrownValue& thrown) {
            EXPECT_EQ(toText(thrown.value), "inner again");
        }
        EXPECT_EQ(vm.stackSize(), 0u);
        EXPECT_EQ(vm.frameCount(), 0u);
        EXPECT_EQ(vm.handlerCount(), 0u);
        EXPECT_EQ(vm.openUpvalueCount(), 0u);
    }
}

}  // namespace
}  // namespace velmor

namespace velmor {
namespace {

TEST(VmGlobals, OneMachineRunsSeveralScriptsWithoutMixingTheirNames) {
    VM vm;
    for (int round = 0; round < 4; ++round) {
        // Same shape each time, so each prototype has the same size and the same constant indices.
        const std::string name = "name" + std::to_string(round);
        StmtList program = parseSource("let " + name + " = " + std::to_string(round) + "\nreturn " + name + "\n");
        Value result = vm.run(compileProgram(program));
        ASSERT_TRUE(result.isInt());
        EXPECT_EQ(result.asInt(), round);
    }
}

// A builtin that catches the error of the function it calls back, with one
// argument or two, and gives its message.
Value swallowError(Caller& caller, std::span<Value> args) {
    try {
        if (args.size() == 2) return caller.callWith(args[0], std::span<const Value>(&args[1], 1));
        return caller.callPair(args[0], Value(int64_t{1}), Value(int64_t{2}));
    } catch (const RuntimeError& error) {
        return Value(error.message);
    }
}

TEST(VmCaller, ABuiltinThatCatchesACallbacksErrorFindsTheMachineAsItLeftIt) {
    // The callback fails with frames, values, a handler and an open upvalue of
    // its own above the builtin; the program goes on after each failure.
    StmtList program = parseSource(R"(
function failing(a, b)
    let kept = [a, b]
    let reader = function() return kept end
    try
        return deeper(a) + b
    catch e
        return reader()[5]
    end
end
function deeper(a)
    return [a][0] + nothing
end
function twice(x)
    return x * 2
end
let results = []
for i = 1, 3 do
    push(results, swallow(failing), swallow(function(x) return deeper(x) end, i), twice(i))
end
print(len(results), results[0], results[1], results[8], twice(21))
print(failing(7, nil))
)");
    Ref<FunctionProto> script = compileProgram(program);
    VM vm;
    defineNative(*vm.globals, "swallow", swallowError, 1, 2);
    testing::CapturedOutput captured;
    try {
        vm.run(script);
        ADD_FAILURE() << "the last call did not fail";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "list index 5 out of range (len 2)");
        EXPECT_EQ(error.line, 8);
    }
    EXPECT_EQ(captured.text(), "9 list index 5 out of range (len 2) undefined variable 'nothing' 6 42\n");
    EXPECT_EQ(vm.stackSize(), 0u);
    EXPECT_EQ(vm.frameCount(), 0u);
    EXPECT_EQ(vm.handlerCount(), 0u);
    EXPECT_EQ(vm.openUpvalueCount(), 0u);
}

}  // namespace
}  // namespace velmor
