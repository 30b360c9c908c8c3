// The machine runs common instruction sequences as fused instructions; these
// tests pin the cases where the fused form must act exactly like the
// sequence: near the end of the stack, when a jump lands inside it, and when
// an operand has a kind the fast path does not take.

#include <gtest/gtest.h>

#include <cmath>

#include "execution_limits.h"
#include "vm_support.h"

namespace velmor {
namespace {

using testing::ProtoBuilder;

constexpr std::size_t kFreeSlots = VM::kStackSize - 1;  // the script's own closure takes one slot

// Fills the stack up to `freeLeft` free slots, with an Int 5 in local slot 0.
ProtoBuilder fillStack(std::size_t freeLeft) {
    ProtoBuilder code;
    code.constant(Value(int64_t{5}));
    for (std::size_t pushed = 1; pushed < kFreeSlots - freeLeft; ++pushed) code.op(OP_NIL);
    return code;
}

RuntimeError runExpectingError(Ref<FunctionProto> proto) {
    VM vm;
    try {
        vm.run(std::move(proto));
    } catch (const RuntimeError& error) {
        EXPECT_EQ(vm.stackSize(), 0u);
        return error;
    }
    ADD_FAILURE() << "no error";
    return RuntimeError("");
}

TEST(VmQuickening, LocalConstantArithmeticOverflowsWhereTheSequenceWould) {
    // GET_LOCAL; CONSTANT; ADD needs two free slots at its peak although it leaves one value.
    ProtoBuilder tight = fillStack(1);
    tight.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{1})).op(OP_ADD).op(OP_RETURN);
    EXPECT_EQ(runExpectingError(tight.build()).message, "stack overflow");

    ProtoBuilder roomy = fillStack(2);
    roomy.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{1})).op(OP_ADD).op(OP_RETURN);
    VM vm;
    EXPECT_EQ(vm.run(roomy.build()).asInt(), 6);
}

TEST(VmQuickening, AddAssignOverflowsWhereTheSequenceWould) {
    // x = x + 1 pushes two values at its peak although it leaves none.
    ProtoBuilder tight = fillStack(1);
    tight.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{1})).op(OP_ADD).op16(OP_SET_LOCAL, 0).op(OP_POP);
    tight.op16(OP_GET_LOCAL, 0).op(OP_RETURN);
    EXPECT_EQ(runExpectingError(tight.build()).message, "stack overflow");

    ProtoBuilder roomy = fillStack(2);
    roomy.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{1})).op(OP_ADD).op16(OP_SET_LOCAL, 0).op(OP_POP);
    roomy.op16(OP_GET_LOCAL, 0).op(OP_RETURN);
    VM vm;
    EXPECT_EQ(vm.run(roomy.build()).asInt(), 6);
}

TEST(VmQuickening, LocalLocalIndexOverflowsWhereTheSequenceWould) {
    ProtoBuilder tight;
    tight.constant(Value(int64_t{0})).op16(OP_BUILD_LIST, 1).constant(Value(int64_t{0}));
    for (std::size_t pushed = 2; pushed < kFreeSlots - 1; ++pushed) tight.op(OP_NIL);
    tight.op16(OP_GET_LOCAL, 0).op16(OP_GET_LOCAL, 1).op(OP_GET_INDEX).op(OP_RETURN);
    EXPECT_EQ(runExpectingError(tight.build()).message, "stack overflow");
}

TEST(VmQuickening, JumpIntoAFusedSequenceRunsItsRemainder) {
    // Slot 0 holds 5; the jump skips the GET_LOCAL, so only the constant and the local below it are added.
    ProtoBuilder code;
    code.constant(Value(int64_t{5})).op16(OP_JUMP, 3);
    code.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{10})).op(OP_ADD).op(OP_RETURN);
    VM vm;
    EXPECT_EQ(vm.run(code.build()).asInt(), 15);
}

TEST(VmQuickening, FusedCompareJumpTakesBothBranchesAndFallsBackForStrings) {
    // if local < 3 then return "yes" else return "no"
    auto program = [](Value local) {
        ProtoBuilder code;
        code.constant(std::move(local));
        code.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{3})).op(OP_LESS).op16(OP_JUMP_IF_FALSE, 5).op(OP_POP);
        code.constant(Value("yes")).op(OP_RETURN);
        code.op(OP_POP).constant(Value("no")).op(OP_RETURN);
        return code.build();
    };
    VM vm;
    EXPECT_EQ(vm.run(program(Value(int64_t{2}))).asString(), "yes");
    EXPECT_EQ(vm.run(program(Value(int64_t{3}))).asString(), "no");
    EXPECT_EQ(vm.run(program(Value(2.5))).asString(), "yes");
    EXPECT_EQ(vm.stackSize(), 0u);
    RuntimeError error = runExpectingError(program(Value("a")));
    EXPECT_EQ(error.message, "cannot compare string and number");
}

TEST(VmQuickening, LocalLocalComparisonGivesTheSequencesResult) {
    // return a <op> b, with a and b in slots 0 and 1: the shape of a sort comparator.
    auto program = [](Value a, Value b, OpCode comparison) {
        ProtoBuilder code;
        code.constant(std::move(a)).constant(std::move(b));
        code.op16(OP_GET_LOCAL, 0).op16(OP_GET_LOCAL, 1).op(comparison).op(OP_RETURN);
        return code.build();
    };
    const double nan = std::nan("");
    VM vm;
    EXPECT_TRUE(vm.run(program(Value(int64_t{1}), Value(1.5), OP_LESS)).asBool());
    EXPECT_FALSE(vm.run(program(Value(int64_t{2}), Value(2.0), OP_GREATER)).asBool());
    EXPECT_TRUE(vm.run(program(Value(int64_t{2}), Value(2.0), OP_EQUAL)).asBool());
    EXPECT_FALSE(vm.run(program(Value(nan), Value(nan), OP_EQUAL)).asBool());
    EXPECT_TRUE(vm.run(program(Value(nan), Value(1.0), OP_NOT_EQUAL)).asBool());
    EXPECT_FALSE(vm.run(program(Value(nan), Value(1.0), OP_GREATER_EQUAL)).asBool());
    // Other kinds take the sequence as compiled.
    EXPECT_TRUE(vm.run(program(Value("a"), Value("b"), OP_LESS_EQUAL)).asBool());
    EXPECT_FALSE(vm.run(program(Value("a"), Value(int64_t{1}), OP_EQUAL)).asBool());
    EXPECT_EQ(vm.stackSize(), 0u);
    EXPECT_EQ(runExpectingError(program(Value(), Value(int64_t{1}), OP_LESS)).message, "cannot compare nil and number");
}

TEST(VmQuickening, LocalElementReadsAsTheSequenceWould) {
    // return local[k] for a constant k: lists from either end, and the other kinds as compiled.
    auto element = [](Value local, int64_t k) {
        ProtoBuilder code;
        code.constant(std::move(local));
        code.line(4).op16(OP_GET_LOCAL, 0).constant(Value(k)).op(OP_GET_INDEX).op(OP_RETURN);
        return code.build();
    };
    const Value list = Value::newList({Value(int64_t{10}), Value("b"), Value(int64_t{30})});
    VM vm;
    EXPECT_EQ(vm.run(element(list, 0)).asInt(), 10);
    EXPECT_EQ(vm.run(element(list, -1)).asInt(), 30);
    EXPECT_EQ(vm.run(element(list, 1)).asString(), "b");
    EXPECT_EQ(vm.run(element(Value("xyz"), 1)).asString(), "y");
    Value map = Value::newMap();
    map.asMap().set(Value(2.0), Value("two"));
    EXPECT_EQ(vm.run(element(map, 2)).asString(), "two");
    EXPECT_EQ(vm.stackSize(), 0u);
    const RuntimeError error = runExpectingError(element(list, 3));
    EXPECT_EQ(error.message, "list index 3 out of range (len 3)");
    EXPECT_EQ(error.line, 4);
    EXPECT_EQ(runExpectingError(element(list, -4)).message, "list index -4 out of range (len 3)");
}

TEST(VmQuickening, AStringPastTheCapIsRefusedAndTheVariableKeepsItsText) {
    // Both fused forms of x = x + y, for a local and a global, stop at the
    // size cap with the compiled sequence's error and leave x as it was.
    ExecutionLimits& limits = executionLimits();
    const std::size_t saved = limits.maxContainerSize;
    limits.maxContainerSize = 8;
    const testing::ProgramResult result =
        testing::runProgram("let g = \"\"\n"
                            "function f()\n"
                            "  let s = \"\"\n"
                            "  let t = \"\"\n"
                            "  for i = 1, 6 do\n"
                            "    try s = s + \"abc\" catch e print(e, s) end\n"
                            "    try t = t + str(i) + \"xy\" catch e print(e, t) end\n"
                            "    try g += \"abc\" catch e print(e, g) end\n"
                            "  end\n"
                            "end\n"
                            "f()\n");
    limits.maxContainerSize = saved;
    EXPECT_FALSE(result.failed) << result.message;
    // From the third pass on, each of the three appends would pass 8 bytes.
    std::string expected;
    for (int pass = 3; pass <= 6; ++pass)
        expected += "result too large abcabc\nresult too large 1xy2xy\nresult too large abcabc\n";
    EXPECT_EQ(result.output, expected);
}

TEST(VmQuickening, APushStatementPastTheCapFailsAsPushDoes) {
    // The statement push(xs, v) appends in the VM itself; at the cap it must
    // give push's own error and leave the list as it was, on a local list and
    // a global one, as the plain VM does.
    ExecutionLimits& limits = executionLimits();
    const std::size_t saved = limits.maxContainerSize;
    limits.maxContainerSize = 3;
    const char* source = "let xs = []\n"
                         "function f(ys)\n"
                         "  for i = 1, 5 do\n"
                         "    try push(ys, i) catch e print(e, len(ys)) end\n"
                         "    try push(xs, i) catch e print(e, len(xs)) end\n"
                         "  end\n"
                         "  print(ys[0], ys[2], len(ys))\n"
                         "end\n"
                         "f([])\n"
                         "print(xs[0], xs[2], len(xs))\n";
    const testing::ProgramResult fast = testing::runProgram(source);
    const testing::ProgramResult plain = testing::runProgram(source, EngineOptions{true});
    limits.maxContainerSize = saved;
    EXPECT_FALSE(fast.failed) << fast.message;
    EXPECT_EQ(fast.output, plain.output);
    std::string expected;
    for (int pass = 4; pass <= 5; ++pass) expected += "push: result too large 3\npush: result too large 3\n";
    EXPECT_EQ(fast.output, expected + "1 3 3\n1 3 3\n");
    EXPECT_TRUE(fast.machineAtRest);
}

TEST(VmQuickening, GlobalContainerIndexedByALocalReadsAsTheSequenceWould) {
    // Each read runs twice, so that the second finds the global's address cached.
    const testing::ProgramResult result =
        testing::runProgram("let items = [10, 20, 30]\n"
                            "let names = {\"a\": 1, 2: \"two\"}\n"
                            "let text = \"xyz\"\n"
                            "let out = []\n"
                            "for round = 1, 2 do\n"
                            "  for i = -3, 2 do push(out, items[i]) end\n"
                            "  let k = \"a\"\n"
                            "  let other = \"b\"\n"
                            "  let two = 2.0\n"
                            "  push(out, names[k], names[other], names[two], text[round])\n"
                            "  let far = 3\n"
                            "  try push(out, items[far]) catch e push(out, e) end\n"
                            "end\n"
                            "print(out)\n");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output,
              "[10, 20, 30, 10, 20, 30, 1, nil, \"two\", \"y\", \"list index 3 out of range (len 3)\", "
              "10, 20, 30, 10, 20, 30, 1, nil, \"two\", \"z\", \"list index 3 out of range (len 3)\"]\n");
    EXPECT_TRUE(result.machineAtRest);
    const testing::ProgramResult undefined =
        testing::runProgram("let i = 0\nfor round = 1, 2 do\n  print(missing[i])\nend\n");
    EXPECT_EQ(undefined.message, "undefined variable 'missing'");
    EXPECT_EQ(undefined.line, 3);
}

TEST(VmQuickening, GlobalContainerElementStatementsStoreAsTheSequenceWould) {
    // g[i] = v for every kind of v the fused form takes, run twice so that the
    // second pass finds the globals' addresses cached; then the errors.
    const testing::ProgramResult result = testing::runProgram("let items = [0, 0, 0, 0, 0, 0]\n"
                                                              "let names = {\"a\": 1}\n"
                                                              "let text = \"abc\"\n"
                                                              "for round = 1, 2 do\n"
                                                              "  let i = 0\n"
                                                              "  let v = [round]\n"
                                                              "  items[i] = nil\n"
                                                              "  i = 1\n"
                                                              "  items[i] = true\n"
                                                              "  i = -4\n"
                                                              "  items[i] = false\n"
                                                              "  i = 3\n"
                                                              "  items[i] = \"s\"\n"
                                                              "  i = 4\n"
                                                              "  items[i] = v\n"
                                                              "  let k = \"a\"\n"
                                                              "  names[k] = round\n"
                                                              "  k = \"b\" + str(round)\n"
                                                              "  names[k] = v\n"
                                                              "  print(items, names)\n"
                                                              "  i = 6\n"
                                                              "  try items[i] = 1 catch e print(e) end\n"
                                                              "  i = 0\n"
                                                              "  try text[i] = 1 catch e print(e) end\n"
                                                              "end\n");
    EXPECT_FALSE(result.failed) << result.message;
    EXPECT_EQ(result.output, "[nil, true, false, \"s\", [1], 0] {\"a\": 1, \"b1\": [1]}\n"
                             "list index 6 out of range (len 6)\ncannot assign into string\n"
                             "[nil, true, false, \"s\", [2], 0] {\"a\": 2, \"b1\": [1], \"b2\": [2]}\n"
                             "list index 6 out of range (len 6)\ncannot assign into string\n");
    EXPECT_TRUE(result.machineAtRest);
}

TEST(VmQuickening, GridIndexReadsAsTheSequenceWould) {
    // return grid[i][j] with all three in locals.
    auto read = [](Value grid, Value i, Value j) {
        ProtoBuilder code;
        code.constant(std::move(grid)).constant(std::move(i)).constant(std::move(j));
        code.line(7).op16(OP_GET_LOCAL, 0).op16(OP_GET_LOCAL, 1).op(OP_GET_INDEX).op16(OP_GET_LOCAL, 2);
        code.op(OP_GET_INDEX).op(OP_RETURN);
        return code.build();
    };
    const Value grid = Value::newList({Value::newList({Value(int64_t{1}), Value(int64_t{2})}), Value("ab"),
                                       Value::newList({Value(int64_t{5}), Value(int64_t{6})})});
    auto at = [](int64_t k) { return Value(k); };
    VM vm;
    EXPECT_EQ(vm.run(read(grid, at(0), at(1))).asInt(), 2);
    EXPECT_EQ(vm.run(read(grid, at(-1), at(-2))).asInt(), 5);
    EXPECT_EQ(vm.run(read(grid, at(1), at(0))).asString(), "a");  // a string row
    Value map = Value::newMap();
    map.asMap().set(Value(int64_t{0}), grid);
    EXPECT_EQ(vm.run(read(map, at(0), at(1))).asString(), "ab");  // a map of rows
    EXPECT_EQ(vm.stackSize(), 0u);
    const RuntimeError row = runExpectingError(read(grid, at(3), at(0)));
    EXPECT_EQ(row.message, "list index 3 out of range (len 3)");
    EXPECT_EQ(row.line, 7);
    EXPECT_EQ(runExpectingError(read(grid, at(2), at(2))).message, "list index 2 out of range (len 2)");
    EXPECT_EQ(runExpectingError(read(grid, at(0), Value(0.0))).message, "list index must be an integer, got number");
}

TEST(VmQuickening, ErrorsInsideFusedSequencesKeepTheFailingInstructionsLine) {
    // The local is on line 1, the constant on line 2 and the failing ADD on line 3.
    ProtoBuilder code;
    code.line(1).constant(Value("text")).op16(OP_GET_LOCAL, 0);
    code.line(2).constant(Value(int64_t{1}));
    code.line(3).op(OP_SUB).op(OP_RETURN);
    RuntimeError error = runExpectingError(code.build());
    EXPECT_EQ(error.message, "arithmetic needs numbers, got string and number");
    EXPECT_EQ(error.line, 3);
}

// Runs `source` with a budget of 100 steps; the global n afterwards.
int64_t countedUntilBudgetRunsOut(const std::string& source, EngineOptions options = EngineOptions{}) {
    const StmtList program = parseSource(source);
    Ref<FunctionProto> script = compileProgram(program);
    ExecutionLimits& limits = executionLimits();
    const ExecutionLimits saved = limits;
    limits.stepsEnabled = true;
    limits.stepsLeft = 100;
    VM vm(options);
    bool exhausted = false;
    try {
        vm.run(script);
    } catch (const BudgetExhausted&) {
        exhausted = true;
    }
    limits = saved;
    EXPECT_TRUE(exhausted) << source;
    return vm.globals->lookup("n")->asInt();
}

TEST(VmQuickening, LoopsStillCountSteps) {
    // A hundred back edges are counted; the body runs once more before the next one fails.
    EXPECT_EQ(countedUntilBudgetRunsOut("let n = 0\nfor i = 1, 1000 do n = n + 1 end\n"), 101);
    // The call of range is a step of its own.
    EXPECT_EQ(countedUntilBudgetRunsOut("let n = 0\nfor x in range(1000) do n = n + 1 end\n"), 100);
    // push(g, v) on a global list counts its call as a step, as the plain VM does.
    const std::string pushes = "let n = 0\nlet g = []\nfor i = 1, 1000 do\n push(g, i)\n n = n + 1\nend\n";
    EXPECT_EQ(countedUntilBudgetRunsOut(pushes), countedUntilBudgetRunsOut(pushes, EngineOptions{true}));
    EXPECT_EQ(countedUntilBudgetRunsOut(pushes), 50);
}

// The allocation budget left after running `source` with a large one.
uint64_t allocationLeftAfter(const std::string& source, EngineOptions options) {
    Ref<FunctionProto> script = compileProgram(parseSource(source));
    ExecutionLimits& limits = executionLimits();
    const ExecutionLimits saved = limits;
    limits.stepsEnabled = true;
    limits.stepsLeft = 1'000'000;
    limits.allocationLeft = 1'000'000;
    VM(options).run(script);
    const uint64_t left = limits.allocationLeft;
    limits = saved;
    return left;
}

TEST(VmQuickening, AForInOverAFreshListIsChargedAsItsSnapshot) {
    // The fast VM walks a list that only the loop holds where it is; the
    // budget is charged as for the plain VM's copy.
    for (const char* source : {"for w in split(\"a b c d e f g\") do end\n", "for x in [1, 2, 3, 4, 5] do end\n",
                               "let m = {a: 1, b: 2}\nfor k in keys(m) do end\n"}) {
        const uint64_t fast = allocationLeftAfter(source, EngineOptions{});
        EXPECT_EQ(fast, allocationLeftAfter(source, EngineOptions{true})) << source;
        EXPECT_LT(fast, 1'000'000u) << source;
    }
}

TEST(VmQuickening, ForInLoopSeesTheListAndPositionAsCompiled) {
    // The fused step and head run the loop to the end of its snapshot, and a
    // body that assigns its own variable does not disturb the walk.
    EXPECT_EQ(testing::runProgram("let items = [1, 2, 3]\nlet n = 0\n"
                                  "for x in items do push(items, x)\n n = n + x\n x = 100 end\n"
                                  "print(n, len(items))\n")
                  .output,
              "6 6\n");
    EXPECT_EQ(testing::runProgram("let n = 0\nfor x in [] do n = n + 1 end\n"
                                  "for c in \"abc\" do n = n + 1 end\nprint(n)\n")
                  .output,
              "3\n");
}

}  // namespace
}  // namespace velmor
