// The machine on hand-assembled prototypes: lines of errors, limits, integer
// edge cases and the Caller interface, independent of the compiler.

#include <cstdint>
#include <limits>

#include "vm_support.h"

namespace velmor {
namespace {

using testing::ProtoBuilder;

constexpr int64_t kMinInt = std::numeric_limits<int64_t>::min();
constexpr int64_t kMaxInt = std::numeric_limits<int64_t>::max();

Value evaluateBinary(Value a, Value b, OpCode op) {
    ProtoBuilder code;
    code.constant(std::move(a)).constant(std::move(b)).op(op).op(OP_RETURN);
    VM vm;
    return vm.run(code.build());
}

RuntimeError runExpectingError(Ref<FunctionProto> proto) {
    VM vm;
    try {
        vm.run(std::move(proto));
    } catch (const RuntimeError& error) {
        EXPECT_EQ(vm.stackSize(), 0u);
        EXPECT_EQ(vm.frameCount(), 0u);
        return error;
    }
    ADD_FAILURE() << "the program ran to its end";
    return RuntimeError("");
}

TEST(VmIntegers, MostNegativeDividedByMinusOneWraps) {
    Value quotient = evaluateBinary(Value(kMinInt), Value(int64_t{-1}), OP_FLOOR_DIV);
    ASSERT_TRUE(quotient.isInt());
    EXPECT_EQ(quotient.asInt(), kMinInt);
    Value rest = evaluateBinary(Value(kMinInt), Value(int64_t{-1}), OP_MOD);
    ASSERT_TRUE(rest.isInt());
    EXPECT_EQ(rest.asInt(), 0);
}

TEST(VmIntegers, ArithmeticWrapsWithoutTrapping) {
    EXPECT_EQ(evaluateBinary(Value(kMaxInt), Value(int64_t{1}), OP_ADD).asInt(), kMinInt);
    EXPECT_EQ(evaluateBinary(Value(kMinInt), Value(int64_t{1}), OP_SUB).asInt(), kMaxInt);
    EXPECT_EQ(evaluateBinary(Value(kMinInt), Value(int64_t{-1}), OP_MUL).asInt(), kMinInt);
    EXPECT_EQ(evaluateBinary(Value(int64_t{2}), Value(int64_t{63}), OP_POW).asInt(), kMinInt);
    EXPECT_EQ(evaluateBinary(Value(int64_t{2}), Value(int64_t{64}), OP_POW).asInt(), 0);

    ProtoBuilder negate;
    negate.constant(Value(kMinInt)).op(OP_NEGATE).op(OP_RETURN);
    VM vm;
    EXPECT_EQ(vm.run(negate.build()).asInt(), kMinInt);
}

TEST(VmIntegers, PowerMatchesRepeatedMultiplication) {
    // 3^41 overflows; the wrapped product of 41 factors is what the language defines.
    uint64_t expected = 1;
    for (int i = 0; i < 41; ++i) expected *= 3;
    EXPECT_EQ(evaluateBinary(Value(int64_t{3}), Value(int64_t{41}), OP_POW).asInt(), static_cast<int64_t>(expected));
    // A huge exponent must not take a number of steps that grows with it.
    EXPECT_EQ(evaluateBinary(Value(int64_t{1}), Value(kMaxInt), OP_POW).asInt(), 1);
    EXPECT_EQ(evaluateBinary(Value(int64_t{-1}), Value(kMaxInt), OP_POW).asInt(), -1);
    Value negative = evaluateBinary(Value(int64_t{2}), Value(int64_t{-1}), OP_POW);
    ASSERT_TRUE(negative.isFloat());
    EXPECT_EQ(negative.asFloat(), 0.5);
}

TEST(VmIntegers, FloorDivisionAndRemainderSigns) {
    EXPECT_EQ(evaluateBinary(Value(int64_t{-7}), Value(int64_t{2}), OP_FLOOR_DIV).asInt(), -4);
    EXPECT_EQ(evaluateBinary(Value(int64_t{7}), Value(int64_t{-2}), OP_FLOOR_DIV).asInt(), -4);
    EXPECT_EQ(evaluateBinary(Value(int64_t{-7}), Value(int64_t{3}), OP_MOD).asInt(), -1);
    EXPECT_EQ(evaluateBinary(Value(int64_t{7}), Value(int64_t{-3}), OP_MOD).asInt(), 1);
    Value mixed = evaluateBinary(Value(7.5), Value(int64_t{2}), OP_FLOOR_DIV);
    ASSERT_TRUE(mixed.isFloat());
    EXPECT_EQ(mixed.asFloat(), 3.0);
}

TEST(VmLimits, StackOverflowHasLineZero) {
    // nil pushed forever: OP_NIL, then OP_LOOP back over four bytes.
    ProtoBuilder code;
    code.line(5).op(OP_NIL).op16(OP_LOOP, 4);
    RuntimeError error = runExpectingError(code.build());
    EXPECT_EQ(error.message, "stack overflow");
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.column, 0);
}

TEST(VmLimits, OverflowInACalleeIsCaughtByTheCallersHandler) {
    // The callee pushes nil until the stack is full; the handler gets the message on a cut-back stack.
    ProtoBuilder code;
    code.op(OP_NIL).op16(OP_LOOP, 4);
    Ref<FunctionProto> filler = code.build();
    // Top-level: try (handler returns the caught value) { call filler }.
    ProtoBuilder script;
    script.op16(OP_TRY, 6);      // handler at offset 9
    script.op16(OP_CLOSURE, 0);  // 3
    script.op8(OP_CALL, 0);      // 6
    script.op(OP_POP);           // 8
    script.op(OP_RETURN);        // 9: handler returns the caught message
    Ref<FunctionProto> proto = script.build();
    proto->protos.push_back(filler);
    VM vm;
    Value caught = vm.run(proto);
    ASSERT_TRUE(caught.isString());
    EXPECT_EQ(caught.asString(), "stack overflow");
    EXPECT_EQ(vm.stackSize(), 0u);
    EXPECT_EQ(vm.frameCount(), 0u);
}

TEST(VmLimits, HandlerInstalledOnAFullStackCannotTakeTheError) {
    // The script's closure fills slot 0; 65,535 nils fill the rest before the try.
    ProtoBuilder code;
    for (std::size_t i = 1; i < VM::kStackSize; ++i) code.op(OP_NIL);
    code.op16(OP_TRY, 1).op(OP_NIL).op(OP_RETURN);
    RuntimeError error = runExpectingError(code.build());
    EXPECT_EQ(error.message, "stack overflow");
    EXPECT_EQ(error.line, 0);
}

TEST(VmErrors, CarryTheInstructionLineAndNoColumn) {
    ProtoBuilder code;
    code.line(3).op(OP_NIL).line(7).op(OP_NEGATE).op(OP_RETURN);
    RuntimeError error = runExpectingError(code.build());
    EXPECT_EQ(error.message, "unary '-': expected a number, got nil");
    EXPECT_EQ(error.line, 7);
    EXPECT_EQ(error.column, 0);

    ProtoBuilder global;
    global.line(9);
    global.build()->constants.push_back(Value("missing"));
    global.op16(OP_GET_GLOBAL, 0).op(OP_RETURN);
    error = runExpectingError(global.build());
    EXPECT_EQ(error.message, "undefined variable 'missing'");
    EXPECT_EQ(error.line, 9);
}

TEST(VmErrors, NativeArityErrorAtTheCallLine) {
    ProtoBuilder code;
    code.build()->constants.push_back(Value("len"));
    code.line(2).op16(OP_GET_GLOBAL, 0).line(4).op8(OP_CALL, 0).op(OP_RETURN);
    RuntimeError error = runExpectingError(code.build());
    EXPECT_EQ(error.message, "len() expects 1 argument(s), got 0");
    EXPECT_EQ(error.line, 4);
}

TEST(VmErrors, UnknownOpcodeIsAnErrorNotACrash) {
    ProtoBuilder code;
    code.line(2).byte(200);
    RuntimeError error = runExpectingError(code.build());
    EXPECT_EQ(error.message, "unknown opcode 200");
    EXPECT_EQ(error.line, 2);
}

TEST(VmRun, ReturnsWhatTheTopLevelReturnedAndHaltGivesNil) {
    ProtoBuilder code;
    code.constant(Value(int64_t{42})).op(OP_RETURN);
    VM vm;
    Value result = vm.run(code.build());
    ASSERT_TRUE(result.isInt());
    EXPECT_EQ(result.asInt(), 42);
    EXPECT_EQ(vm.stackSize(), 0u);
    EXPECT_EQ(vm.frameCount(), 0u);

    ProtoBuilder halting;
    halting.constant(Value(int64_t{1})).op(OP_HALT);
    VM other;
    EXPECT_TRUE(other.run(halting.build()).isNil());
    EXPECT_EQ(other.stackSize(), 0u);
    EXPECT_EQ(other.frameCount(), 0u);
}

TEST(VmRun, HaltInsideACallbackEndsOnlyThatCall) {
    // A function that halts with a value still on its stack, called through `call`.
    ProtoBuilder body("halter");
    body.constant(Value(int64_t{7})).op(OP_HALT);
    Value halter(makeRef<VMClosure>(body.build()));
    VM vm;
    EXPECT_TRUE(vm.call(halter, {}).isNil());
    EXPECT_EQ(vm.stackSize(), 0u);
    EXPECT_EQ(vm.frameCount(), 0u);
    Value length = vm.call(*vm.globals->lookup("len"), {Value("ab")});
    EXPECT_EQ(length.asInt(), 2);
}

TEST(VmRun, HandlerCatchesAndGetsTheMessage) {
    ProtoBuilder code;
    code.op16(OP_TRY, 2);           // handler at offset 5
    code.op(OP_NIL).op(OP_NEGATE);  // 3, 4: fails
    code.op(OP_RETURN);             // 5: return the caught value
    VM vm;
    Value caught = vm.run(code.build());
    ASSERT_TRUE(caught.isString());
    EXPECT_EQ(caught.asString(), "unary '-': expected a number, got nil");
    EXPECT_EQ(vm.handlerCount(), 0u);
}

TEST(VmCaller, CallReportsProblemsWithLineZero) {
    VM vm;
    try {
        vm.call(Value(int64_t{3}), {});
        ADD_FAILURE() << "calling a number succeeded";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "number is not callable");
        EXPECT_EQ(error.line, 0);
    }
    EXPECT_EQ(vm.stackSize(), 0u);

    ProtoBuilder body("twice");
    body.op16(OP_GET_LOCAL, 0).constant(Value(int64_t{2})).op(OP_MUL).op(OP_RETURN);
    Ref<FunctionProto> twice = body.build();
    twice->arity = 1;
    Value closure(makeRef<VMClosure>(twice));
    try {
        vm.call(closure, {});
        ADD_FAILURE() << "calling with a missing argument succeeded";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.message, "twice() expects 1 argument(s), got 0");
        EXPECT_EQ(error.line, 0);
    }
    EXPECT_EQ(vm.stackSize(), 0u);
    EXPECT_EQ(vm.frameCount(), 0u);

    Value result = vm.call(closure, {Value(int64_t{21})});
    EXPECT_EQ(result.asInt(), 42);
    Value length = vm.call(*vm.globals->lookup("len"), {Value("abc")});
    EXPECT_EQ(length.asInt(), 3);
    EXPECT_EQ(vm.stackSize(), 0u);
}

}  // namespace
}  // namespace velmor
